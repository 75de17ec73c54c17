#pragma once
// X keys as Windows virtual keys. A key is known by its XKB name, which is
// its place on the keyboard, so the editor's key tables (written for a UK
// layout) hold whatever layout the user has; punctuation takes the UK
// layout's virtual keys. Keypad keys go by their keysym, which follows Num
// Lock as Windows' keypad does. Characters come from XLookupString as
// Latin-1.

#include <X11/Xlib.h>

#include <array>
#include <cstdint>

namespace platform::x11 {

class Keyboard {
public:
    explicit Keyboard(Display* display);

    // Reads the key names and the modifier map again (after a mapping change).
    void reload();

    // The virtual key of a key event's keycode in its state; 0 for none.
    uint8_t windowsKey(unsigned int keycode, unsigned int state) const;
    // A keycode that gives the virtual key (keypad digits with Num Lock on);
    // 0 when the keyboard has none.
    unsigned int keycodeOf(uint8_t windowsKey) const;

    // The modifier bit that Num Lock sets.
    unsigned int numLockMask() const { return numLockMask_; }

    // The character with the event's real state and the one with Shift,
    // Control, Alt and AltGr cleared (Caps Lock kept); 0 for none.
    struct Characters {
        uint8_t printable = 0;
        uint8_t plain = 0;
    };
    static Characters characters(const XKeyEvent& event);

private:
    Display* display_;
    std::array<uint8_t, 256> byName_{};
    std::array<bool, 256> keypad_{};
    unsigned int numLockMask_ = Mod2Mask;
};

} // namespace platform::x11
