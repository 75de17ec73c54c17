#pragma once
// One key press or release as the editor sees it, and its shortcut text.

#include <cstdint>
#include <string>

constexpr uint8_t kNoPrintable = 255;

enum TesselModifier : uint8_t {
    kModShift = 1,
    kModAlt = 2,
    kModCtrl = 8,
};

// Virtual keys we name in tables; the rest follow the VST 2 numbering 1..57
// plus our 58 (Caps Lock) and 59 (Menu Key).
enum TesselVirtualKey : uint8_t {
    kVkBack = 1,
    kVkBackspace = kVkBack,
    kVkTab = 2,
    kVkReturn = 4,
    kVkEscape = 6,
    kVkSpace = 7,
    kVkNext = 8,
    kVkEnd = 9,
    kVkHome = 10,
    kVkLeft = 11,
    kVkUp = 12,
    kVkRight = 13,
    kVkDown = 14,
    kVkPageUp = 15,
    kVkPageDown = 16,
    kVkEnter = 19,
    kVkInsert = 21,
    kVkDelete = 22,
    kVkPad0 = 24,
    kVkPad9 = 33,
    kVkMultiply = 34,
    kVkAdd = 35,
    kVkSubtract = 37,
    kVkDivide = 39,
    kVkF1 = 40,
    kVkF2 = 41,
    kVkF4 = 43,
    kVkF8 = 47,
    kVkF11 = 50,
    kVkF12 = 51,
    kVkShift = 54,
    kVkControl = 55,
    kVkAlt = 56,
    kVkEquals = 57,
    kVkCapsLock = 58,
    kVkMenuKey = 59,
};
constexpr int kVirtualKeyNames = 60;

struct TesselKeyEvent {
    int32_t character = 0;      // lower case for letters; 0 for a named key
    uint8_t virtualKey = 0;
    uint8_t modifiers = 0;      // TesselModifier bits; 4 is carried but unnamed
    uint8_t reserved[2] = {0, 0};
    uint8_t printable = 0;      // the character produced with the modifiers; 255 none
    uint8_t keyUp = 0;
    int16_t pressCount = 0;     // 0 first press, 1 second press in a row, ...

    // Whether this event triggers a binding with key `other`; press count and
    // release take no part.
    bool matches(const TesselKeyEvent& other) const;

    // The shortcut text, at most 31 characters.
    std::string toString(bool forceKeyForm = false, bool omitPressCount = false) const;

    // The key that shortcut text names; unknown key names leave the key empty.
    static TesselKeyEvent parse(const char* text, int pressCount);

    bool isNone() const;
    bool operator==(const TesselKeyEvent&) const = default;
};
static_assert(sizeof(TesselKeyEvent) == 12);

// "" for 0 and for keys past the table.
const char* keyName(int virtualKey);
// The prefix for modifier bits 0..15.
const char* modifierPrefix(int modifiers);
std::string charToString(int character);

// Builders for tables and tests.
constexpr TesselKeyEvent namedKey(uint8_t virtualKey, uint8_t modifiers = 0, int16_t pressCount = 0)
{
    return {0, virtualKey, modifiers, {0, 0}, kNoPrintable, 0, pressCount};
}
constexpr TesselKeyEvent charKey(int32_t character, uint8_t modifiers = 0, int16_t pressCount = 0)
{
    return {character, 0, modifiers, {0, 0}, kNoPrintable, 0, pressCount};
}
// Matched by the character produced, whatever the modifiers.
constexpr TesselKeyEvent printableKey(uint8_t character)
{
    return {character, 0, 0, {0, 0}, character, 0, 0};
}
