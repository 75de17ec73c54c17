#include "platform/key_event.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

const char* const kPrefixes[16] = {
    "", "Shift-", "Alt-", "Alt-Shift-", "", "Shift-", "Alt-", "Alt-Shift-",
    "Ctrl-", "Ctrl-Shift-", "Ctrl-Alt-", "Ctrl-Alt-Shift-", "Ctrl-", "Ctrl-Shift-", "Ctrl-Alt-", "Ctrl-Alt-Shift-",
};

const char* const kKeyNames[kVirtualKeyNames] = {
    "", "Back", "Tab", "Clear", "Return", "Pause", "Escape", "Space", "Next", "End",
    "Home", "Left", "Up", "Right", "Down", "Page Up", "Page Down", "Select", "Print", "Enter",
    "Snapshot", "Insert", "Delete", "Help", "NumPad 0", "NumPad 1", "NumPad 2", "NumPad 3", "NumPad 4", "Numpad 5",
    "NumPad 6", "NumPad 7", "NumPad 8", "NumPad 9", "NumPad *", "NumPad +", "Separator", "NumPad -", "NumPad .",
    "NumPad /", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "Num Lock",
    "Scroll Lock", "Shift", "Ctrl", "Alt", "Equals", "Caps Lock", "Menu Key",
};

bool hasShiftedCharacter(const TesselKeyEvent& k)
{
    return k.printable != kNoPrintable && k.printable > 32 && k.printable != k.character;
}

} // namespace

const char* keyName(int virtualKey)
{
    return virtualKey > 0 && virtualKey < kVirtualKeyNames ? kKeyNames[virtualKey] : "";
}

const char* modifierPrefix(int modifiers)
{
    return kPrefixes[modifiers & 15];
}

std::string charToString(int character)
{
    return std::string(1, static_cast<char>(character));
}

bool TesselKeyEvent::matches(const TesselKeyEvent& other) const
{
    if ((hasShiftedCharacter(*this) || hasShiftedCharacter(other))
        && printable != kNoPrintable && other.printable != kNoPrintable)
        return printable == other.printable;
    if (modifiers != other.modifiers)
        return false;
    if (virtualKey == 0 && other.virtualKey == 0)
        return character == other.character;
    return virtualKey == other.virtualKey;
}

std::string TesselKeyEvent::toString(bool forceKeyForm, bool omitPressCount) const
{
    char text[32];
    if (forceKeyForm || printable == kNoPrintable || printable < 33 || printable == character) {
        if (virtualKey != 0)
            snprintf(text, sizeof text, "%s%s", modifierPrefix(modifiers), keyName(virtualKey));
        else
            snprintf(text, sizeof text, "%s%c", modifierPrefix(modifiers), static_cast<char>(character));
    } else {
        snprintf(text, sizeof text, "%c", static_cast<char>(printable));
    }
    std::string result(text);
    if (!omitPressCount && pressCount != 0) {
        snprintf(text, sizeof text, " x %d", pressCount + 1);
        result += text;
    }
    return result.substr(0, 31);
}

TesselKeyEvent TesselKeyEvent::parse(const char* text, int pressCount)
{
    TesselKeyEvent key;
    key.pressCount = static_cast<int16_t>(pressCount);
    if (!text)
        return key;
    size_t prefixLength = 0;
    for (int i = 1; i < 16; ++i) {
        const size_t length = strlen(kPrefixes[i]);
        if (length > prefixLength && strncasecmp(text, kPrefixes[i], length) == 0) {
            prefixLength = length;
            key.modifiers = static_cast<uint8_t>(i);
        }
    }
    const char* rest = text + prefixLength;
    const size_t restLength = strlen(rest);
    if (restLength > 1) {
        size_t nameLength = 0;
        for (int v = 1; v < kVirtualKeyNames; ++v) {
            const size_t length = strlen(kKeyNames[v]);
            if (length > nameLength && strncmp(rest, kKeyNames[v], length) == 0) {
                nameLength = length;
                key.virtualKey = static_cast<uint8_t>(v);
            }
        }
    } else if (restLength == 1) {
        key.character = static_cast<unsigned char>(rest[0]);
        key.printable = static_cast<unsigned char>(rest[0]);
    }
    return key;
}

bool TesselKeyEvent::isNone() const
{
    return *this == TesselKeyEvent{};
}
