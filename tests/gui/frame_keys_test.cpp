#include "gui_fixture.h"

namespace {

using namespace platform;

// One injected key: Windows key, down, repeat count, auto-repeat.
struct Stroke {
    uint8_t key;
    bool down;
    uint16_t repeat = 1;
    bool autoRepeat = false;
};

Stroke down(uint8_t key)
{
    return {key, true};
}

Stroke up(uint8_t key)
{
    return {key, false};
}

// character, VST key, modifiers, printable, key up, press count
TesselKeyEvent event(int32_t character, uint8_t vst, uint8_t modifiers, uint8_t printable, bool keyUp = false,
                     int16_t pressCount = 0)
{
    return {character, vst, modifiers, {0, 0}, printable, static_cast<uint8_t>(keyUp ? 1 : 0), pressCount};
}

struct KeyCase {
    const char* name;
    bool capsLock;
    bool numLock;
    bool manualKeyMode;
    std::vector<Stroke> strokes;
    std::vector<TesselKeyEvent> expected;
};

class FrameKeysTest : public GuiTest {};

TEST_F(FrameKeysTest, InjectedKeysBecomeTheEditorsEvents)
{
    const uint8_t keypad7 = kWinNumpad0 + 7;
    const KeyCase cases[] = {
        {"Shift alone: the key's own modifier, none on release", false, false, false,
         {down(kWinLShift), up(kWinLShift)},
         {event(0, 54, 1, 0), event(0, 54, 0, 0, true)}},
        {"Ctrl+A: the plain letter and a control code", false, false, false,
         {down(kWinControl), down('A'), up('A'), up(kWinControl)},
         {event(0, 55, 8, 0), event('a', 0, 8, 1), event('a', 0, 8, 1, true), event(0, 55, 0, 0, true)}},
        {"Backspace keeps its character", false, false, false, {down(kWinBack)}, {event(8, 1, 0, 8)}},
        {"Ctrl+Backspace: printable 127 becomes 0", false, false, false,
         {down(kWinRControl), down(kWinBack)},
         {event(0, 55, 8, 0), event(8, 1, 8, 0)}},
        {"Return stays 4 and Space is 7", false, false, false,
         {down(kWinReturn), down(kWinSpace)},
         {event(13, 4, 0, 13), event(' ', 7, 0, ' ')}},
        {"Keypad 7 with Num Lock", false, true, false, {down(keypad7)}, {event('7', 31, 0, '7')}},
        {"Keypad 7 without Num Lock is Home", false, false, false, {down(keypad7)}, {event(0, 10, 0, 0)}},
        {"Keypad 5 without Num Lock has neither key nor character", false, false, false,
         {down(kWinNumpad0 + 5)}, {}},
        {"F1", false, false, false, {down(kWinF1)}, {event(0, 40, 0, 0)}},
        {"Alt+F3", false, false, false,
         {down(kWinLMenu), down(kWinF1 + 2)},
         {event(0, 56, 2, 0), event(0, 42, 2, 0)}},
        {"Shift+2 and Shift+/ from the UK columns", false, false, false,
         {down(kWinShift), down('2'), down(kWinOem2)},
         {event(0, 54, 1, 0), event('2', 0, 1, '"'), event('/', 0, 1, '?')}},
        {"Caps Lock shifts letters only; Shift undoes it", true, false, false,
         {down('Q'), down('1'), down(kWinShift), down('Q')},
         {event('Q', 0, 0, 'Q'), event('1', 0, 0, '1'), event(0, 54, 1, 0), event('Q', 0, 1, 'q')}},
        {"A repeat count of 2 is swallowed", false, false, false, {{'A', true, 2}}, {}},
        {"An auto-repeated press passes, marked", false, false, false,
         {down('A'), {'A', true, 1, true}},
         {event('a', 0, 0, 'a'), event('a', 0, 0, 'a', false, 1)}},
        {"Manual key mode: the frame drops every key", false, false, true,
         {down('A'), up('A'), down(kWinF1)}, {}},
    };
    CFrame frame(CRect(0, 0, 400, 300), host.get(), &editor);
    frame.getWindow()->takeFocus();
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        editor.keys.clear();
        editor.manual = c.manualKeyMode;
        system.setToggles(c.capsLock, c.numLock);
        for (const Stroke& s : c.strokes)
            system.injectKey(s.key, s.down, s.repeat, s.autoRepeat);
        system.pump();
        EXPECT_EQ(editor.keys, c.expected);
        for (const Stroke& s : c.strokes)   // nothing left held for the next case
            if (s.down)
                system.injectKey(s.key, false);
        system.pump();
    }
}

TEST_F(FrameKeysTest, WithoutAnEditorKeysAreSwallowed)
{
    CFrame frame(CRect(0, 0, 400, 300), host.get(), nullptr);
    frame.getWindow()->takeFocus();
    system.pressKey('A');
    system.pump();
    EXPECT_EQ(system.pendingMessages(), 0u);
    EXPECT_TRUE(editor.keys.empty());
}

} // namespace
