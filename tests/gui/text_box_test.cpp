// Text and number boxes driven by key events, and their faces probed pixel
// by pixel.

#include "gui/bitmap.h"
#include "gui/clipboard.h"
#include "gui/draw_context.h"
#include "gui/controls/text_box.h"
#include "gui/controls/text_entry.h"
#include "model/model_globals.h"
#include "platform/graphics/canvas.h"
#include "platform/system/folders.h"
#include "page_fixture.h"
#include "resources/palette.h"

namespace {

TesselKeyEvent typed(char c, uint8_t modifiers = 0, uint8_t printable = 0)
{
    TesselKeyEvent key = charKey(static_cast<unsigned char>(c), modifiers);
    key.printable = printable ? printable : static_cast<uint8_t>(c);
    return key;
}

TesselKeyEvent named(uint8_t virtualKey, uint8_t modifiers = 0)
{
    return namedKey(virtualKey, modifiers);
}

constexpr uint8_t kEnd = 9, kHome = 10, kLeft = 11, kRight = 13, kInsert = 21;

class TextBox : public GuiTest {
protected:
    void press(TesselTextBox& box, std::initializer_list<TesselKeyEvent> keys)
    {
        for (const TesselKeyEvent& key : keys)
            box.onKey(key);
    }
    void caretTo(TesselTextBox& box, int32_t at)
    {
        box.onKey(named(kHome));
        for (int32_t i = 0; i < at; ++i)
            box.onKey(named(kRight));
    }

    CFrame frame{CRect(0, 0, 400, 300), host.get(), &editor};
};

TEST_F(TextBox, NumberBoxesEditDigitsInPlace)
{
    struct Case {
        const char* start;
        int32_t caret;
        TesselKeyEvent key;
        const char* expected;
        int32_t caretAfter;
    };
    const Case cases[] = {
        {"064", 1, named(kVkBack), "004", 1},            // Backspace zeroes the digit, the caret stays
        {"064", 1, named(kVkDelete), "000", 1},          // Delete zeroes from the caret on
        {"064", 0, typed('7'), "764", 1},
        {"064", 2, typed('9'), "069", 2},                // the last digit keeps the caret
        {"064", 3, typed('9'), "064", 3},                // past the last digit: nothing
        {"064", 3, named(kVkBack), "064", 3},
        {"999", 0, typed('='), "999", 0},
        {"990", 0, typed('=', kModShift, '+'), "990", 0},
        {"989", 0, typed('=', kModShift, '+'), "999", 0},
        {"100", 0, named(kVkAdd), "101", 0},
        {"100", 0, typed('-'), "099", 0},
        {"009", 0, typed('-', kModShift, '_'), "009", 0},
        {"150", 0, typed('-', kModShift | kModCtrl), "050", 0},
        {"000", 0, named(kVkSubtract), "000", 0},
        {"064", 0, typed('a'), "064", 0},
        {"064", 0, named(kInsert), "064", 0},
    };
    for (const Case& c : cases) {
        TesselTextBox box(CRect(0, 0, 60, 11), 3, c.start, true);
        caretTo(box, c.caret);
        box.onKey(c.key);
        EXPECT_EQ(box.name, c.expected) << c.start << " at " << c.caret;
        EXPECT_EQ(box.value, std::atoi(c.expected)) << c.start;
        EXPECT_EQ(box.getCaret(), c.caretAfter) << c.start << " at " << c.caret;
    }
}

TEST_F(TextBox, EndAndADigitChangeNothingAndNineDigitsAreTheMost)
{
    TesselTextBox box(CRect(0, 0, 60, 11), 3, "42", true);
    EXPECT_EQ(box.name, "042");
    press(box, {named(kEnd), typed('5')});
    EXPECT_EQ(box.name, "042");
    EXPECT_EQ(box.value, 42);

    TesselTextBox wide(CRect(0, 0, 200, 11), 12, "7", true);
    EXPECT_EQ(wide.getMaxLength(), TesselTextBox::kMaxDigits);
    EXPECT_EQ(wide.name, "000000007");
    press(wide, {typed('9'), typed('=', kModShift | kModCtrl, '+')});
    EXPECT_EQ(wide.value, 900000107);
}

TEST_F(TextBox, TextKeys)
{
    TesselTextBox box(CRect(0, 0, 200, 11), 20, "abc def", false);
    caretTo(box, 6);
    box.onKey(named(kLeft, kModCtrl));
    EXPECT_EQ(box.getCaret(), 4);
    box.onKey(named(kRight, kModCtrl));
    EXPECT_EQ(box.getCaret(), 7);
    press(box, {named(kHome), named(kInsert), named(kVkDelete), named(kVkDelete)});
    EXPECT_EQ(box.name, "bc def");
    press(box, {named(kEnd), named(kVkBack), typed('x'), typed(' ', 0, ' ')});
    EXPECT_EQ(box.name, "bc dex ");
    // Ctrl+letters carry control codes: nothing is inserted.
    box.onKey(typed('a', kModCtrl, 1));
    box.onKey(named(kVkEnter));
    EXPECT_EQ(box.name, "bc dex ");
}

TEST_F(TextBox, TypingStopsAtTheMaximumLength)
{
    TesselTextBox box(CRect(0, 0, 200, 11), 3, "", false);
    press(box, {typed('a'), typed('b'), typed('c'), typed('d')});
    EXPECT_EQ(box.name, "abd");
    EXPECT_EQ(box.getCaret(), 2);
}

TEST_F(TextBox, PastesKeepWhatFitsAndDropControlCharacters)
{
    const TesselKeyEvent ctrlV = typed('v', kModCtrl, 22);
    system.setClipboardText("0123456789");
    TesselTextBox box(CRect(0, 0, 200, 11), 8, "abcde", false);
    caretTo(box, 5);
    box.onKey(ctrlV);
    EXPECT_EQ(box.name, "abcde012");
    EXPECT_EQ(box.getCaret(), 7);

    system.setClipboardText("a\r\nb\t");
    TesselTextBox lines(CRect(0, 0, 200, 11), 20, "", false);
    lines.onKey(ctrlV);
    EXPECT_EQ(lines.name, "ab");
    EXPECT_EQ(lines.getCaret(), 2);

    // Number boxes take no pastes.
    TesselTextBox number(CRect(0, 0, 60, 11), 3, "5", true);
    number.onKey(ctrlV);
    EXPECT_EQ(number.name, "005");
}

TEST_F(TextBox, ScrollingKeepsTheCaretInViewAndClicksCountFromTheFirstVisible)
{
    // (40 - 4) / 8 - 1 = 3 characters after the first visible one.
    TesselTextBox box(CRect(10, 0, 50, 11), 20, "abcdefghij", false);
    box.onKey(named(kEnd));
    EXPECT_EQ(box.getFirstVisible(), 7);
    box.onMouse(1, CPoint(10 + 2 + 8, 5));
    EXPECT_EQ(box.getCaret(), 8);
    box.onMouse(1, CPoint(0, 5));
    EXPECT_EQ(box.getCaret(), 7);

    // A page replaces the text: drawing clamps the scroll and the caret.
    box.name = "ab";
    platform::Image image(100, 20);
    CDrawContext context(nullptr, &image, nullptr);
    box.drawText(&context, box.name.c_str(), true);
    EXPECT_EQ(box.getCaret(), 2);
    EXPECT_EQ(box.getFirstVisible(), 2);

    TesselTextBox narrow(CRect(0, 0, 2, 11), 20, "abc", false);
    narrow.onKey(named(kEnd));
    EXPECT_EQ(narrow.getFirstVisible(), 3);
}

CColor colourAt(const platform::Image& image, int32_t x, int32_t y)
{
    const platform::Colour c = image.pixelAt(x, y);
    return CColor{c.red, c.green, c.blue, 0};
}

TEST_F(TextBox, TheBlockCaretAndTheHighlightOfABoxThatCannotBeEdited)
{
    platform::Image image(120, 40, platform::rgb(0, 0, 0));
    CDrawContext context(nullptr, &image, nullptr);
    TesselTextBox box(CRect(0, 0, 100, 11), 20, "ab", false);
    box.setColour(tesselRgba(160, 128, 96));
    caretTo(box, 1);
    box.drawText(&context, box.name.c_str(), true);
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    // The caret cell (x 2 + 8 .. 17) is the colour where the glyph leaves it.
    EXPECT_EQ(colourAt(image, 10, 2), box.getColour());
    // The cell before it is not.
    EXPECT_NE(colourAt(image, 3, 2), box.getColour());
    // Unfocused: no caret.
    box.drawText(&context, box.name.c_str(), false);
    EXPECT_NE(colourAt(image, 10, 2), box.getColour());

    TesselTextBox fixed(CRect(0, 20, 100, 31), 20, "ab", false);
    fixed.editable = false;
    fixed.setColour(tesselRgba(160, 128, 96));
    fixed.drawText(&context, fixed.name.c_str(), true);
    // The whole text sits on the colour: both cells, no block beyond them.
    EXPECT_EQ(colourAt(image, 2, 22), fixed.getColour());
    EXPECT_EQ(colourAt(image, 10, 22), fixed.getColour());
    EXPECT_NE(colourAt(image, 19, 22), fixed.getColour());

    // Both looks four times as large, for a person to look at.
    box.drawText(&context, box.name.c_str(), true);
    platform::Image large(image.width() * 4, image.height() * 4);
    platform::Canvas(large).stretch(image, image.bounds(), large.bounds());
    EXPECT_TRUE(large.writePng("screenshots/text_boxes.png"));
}

TEST_F(TextBox, AFocusedNumberChangeLogsOneRecord)
{
    TestUsageLog log;
    ++songCounter();
    platform::Image image(100, 20);
    CDrawContext context(nullptr, &image, nullptr);
    TesselTextBox box(CRect(0, 0, 60, 11), 3, "5", true);
    box.draw(&context, box.value, true);   // the song's starting state
    box.draw(&context, box.value, true);
    box.onKey(named(kVkAdd));
    box.draw(&context, box.value, false);  // unfocused: not logged
    box.draw(&context, box.value, true);
    box.draw(&context, box.value, true);
    const auto records = log.records('d');
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(leFloat(records[0].data, 0), 6.0f);
}

TEST(TextEntries, RegionEntriesTakePlusAndDigits)
{
    TesselRegionEntry entry;
    for (char c : std::string("+12"))
        EXPECT_TRUE(entry.accepts(c)) << c;
    for (char c : std::string("-aZ ."))
        EXPECT_FALSE(entry.accepts(c)) << c;
    TesselTextEntry plain;
    EXPECT_FALSE(plain.accepts('a'));
    plain.text = "x";
    EXPECT_TRUE(plain.hasText());
    plain.clear();
    EXPECT_FALSE(plain.hasText());
}

} // namespace
