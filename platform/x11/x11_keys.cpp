#include "platform/x11/x11_keys.h"

#include "platform/key_table.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>
#include <string_view>

namespace platform::x11 {

namespace {

struct NamedKey {
    const char* name;
    uint8_t key;
};

// XKB's key names (the places of a PC keyboard) and the virtual keys a UK
// layout gives them. Modifier keys arrive as the generic ones, as Windows'
// key messages have them.
constexpr NamedKey kNamedKeys[] = {
    {"ESC", kWinEscape}, {"TLDE", kWinOem8}, {"AE11", kWinOemMinus}, {"AE12", kWinOemPlus},
    {"BKSP", kWinBack}, {"TAB", kWinTab}, {"AD11", kWinOem4}, {"AD12", kWinOem6}, {"RTRN", kWinReturn},
    {"CAPS", kWinCapital}, {"AC10", kWinOem1}, {"AC11", kWinOem3}, {"BKSL", kWinOem7}, {"AC12", kWinOem7},
    {"LFSH", kWinShift}, {"LSGT", kWinOem5}, {"AB08", kWinOemComma}, {"AB09", kWinOemPeriod},
    {"AB10", kWinOem2}, {"RTSH", kWinShift}, {"LCTL", kWinControl}, {"RCTL", kWinControl},
    {"LALT", kWinMenu}, {"RALT", kWinMenu}, {"SPCE", kWinSpace}, {"LWIN", 0x5B}, {"RWIN", 0x5C},
    {"COMP", kWinApps}, {"MENU", kWinApps}, {"PRSC", 0x2C}, {"SCLK", kWinScroll}, {"PAUS", kWinPause},
    {"INS", kWinInsert}, {"HOME", kWinHome}, {"PGUP", kWinPrior}, {"DELE", kWinDelete}, {"END", kWinEnd},
    {"PGDN", kWinNext}, {"UP", kWinUp}, {"LEFT", kWinLeft}, {"DOWN", kWinDown}, {"RGHT", kWinRight},
    {"NMLK", kWinNumLock}, {"KPDV", kWinDivide}, {"KPMU", kWinMultiply}, {"KPSU", kWinSubtract},
    {"KPAD", kWinAdd}, {"KPEN", kWinReturn},
};

// The letter rows of a UK (QWERTY) keyboard, by XKB row.
constexpr std::string_view kRowD = "QWERTYUIOP";
constexpr std::string_view kRowC = "ASDFGHJKL";
constexpr std::string_view kRowB = "ZXCVBNM";
constexpr std::string_view kRowE = "1234567890";

uint8_t keyOfName(std::string_view name)
{
    // "AD01" ... : row letter, then a two-digit place counted from 1.
    if (name.size() == 4 && name[0] == 'A' && name[2] >= '0' && name[2] <= '9' && name[3] >= '0' && name[3] <= '9') {
        const size_t place = static_cast<size_t>((name[2] - '0') * 10 + (name[3] - '0')) - 1;
        const std::string_view row = name[1] == 'D' ? kRowD : name[1] == 'C' ? kRowC : name[1] == 'B' ? kRowB
                                   : name[1] == 'E' ? kRowE : std::string_view();
        if (place < row.size())
            return static_cast<uint8_t>(row[place]);
    }
    if (name.size() == 4 && name[0] == 'F' && name[1] == 'K') {
        const int n = (name[2] - '0') * 10 + (name[3] - '0');
        if (n >= 1 && n <= 24)
            return static_cast<uint8_t>(kWinF1 + n - 1);
    }
    for (const NamedKey& named : kNamedKeys)
        if (name == named.name)
            return named.key;
    return 0;
}

uint8_t keypadKeyOfKeysym(KeySym sym)
{
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return static_cast<uint8_t>(kWinNumpad0 + (sym - XK_KP_0));
    switch (sym) {
    case XK_KP_Decimal:
    case XK_KP_Separator: return kWinDecimal;
    case XK_KP_Insert: return kWinInsert;
    case XK_KP_End: return kWinEnd;
    case XK_KP_Down: return kWinDown;
    case XK_KP_Next: return kWinNext;
    case XK_KP_Left: return kWinLeft;
    case XK_KP_Begin: return kWinClear;
    case XK_KP_Right: return kWinRight;
    case XK_KP_Home: return kWinHome;
    case XK_KP_Up: return kWinUp;
    case XK_KP_Prior: return kWinPrior;
    case XK_KP_Delete: return kWinDelete;
    case XK_KP_Divide: return kWinDivide;
    case XK_KP_Multiply: return kWinMultiply;
    case XK_KP_Subtract: return kWinSubtract;
    case XK_KP_Add: return kWinAdd;
    case XK_KP_Enter: return kWinReturn;
    default: return 0;
    }
}

} // namespace

Keyboard::Keyboard(Display* display) : display_(display)
{
    reload();
}

void Keyboard::reload()
{
    byName_.fill(0);
    keypad_.fill(false);
    XkbDescPtr description = XkbGetMap(display_, 0, XkbUseCoreKbd);
    if (description) {
        if (XkbGetNames(display_, XkbKeyNamesMask, description) == Success && description->names
            && description->names->keys) {
            for (int code = description->min_key_code; code <= description->max_key_code && code < 256; ++code) {
                const char* raw = description->names->keys[code].name;
                const std::string_view name(raw, strnlen(raw, XkbKeyNameLength));
                byName_[static_cast<size_t>(code)] = keyOfName(name);
                keypad_[static_cast<size_t>(code)] = name.size() > 2 && name.substr(0, 2) == "KP";
            }
        }
        XkbFreeKeyboard(description, 0, True);
    }
    const unsigned int mask = XkbKeysymToModifiers(display_, XK_Num_Lock);
    numLockMask_ = mask ? mask : Mod2Mask;
}

uint8_t Keyboard::windowsKey(unsigned int keycode, unsigned int state) const
{
    if (keycode >= 256)
        return 0;
    if (keypad_[keycode]) {
        KeySym sym = NoSymbol;
        unsigned int consumed = 0;
        if (XkbLookupKeySym(display_, static_cast<KeyCode>(keycode), state, &consumed, &sym) && sym != NoSymbol)
            if (const uint8_t key = keypadKeyOfKeysym(sym))
                return key;
    }
    return byName_[keycode];
}

unsigned int Keyboard::keycodeOf(uint8_t windowsKey) const
{
    for (unsigned int code = 8; code < 256; ++code)
        if (this->windowsKey(code, numLockMask_) == windowsKey)
            return code;
    return 0;
}

Keyboard::Characters Keyboard::characters(const XKeyEvent& event)
{
    Characters out;
    XKeyEvent copy = event;
    char text[8];
    KeySym sym = NoSymbol;
    if (XLookupString(&copy, text, sizeof text, &sym, nullptr) > 0)
        out.printable = static_cast<uint8_t>(text[0]);
    copy.state &= ~static_cast<unsigned int>(ShiftMask | ControlMask | Mod1Mask | Mod5Mask);
    if (XLookupString(&copy, text, sizeof text, &sym, nullptr) > 0)
        out.plain = static_cast<uint8_t>(text[0]);
    // Windows' Delete keys give no character; X gives 127.
    if (sym == XK_Delete || sym == XK_KP_Delete)
        out = Characters{};
    // Nor does Control with Alt, where X still makes a control code.
    if ((event.state & ControlMask) && (event.state & Mod1Mask))
        out.printable = 0;
    return out;
}

} // namespace platform::x11
