#pragma once
// The records of the usage log. Each event is a type letter and its fields,
// stored little-endian and packed; `payload` writes them field by field, so
// the in-memory layout of these classes never reaches the file.

#include <cstdint>
#include <cstdio>
#include <string>

struct TesselKeyEvent;
struct TesselPreferences;

namespace OMBRIX {

constexpr int kLargestPayload = 120;

class _log {
public:
    virtual ~_log() = default;
    virtual int size() const = 0;
    virtual std::string text() const = 0;
    virtual int typeId() const = 0;
    // Writes exactly size() bytes, type letter first; returns the count.
    virtual int payload(uint8_t* out) const = 0;
    bool write(FILE* stream) const;
};

class iCOMMAND : public _log {
public:
    iCOMMAND(uint8_t kind = 0, int32_t v = 0) : action(kind), value(v) {}
    int size() const override { return 6; }
    std::string text() const override;
    int typeId() const override { return 15; }
    int payload(uint8_t* out) const override;

    uint8_t action;
    int32_t value;
};

class iKEYBOARD : public _log {
public:
    iKEYBOARD() = default;
    explicit iKEYBOARD(const TesselKeyEvent& key);
    int size() const override { return 7; }
    std::string text() const override;
    int typeId() const override { return 10; }
    int payload(uint8_t* out) const override;

    uint8_t character = 0, modifiers = 0, virtualKey = 0, printable = 0, keyUp = 0, pressCount = 0;
};

class iFOCUS : public _log {
public:
    iFOCUS(uint8_t p = 0, uint8_t i = 0, uint8_t s = 0) : page(p), item(i), state(s) {}
    int size() const override { return 4; }
    std::string text() const override;
    int typeId() const override { return 12; }
    int payload(uint8_t* out) const override;

    uint8_t page, item, state;
};

class iPREFS : public _log {
public:
    explicit iPREFS(const TesselPreferences& preferences);
    int size() const override { return 120; }
    std::string text() const override;
    int typeId() const override { return 7; }
    int payload(uint8_t* out) const override;

private:
    const TesselPreferences& prefs_;
};

class iDATA : public _log {
public:
    explicit iDATA(float v = 0.0f) : value(v) {}
    int size() const override { return 5; }
    std::string text() const override;
    int typeId() const override { return 13; }
    int payload(uint8_t* out) const override;

    float value;
};

class iCURSOR : public _log {
public:
    iCURSOR(int16_t px = 0, int16_t py = 0, int16_t pdx = 0, int16_t pdy = 0) : x(px), y(py), dx(pdx), dy(pdy) {}
    // A page's cursor: when any value differs from the stored ones they are
    // stored and the record goes to the usage log (when there is one). True
    // when they changed.
    bool update(int16_t px, int16_t py, int16_t pdx, int16_t pdy);
    int size() const override { return 9; }
    std::string text() const override;
    int typeId() const override { return 11; }
    int payload(uint8_t* out) const override;

    int16_t x, y, dx, dy;
};

class iMOUSE : public _log {
public:
    iMOUSE(int16_t px = 0, int16_t py = 0, uint8_t b = 0) : x(px), y(py), buttons(b) {}
    int size() const override { return 6; }
    std::string text() const override;
    int typeId() const override { return 7; }
    int payload(uint8_t* out) const override;

    int16_t x, y;
    uint8_t buttons;   // 1 left, 2 middle, 4 right, 8 shift, 16 ctrl, 32 alt
};

// "CMD_PLAYSONG" and kin; "???" outside 0..46.
const char* actionName(int kind);

// The pages' control names for focus texts; the editor installs them.
using ControlNameLookup = const char* (*)(int page, int state, int item);
void setControlNameLookup(ControlNameLookup lookup);

} // namespace OMBRIX
