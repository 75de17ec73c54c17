#pragma once
// One of the song's 64 channel settings (and the engine's live copies).

#include "model/song/channel_effect_slot.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

class TesselMemoryFile;
struct TesselElement;

constexpr int kChannelNameSize = 15;     // 14 characters and the terminator
constexpr int kPreviewChannel = 64;

class TesselMidiOut;   // the engine's MIDI output

class TesselChannel {
public:
    TesselChannel() { reset(); }
    TesselChannel(const TesselChannel&) = delete;
    TesselChannel& operator=(const TesselChannel&) = delete;

    // The defaults; the name follows the current index.
    void reset();
    // Every setting and the MIDI output; each effect slot takes only its stored fields.
    void assign(const TesselChannel& other);
    // Store v clamped to 0..64 and return it.
    int32_t setVolume(int32_t v);
    int32_t setPanning(int32_t v);
    void setName(const char* text);   // cut to 14 characters
    std::string nameText() const { return name; }

    // Document markup: a self-contained "channel" element.
    void writeXml(FILE* file) const;
    // Reads "index" (outside 0..63 it becomes -1), resets, then the settings;
    // false when an open element's input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);

    int32_t index = kPreviewChannel;
    int32_t panning = 32;
    int32_t volume = 64;
    int32_t cutoff = 127;
    int32_t resonance = 0;
    uint8_t mute = 0;
    uint8_t solo = 0;
    char name[kChannelNameSize] = {};
    uint32_t colour = 0xFFFFFF;
    // Working values of the replay; not stored in files.
    int32_t outputBus = 1;
    int32_t unused = 0;
    int32_t depth = 0;
    int32_t rotation = 0;
    int32_t highOffset = 0;   // SAx
    TesselMidiOut* midiOut = nullptr;
    // Slot 0 for the key map's effect cell, slot 1 for the row's.
    std::array<TesselEffectSlot, 2> effectSlots;
};
