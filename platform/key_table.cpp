#include "platform/key_table.h"

#include <array>

namespace platform {

namespace {

using Table = std::array<KeyTableRow, 256>;

constexpr void set(Table& table, int key, uint8_t vst, uint8_t plain = 0, uint8_t shifted = 0)
{
    table[key] = KeyTableRow{vst, plain, shifted};
}

constexpr Table buildTable()
{
    Table t{};
    set(t, kWinBack, 1, 8, 8);
    set(t, kWinTab, 2, 9, 9);
    set(t, kWinReturn, 4, 13, 13);
    set(t, kWinPause, 5);
    set(t, kWinEscape, 6, 27, 27);
    set(t, kWinSpace, 7, ' ', ' ');
    set(t, kWinPrior, 15);
    set(t, kWinNext, 16);
    set(t, kWinEnd, 9);
    set(t, kWinHome, 10);
    set(t, kWinLeft, 11);
    set(t, kWinUp, 12);
    set(t, kWinRight, 13);
    set(t, kWinDown, 14);
    set(t, kWinInsert, 21);
    set(t, kWinDelete, 22);
    for (int i = 0; i < 10; ++i)
        set(t, kWinNumpad0 + i, static_cast<uint8_t>(24 + i), static_cast<uint8_t>('0' + i), static_cast<uint8_t>('0' + i));
    set(t, kWinMultiply, 34, '*', '*');
    set(t, kWinAdd, 35, '+', '+');
    set(t, kWinSubtract, 37, '-', '-');
    set(t, kWinDecimal, 38, ',', ',');
    set(t, kWinDivide, 39, '/', '/');
    for (int i = 0; i < 12; ++i)
        set(t, kWinF1 + i, static_cast<uint8_t>(40 + i));
    set(t, kWinNumLock, 52);
    set(t, kWinScroll, 53);
    set(t, kWinShift, 54);
    set(t, kWinControl, 55);
    set(t, kWinMenu, 56);
    set(t, kWinCapital, 58);
    set(t, kWinApps, 59);

    const char* const shiftedDigits = ")!\"\xA3$%^&*(";
    for (int i = 0; i < 10; ++i)
        set(t, '0' + i, 0, static_cast<uint8_t>('0' + i), static_cast<uint8_t>(shiftedDigits[i]));
    for (int i = 0; i < 26; ++i)
        set(t, 'A' + i, 0, static_cast<uint8_t>('a' + i), static_cast<uint8_t>('A' + i));
    set(t, kWinOem1, 0, ';', ':');
    set(t, kWinOemPlus, 0, '=', '+');
    set(t, kWinOemComma, 0, ',', '<');
    set(t, kWinOemMinus, 0, '-', '_');
    set(t, kWinOemPeriod, 0, '.', '>');
    set(t, kWinOem2, 0, '/', '?');
    set(t, kWinOem3, 0, '\'', '@');
    set(t, kWinOem4, 0, '[', '{');
    set(t, kWinOem5, 0, '\\', '|');
    set(t, kWinOem6, 0, ']', '}');
    set(t, kWinOem7, 0, '#', '~');
    set(t, kWinOem8, 0, '`', 0xAC);
    return t;
}

constexpr Table kTable = buildTable();

bool isLetter(uint8_t key)
{
    return key >= 'A' && key <= 'Z';
}

// Windows gives control codes for a few keys only.
uint8_t controlCode(uint8_t key, bool shift)
{
    if (isLetter(key))
        return static_cast<uint8_t>(key - 'A' + 1);
    switch (key) {
    case kWinOem4: return shift ? 0 : 27;
    case kWinOem5: return shift ? 0 : 28;
    case kWinOem6: return shift ? 0 : 29;
    case kWinBack: return 127;
    case kWinReturn: return 10;
    case kWinEscape: return 27;
    case kWinSpace: return ' ';
    default: return 0;
    }
}

} // namespace

const KeyTableRow& keyTableRow(uint8_t windowsKey)
{
    return kTable[windowsKey];
}

uint8_t genericKey(uint8_t windowsKey)
{
    switch (windowsKey) {
    case kWinLShift:
    case kWinRShift: return kWinShift;
    case kWinLControl:
    case kWinRControl: return kWinControl;
    case kWinLMenu:
    case kWinRMenu: return kWinMenu;
    default: return windowsKey;
    }
}

uint8_t keypadWithoutNumLock(uint8_t windowsKey)
{
    static constexpr uint8_t kNavigation[10] = {
        kWinInsert, kWinEnd, kWinDown, kWinNext, kWinLeft, kWinClear, kWinRight, kWinHome, kWinUp, kWinPrior,
    };
    if (windowsKey >= kWinNumpad0 && windowsKey < kWinNumpad0 + 10)
        return kNavigation[windowsKey - kWinNumpad0];
    return windowsKey == kWinDecimal ? uint8_t{kWinDelete} : windowsKey;
}

uint8_t translateKey(uint8_t windowsKey, const KeyboardState& state)
{
    if (state.control)
        return state.alt ? 0 : controlCode(windowsKey, state.shift);
    const KeyTableRow& row = kTable[windowsKey];
    const bool shifted = isLetter(windowsKey) ? state.shift != state.capsLock : state.shift;
    return shifted ? row.shifted : row.plain;
}

TesselKeyEvent keyEventFor(const KeyMessage& message, const KeyboardState& held)
{
    TesselKeyEvent event;
    event.virtualKey = kTable[message.windowsKey].vstKey;
    event.modifiers = static_cast<uint8_t>((held.shift ? kModShift : 0) | (held.alt ? kModAlt : 0)
                                           | (held.control ? kModCtrl : 0));
    event.character = message.character;
    event.printable = message.printable == 127 ? 0 : message.printable;
    event.keyUp = message.up ? 1 : 0;
    event.pressCount = !message.up && message.autoRepeat ? 1 : 0;
    return event;
}

} // namespace platform
