#include "platform/key_event.h"

#include <gtest/gtest.h>

TEST(KeyEvent, ShortcutTextWithAndWithoutPressCount)
{
    TesselKeyEvent altK = charKey('k', kModAlt, 1);
    EXPECT_EQ(altK.toString(false, false), "Alt-k x 2");
    EXPECT_EQ(altK.toString(false, true), "Alt-k");
    EXPECT_EQ(namedKey(kVkAdd, kModCtrl).toString(), "Ctrl-NumPad +");
    EXPECT_EQ(namedKey(kVkF1 + 4).toString(), "F5");
    EXPECT_EQ(namedKey(29).toString(), "Numpad 5");
    EXPECT_EQ(charKey('s', kModCtrl | kModShift).toString(), "Ctrl-Shift-s");
    // Bit 4 has no text of its own.
    EXPECT_EQ(charKey('s', 4 | kModCtrl).toString(), "Ctrl-s");
    // A shifted character shows alone; forcing shows the key instead.
    TesselKeyEvent hash{'3', 0, kModShift, {0, 0}, '#', 0, 0};
    EXPECT_EQ(hash.toString(), "#");
    EXPECT_EQ(hash.toString(true), "Shift-3");
    EXPECT_EQ(printableKey('#').toString(), "#");
    EXPECT_EQ(charKey('x', kModAlt, 2).toString(), "Alt-x x 3");
}

TEST(KeyEvent, LongestTextIsCutTo31Characters)
{
    TesselKeyEvent key = namedKey(16, 15, 32766);
    EXPECT_EQ(key.toString(), std::string("Ctrl-Alt-Shift-Page Down x 3276"));
    EXPECT_EQ(key.toString().size(), 31u);
}

TEST(KeyEvent, ParseModifierPrefixes)
{
    TesselKeyEvent k = TesselKeyEvent::parse("alt-shift-O", 0);
    EXPECT_EQ(k.modifiers, 3);
    EXPECT_EQ(k.character, 'O');
    EXPECT_EQ(k.printable, 'O');
    EXPECT_EQ(k.virtualKey, 0);
    EXPECT_EQ(k.pressCount, 0);

    EXPECT_EQ(TesselKeyEvent::parse("Ctrl-Alt-x", 0).modifiers, 10);
    EXPECT_EQ(TesselKeyEvent::parse("CTRL-ALT-SHIFT-x", 0).modifiers, 11);
    EXPECT_EQ(TesselKeyEvent::parse("Shift-F1", 0).modifiers, 1);

    TesselKeyEvent minus = TesselKeyEvent::parse("Ctrl--", 3);
    EXPECT_EQ(minus.modifiers, kModCtrl);
    EXPECT_EQ(minus.character, '-');
    EXPECT_EQ(minus.pressCount, 3);
}

TEST(KeyEvent, ParseKeyNamesLongestWins)
{
    TesselKeyEvent k = TesselKeyEvent::parse("Ctrl-NumPad +", 0);
    EXPECT_EQ(k.modifiers, 8);
    EXPECT_EQ(k.virtualKey, 35);
    EXPECT_EQ(k.character, 0);
    EXPECT_EQ(TesselKeyEvent::parse("F10", 0).virtualKey, 49);
    EXPECT_EQ(TesselKeyEvent::parse("F1", 0).virtualKey, 40);
    EXPECT_EQ(TesselKeyEvent::parse("Numpad 5", 0).virtualKey, 29);
    // Key names compare exactly.
    EXPECT_EQ(TesselKeyEvent::parse("NumPad 5", 0).virtualKey, 0);
    EXPECT_EQ(TesselKeyEvent::parse("space", 0).virtualKey, 0);
    EXPECT_EQ(TesselKeyEvent::parse("Menu Key", 0).virtualKey, 59);
    EXPECT_TRUE(TesselKeyEvent::parse("", 0).isNone());
    EXPECT_TRUE(TesselKeyEvent::parse(nullptr, 0).isNone());
    // A byte above 127 is a character, not a negative number.
    EXPECT_EQ(TesselKeyEvent::parse("\xB4", 0).character, 180);
}

TEST(KeyEvent, MatchRule)
{
    const TesselKeyEvent shiftedThree{'3', 0, kModShift, {0, 0}, '#', 0, 0};
    EXPECT_TRUE(shiftedThree.matches(printableKey('#')));
    EXPECT_FALSE(shiftedThree.matches(charKey('3')));
    // A binding without a printable character falls back to modifiers.
    EXPECT_FALSE(shiftedThree.matches(charKey('#', kModCtrl)));

    EXPECT_TRUE(namedKey(kVkAdd, kModCtrl).matches(namedKey(kVkAdd, kModCtrl)));
    EXPECT_FALSE(namedKey(kVkAdd, kModCtrl).matches(namedKey(kVkAdd)));
    EXPECT_FALSE(namedKey(kVkAdd).matches(namedKey(kVkSubtract)));
    // Virtual keys decide when either is set.
    EXPECT_FALSE(namedKey(kVkSpace).matches(charKey(' ')));
    EXPECT_TRUE(charKey('z').matches(TesselKeyEvent::parse("z", 0)));

    TesselKeyEvent released = charKey('z', 0, 4);
    released.keyUp = 1;
    EXPECT_TRUE(released.matches(charKey('z')));
}

TEST(KeyEvent, ParsedTextMatchesTheKeyItCameFrom)
{
    const TesselKeyEvent keys[] = {
        charKey('c', kModAlt), namedKey(kVkF1 + 7, 0, 1), charKey('=', kModCtrl),
        namedKey(kVkDivide), printableKey('{'), printableKey(180), namedKey(kVkBack, kModCtrl),
        charKey('o', kModAlt | kModShift),
    };
    for (const TesselKeyEvent& key : keys) {
        TesselKeyEvent back = TesselKeyEvent::parse(key.toString(false, true).c_str(), key.pressCount);
        EXPECT_TRUE(back.matches(key)) << key.toString();
        EXPECT_TRUE(key.matches(back)) << key.toString();
        EXPECT_EQ(back.toString(), key.toString());
    }
}
