#pragma once
// Keys by their Windows virtual-key numbers, which every backend produces so
// that the key tables of the editor stay literal: the VST 2 key code of each,
// the characters of a UK layout, and the translation of a key message into
// the editor's TesselKeyEvent.

#include "platform/key_event.h"

#include <cstdint>

namespace platform {

// Windows virtual-key numbers the code names; letters and digits are their
// upper-case ASCII codes.
enum WindowsKey : uint8_t {
    kWinBack = 0x08,
    kWinTab = 0x09,
    kWinClear = 0x0C,
    kWinReturn = 0x0D,
    kWinShift = 0x10,
    kWinControl = 0x11,
    kWinMenu = 0x12,   // Alt
    kWinPause = 0x13,
    kWinCapital = 0x14,
    kWinEscape = 0x1B,
    kWinSpace = 0x20,
    kWinPrior = 0x21,
    kWinNext = 0x22,
    kWinEnd = 0x23,
    kWinHome = 0x24,
    kWinLeft = 0x25,
    kWinUp = 0x26,
    kWinRight = 0x27,
    kWinDown = 0x28,
    kWinInsert = 0x2D,
    kWinDelete = 0x2E,
    kWinApps = 0x5D,
    kWinNumpad0 = 0x60,
    kWinMultiply = 0x6A,
    kWinAdd = 0x6B,
    kWinSeparator = 0x6C,
    kWinSubtract = 0x6D,
    kWinDecimal = 0x6E,
    kWinDivide = 0x6F,
    kWinF1 = 0x70,
    kWinF12 = 0x7B,
    kWinNumLock = 0x90,
    kWinScroll = 0x91,
    kWinLShift = 0xA0,
    kWinRShift = 0xA1,
    kWinLControl = 0xA2,
    kWinRControl = 0xA3,
    kWinLMenu = 0xA4,
    kWinRMenu = 0xA5,
    kWinOem1 = 0xBA,       // ; :
    kWinOemPlus = 0xBB,    // = +
    kWinOemComma = 0xBC,   // , <
    kWinOemMinus = 0xBD,   // - _
    kWinOemPeriod = 0xBE,  // . >
    kWinOem2 = 0xBF,       // / ?
    kWinOem3 = 0xC0,       // ' @
    kWinOem4 = 0xDB,       // [ {
    kWinOem5 = 0xDC,       // \ |
    kWinOem6 = 0xDD,       // ] }
    kWinOem7 = 0xDE,       // # ~
    kWinOem8 = 0xDF,       // ` (not sign)
};

struct KeyTableRow {
    uint8_t vstKey = 0;    // 0: the key has no VST 2 code
    uint8_t plain = 0;     // UK layout, Windows-1252; 0 none
    uint8_t shifted = 0;
};

const KeyTableRow& keyTableRow(uint8_t windowsKey);

// The generic key of a left or right modifier key (kWinLShift gives kWinShift).
uint8_t genericKey(uint8_t windowsKey);

// What a keypad key sends with Num Lock off (keypad 7 is Home), as Windows
// does; other keys are returned unchanged.
uint8_t keypadWithoutNumLock(uint8_t windowsKey);

// The modifier and toggle keys a translation looks at.
struct KeyboardState {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool capsLock = false;   // toggled on
    bool numLock = false;
};

// The character the UK layout gives for the key, as Windows' ToAscii would:
// Caps Lock shifts letters only, Control makes control codes (Ctrl+A is 1,
// Ctrl+Backspace 127, Ctrl+Return 10); Control with Alt gives nothing.
// 0 when the key gives no character.
uint8_t translateKey(uint8_t windowsKey, const KeyboardState& state);

// One key message of a window.
struct KeyMessage {
    uint8_t windowsKey = 0;
    bool up = false;
    uint16_t repeatCount = 1;   // presses folded into this message
    bool autoRepeat = false;    // the key was already down
    uint8_t character = 0;      // translated with Shift, Control and Alt cleared
    uint8_t printable = 0;      // translated with the real state
    bool sent = false;          // handed over by a program (forwardKey), not typed
};

// The editor's event for a key message with the modifiers held: the VST key
// from the table, modifiers 1 Shift, 2 Alt, 8 Control (the key itself
// included), printable 127 made 0, press count 1 marking an auto-repeated
// key down.
TesselKeyEvent keyEventFor(const KeyMessage& message, const KeyboardState& held);

} // namespace platform
