// The order list page through the editor window: typed patterns and
// labels, markers, insert and delete, the order commands, the channel
// settings, pitch mode, the mouse, and a busy song lock.

#include "pages_fixture.h"
#include "patterneditor/grid/pattern_grid.h"
#include "platform/headless/headless_dialogs.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <gtest/gtest.h>

namespace {

using platform::kWinControl;
using platform::kWinShift;

constexpr uint8_t kF1 = platform::kWinF1;
constexpr uint8_t kF11 = platform::kWinF1 + 10;
constexpr int32_t kNormalFont = resources::kSmallFontNormal;
constexpr int32_t kHighlightFont = resources::kSmallFontHighlight;
constexpr int32_t kCursorFont = resources::kSmallFontCursor;

class OrderListTest : public PagesTest {
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        loadDemoSong();
        press(kF11);
        ASSERT_EQ(pageNumber(), kOrderListPage);
        ASSERT_NE(orderList(), nullptr);
    }
    int32_t order(int i) { return song().orderList.entries[static_cast<size_t>(i)].pattern; }
    std::vector<int32_t> orders(int count)
    {
        std::vector<int32_t> values;
        for (int i = 0; i < count; ++i)
            values.push_back(order(i));
        return values;
    }
    void goToEntry(int i)
    {
        while (orderList()->orderCursor() < i)
            press(platform::kWinDown);
        while (orderList()->orderCursor() > i)
            press(platform::kWinUp);
    }
    // The cell of order row r (visible row) as drawn, in that font.
    bool cellShows(int r, const std::string& text, int32_t font)
    {
        return showsText(TesselOrderListUI::kCellX, TesselOrderListUI::kFirstRowY + 8 * r, text, font, 6);
    }
};

TEST_F(OrderListTest, TypedDigitsAndLabelsPickPatterns)
{
    type("005");
    EXPECT_EQ(order(0), 5);
    EXPECT_EQ(orderList()->orderCursor(), 1);
    EXPECT_EQ(orderList()->digit(), 0);
    EXPECT_NE(markup().find("<entry index=\"0\" pattern=\"5\"/>"), std::string::npos);
    EXPECT_TRUE(cellShows(0, "005", kHighlightFont));

    {
        platform::MutexLock lock(song().songLock(), kEditLockWaitMs);
        song().patterns[7].setLabel("ABC");
        song().patterns[9].setLabel("Abc");
    }
    type("ABC");
    EXPECT_EQ(order(1), 7);
    EXPECT_TRUE(cellShows(1, "ABC", kHighlightFont));
    // The cursor's character: the first digit of entry 2, in the cursor font.
    EXPECT_TRUE(cellShows(2, "0", kCursorFont));
    // "009" is no label any more; its number still names pattern 9.
    type("009");
    EXPECT_EQ(order(2), 9);
}

TEST_F(OrderListTest, TheLabelMatchScoresTheTypedPlaceHighest)
{
    TesselModule labelled;
    labelled.patterns[7].setLabel("ABC");
    labelled.patterns[12].setLabel("X1");
    struct Case {
        const char* text;
        int position;
        int32_t pattern;
    } cases[] = {
        {"005", 2, 5}, {"199", 2, 199}, {"ABC", 0, 7}, {"A00", 0, 7}, {"X1\0", 1, 12},
        {"012", 2, 12},   // pattern 12 shows a label; its number still picks it
        {"19X", 1, 190},  // the best score, the lowest pattern of those
        {"ZZZ", 1, 0},    // nothing scores
    };
    for (const Case& c : cases)
        EXPECT_EQ(TesselOrderListUI::findPatternByLabel(labelled, c.text, 3, c.position), c.pattern) << c.text;
}

TEST_F(OrderListTest, InsertDeleteAndMarkersActOnTheEntries)
{
    goToEntry(1);
    press(platform::kWinInsert);
    EXPECT_EQ(orders(8), (std::vector<int32_t>{0, -1, 1, 0, 2, -2, 3, -1}));
    chord({kWinShift}, platform::kWinOemPlus);   // '+'
    press(platform::kWinDown);
    press(platform::kWinOemPlus);                // '='
    EXPECT_EQ(orders(4), (std::vector<int32_t>{0, -2, -3, 0}));
    EXPECT_TRUE(cellShows(1, "+++", kHighlightFont));
    // The cursor stands on the first character of row 2.
    EXPECT_TRUE(showsText(TesselOrderListUI::kCellX, TesselOrderListUI::kFirstRowY + 16, "=", kCursorFont, 6));
    EXPECT_TRUE(showsText(TesselOrderListUI::kCellX + 6, TesselOrderListUI::kFirstRowY + 16, "==", kHighlightFont, 6));
    // The row at the order count shows the end, the next ones nothing.
    EXPECT_EQ(song().orderList.length, 7);
    EXPECT_TRUE(cellShows(7, "===", kNormalFont));
    EXPECT_TRUE(cellShows(8, "---", kNormalFont));

    press(platform::kWinDelete);   // a set entry: cleared
    EXPECT_EQ(orders(4), (std::vector<int32_t>{0, -2, -1, 0}));
    press(platform::kWinDelete);   // an empty one: removed
    EXPECT_EQ(orders(4), (std::vector<int32_t>{0, -2, 0, 2}));
    chord({kWinControl}, platform::kWinDelete);   // removed whatever it holds
    EXPECT_EQ(orders(6), (std::vector<int32_t>{0, -2, 2, -2, 3, -1}));
    press(platform::kWinOemMinus);
    EXPECT_EQ(order(2), -1);
    press(platform::kWinBack);
    EXPECT_EQ(orderList()->orderCursor(), 2);
    EXPECT_EQ(order(2), -1);
    EXPECT_EQ(editor->pages().patternEditor->getCurrentPattern(), 0);
}

TEST_F(OrderListTest, CopiesIntoAnEmptyPatternAndTheNextPattern)
{
    chord({kWinControl}, 'D');   // position 0: nothing to copy
    EXPECT_EQ(orders(7), (std::vector<int32_t>{0, 1, 0, 2, -2, 3, -1}));

    goToEntry(6);
    type("005");
    ASSERT_EQ(order(6), 5);
    chord({kWinControl}, 'D');
    // Pattern 5 is empty itself; the copy goes to the first other one.
    EXPECT_EQ(order(7), 4);
    EXPECT_EQ(platform::statusText(), "Pattern 005 copied to next empty pattern (004).");
    EXPECT_EQ(orderList()->orderCursor(), 8);

    goToEntry(3);   // after pattern 0: a copy of its notes
    chord({kWinControl}, 'D');
    // Pattern 4 took the empty pattern 5: still empty, so it takes this copy.
    EXPECT_EQ(order(3), 4);
    ASSERT_NE(song().patterns[4].findRow(0, 0), nullptr);
    EXPECT_EQ(song().patterns[4].findRow(0, 0)->pitch, song().patterns[0].findRow(0, 0)->pitch);
    EXPECT_EQ(platform::statusText(), "Pattern 000 copied to next empty pattern (004).");

    goToEntry(1);
    chord({platform::kWinMenu}, 'N');   // after pattern 0: pattern 1 inserted
    EXPECT_EQ(orders(3), (std::vector<int32_t>{0, 1, 1}));
    chord({platform::kWinMenu, kWinShift}, 'N');   // the same pattern again
    EXPECT_EQ(orders(4), (std::vector<int32_t>{0, 1, 1, 1}));
    EXPECT_EQ(orderList()->orderCursor(), 3);
}

TEST_F(OrderListTest, RenumberingAsksFirstAndEmptiesTheUndoHistory)
{
    type("003");   // orders 3, 1, 0, 2, skip, 3
    const auto historyHolds = [this](const char* label) {
        const TesselUndoHistory& history = patternPage()->undoPanel().history();
        for (int slot = 0; slot <= 10; ++slot)
            if (std::string(history.label(slot)).find(label) != std::string::npos)
                return true;
        return false;
    };
    ASSERT_TRUE(patternPage()->undoPanel().pushCheckpoint(song().patterns[0], "Before renumbering"));
    const std::string before = markup();
    platform::HeadlessDialogs& dialogs = windows.scriptedDialogs();
    dialogs.answerButton(platform::kAnswerNo);
    chord({platform::kWinMenu}, 'R');
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].title, "Reorder patterns...");
    EXPECT_EQ(dialogs.requests()[0].text, "This action cannot be undone. Are you sure?");
    EXPECT_EQ(dialogs.requests()[0].style & platform::kBoxButtonsMask, platform::kBoxYesNo);
    EXPECT_EQ(markup(), before);
    EXPECT_TRUE(historyHolds("Before renumbering"));

    dialogs.answerButton(platform::kAnswerYes);
    chord({platform::kWinMenu}, 'R');
    EXPECT_EQ(orders(6), (std::vector<int32_t>{0, 1, 2, 3, -2, 0}));
    EXPECT_STREQ(song().patterns[0].label, "END");
    EXPECT_FALSE(historyHolds("Before renumbering"));
    EXPECT_FALSE(editor->popupActive());
}

TEST_F(OrderListTest, ControlGShowsTheEntrysPatternInThePatternEditor)
{
    goToEntry(3);
    chord({kWinControl}, 'G');
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    EXPECT_EQ(editor->pages().patternEditor->getCurrentOrder(), 3);
    EXPECT_EQ(editor->pages().patternEditor->getCurrentPattern(), 2);

    press(kF11);
    goToEntry(4);   // a skip marker: nothing to show
    chord({kWinControl}, 'G');
    EXPECT_EQ(pageNumber(), kOrderListPage);
}

TEST_F(OrderListTest, AreasHelpAndTheCursorRecord)
{
    for (int i = 0; i < 5; ++i)
        press(platform::kWinTab);
    EXPECT_EQ(orderList()->focusArea(), TesselOrderListUI::kOrderArea);
    chord({kWinShift}, platform::kWinTab);
    EXPECT_EQ(orderList()->focusArea(), TesselOrderListUI::kPanningArea);
    press(kF1);
    EXPECT_EQ(viewedPageThenBack(), "OL_Channel.htm");
    press(platform::kWinTab);
    press(kF1);
    EXPECT_EQ(viewedPageThenBack(), "OL.htm");
    // The page's cursor record: digit, order position, name place, channel.
    press(platform::kWinDown);
    press(platform::kWinDown);
    idle();
    editor->usageLog().flush();
    const std::string log = readWholeFile(editor->usageLog().path());
    EXPECT_NE(log.find(std::string("c\x00\x00\x02\x00\x00\x00\x00\x00", 9)), std::string::npos);
    // F5 is the editor's from here: the page wants no keys.
    press(platform::kWinF1 + 4);
    EXPECT_EQ(pageNumber(), kInfoPage);
}

TEST_F(OrderListTest, ChannelSettingsReachTheChannelAndTheHeaderStrip)
{
    TesselPatternUI* grid = dynamic_cast<TesselPatternEditorPage*>(editor->pages().patternEditor)->patternGrid();
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->headerStrip(), nullptr);   // the swatches come from it
    const platform::Image stripBefore = grid->headerStrip()->image().clone();

    press(platform::kWinTab);   // name
    press(platform::kWinEnd);
    type("X");   // "Lead" is shorter than the field: it is padded first
    EXPECT_STREQ(song().channels[0].name, "Lead         X");
    press(platform::kWinHome);
    press(platform::kWinDelete);
    EXPECT_STREQ(song().channels[0].name, "ead         X ");
    press(platform::kWinDown);
    type("My");
    EXPECT_STREQ(song().channels[1].name, "MyBass        ");
    EXPECT_TRUE(showsText(TesselOrderListUI::kNameX, TesselOrderListUI::kFirstRowY + 8, "My", kHighlightFont, 6));
    EXPECT_TRUE(showsText(TesselOrderListUI::kNameX + 12, TesselOrderListUI::kFirstRowY + 8, "B", kCursorFont, 6));
    // Both channels' headers in the grid's strip were rendered anew.
    for (int channel : {0, 1}) {
        int changed = 0;
        for (int y = 0; y < stripBefore.height(); ++y)
            for (int x = 0; x < grid->view.channelWidth; ++x) {
                const int at = channel * grid->view.channelWidth + x;
                changed += !(grid->headerStrip()->image().pixelAt(at, y) == stripBefore.pixelAt(at, y));
            }
        EXPECT_GT(changed, 10) << channel;
    }

    press(platform::kWinTab);   // colour
    windows.scriptedDialogs().answerColour(platform::rgb(220, 20, 30));
    press(platform::kWinReturn);
    EXPECT_EQ(song().channels[1].colour, platform::toColorRef(platform::rgb(220, 20, 30)));
    const int32_t column = grid->view.channelWidth + 1;
    const platform::Colour line = grid->headerStrip()->image().pixelAt(column, 1);
    EXPECT_GT(line.red, 150);
    EXPECT_LT(line.green, 60);
    // The swatch shows the strip's lines.
    // The swatch shows the strip's lines, inside the focus frame.
    EXPECT_EQ(pagePixel(TesselOrderListUI::kSwatchX + 5, TesselOrderListUI::kFirstRowY + 8 + 3),
              grid->headerStrip()->image().pixelAt(column, 4));
    EXPECT_EQ(pagePixel(TesselOrderListUI::kSwatchX + 5, TesselOrderListUI::kFirstRowY + 8), platform::rgb(255, 255, 255));
    windows.scriptedDialogs().answerCancel();
    press(platform::kWinReturn);   // cancelled: the colour stays
    EXPECT_EQ(song().channels[1].colour, platform::toColorRef(platform::rgb(220, 20, 30)));

    press(platform::kWinTab);   // volume
    press(platform::kWinLeft);
    EXPECT_EQ(song().channels[1].volume, 63);
    press(platform::kWinTab);   // panning
    chord({kWinShift}, platform::kWinRight);
    EXPECT_EQ(song().channels[1].panning, 37);
    press('2');
    press('0');
    EXPECT_EQ(song().channels[1].panning, 20);

    // A click on the panning slider's track start, on channel 3's row.
    const TesselSlider probe(CRect(TesselOrderListUI::kPanningLeft, 0, TesselOrderListUI::kPanningRight, 8), 0, 64,
                             0, 2);
    clickPage(TesselOrderListUI::kPanningLeft + probe.trackStart(), TesselOrderListUI::kFirstRowY + 8 * 3 + 3);
    EXPECT_EQ(orderList()->channelCursor(), 3);
    EXPECT_EQ(song().channels[3].panning, 0);
}

TEST_F(OrderListTest, ClicksPlaceTheCursorAndPickPitchKeys)
{
    clickPage(TesselOrderListUI::kCellX + 6 + 2, TesselOrderListUI::kFirstRowY + 8 * 2 + 4);
    EXPECT_EQ(orderList()->orderCursor(), 2);
    EXPECT_EQ(orderList()->digit(), 1);
    clickPage(TesselOrderListUI::kCellX + 30, TesselOrderListUI::kFirstRowY + 3);   // beyond the cell
    EXPECT_EQ(orderList()->orderCursor(), 0);
    EXPECT_EQ(orderList()->digit(), 2);
    clickPage(TesselOrderListUI::kNameX + 6 * 3 + 1, TesselOrderListUI::kFirstRowY + 8 * 4 + 1);
    EXPECT_EQ(orderList()->focusArea(), TesselOrderListUI::kNameArea);
    EXPECT_EQ(orderList()->channelCursor(), 4);
    EXPECT_EQ(orderList()->nameCursor(), 3);

    song().orderList.pitchMode = 1;
    // The keyboard beside the pitch rows: 96 pixels an octave, 7 white keys.
    struct Case {
        int32_t y;
        int32_t note;
    } keys[] = {{47, 0}, {47 + 14, 2}, {47 + 96 + 40, 12 + 4}, {47 + 95, 11}};
    for (const Case& k : keys) {
        clickPage(10, k.y);
        EXPECT_EQ(orderList()->orderCursor(), k.note) << k.y;
    }
}

TEST_F(OrderListTest, PitchModeEditsThePitchEntries)
{
    song().orderList.pitchMode = 1;
    press(platform::kWinDown);
    type("002");
    EXPECT_EQ(song().orderList.pitches[1].pattern, 2);
    EXPECT_EQ(order(1), 1);   // the order entries stay
    chord({kWinShift}, platform::kWinOemPlus);   // no markers in pitch mode
    press(platform::kWinUp);
    EXPECT_EQ(orderList()->getCurrentPattern(), 2);
    press(platform::kWinUp);
    press(platform::kWinInsert);
    EXPECT_EQ(song().orderList.pitches[2].pattern, 2);
    EXPECT_EQ(song().orderList.pitches[3].pattern, -1);
    EXPECT_EQ(orders(3), (std::vector<int32_t>{0, 1, 0}));
    press(platform::kWinEnd);
    press(platform::kWinEnd);
    press(platform::kWinEnd);
    EXPECT_EQ(orderList()->orderCursor(), kOrderPitches - 1);
}

TEST_F(OrderListTest, WithTheSongLockHeldElsewhereNothingChanges)
{
    const std::string before = markup();
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere busy(song().songLock());
        press('5');
        EXPECT_EQ(orderList()->digit(), 0);   // nothing typed
        press(platform::kWinInsert);
        press(platform::kWinTab);
        press('Q');
    }
    EXPECT_EQ(markup(), before);
}

} // namespace
