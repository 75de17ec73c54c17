// The mouse over the pattern grid through the editor window: a drag
// selects, a drag from inside the selection moves its block (copies with
// Control, inserts with Shift, mixes with Alt, mixes fields with both), a
// click clears the selection, the row numbers select whole rows, the wheel
// scrolls, the right button asks for the menus.
#include "pattern_page_fixture.h"

#include "patterneditor/menus/pattern_menus.h"
#include "patterneditor/undo/undo_history.h"

namespace {

using namespace platform;

class PatternMouseTest : public PatternPageTest {
protected:
    void SetUp() override
    {
        PatternPageTest::SetUp();
        for (int row = 0; row < 4; ++row) {
            writable(1, row).pitch = static_cast<int16_t>(60 + row);
            writable(1, row).instrument = 1;
        }
        writable(3, 9).volume = 20;   // under the drops
        writable(3, 11).pitch = 40;
        page().setDirty();
        idle();
    }
    // Selects rows 0..3 of channel 1 by dragging over them.
    void selectBlock()
    {
        drag(cellPoint(1, 0), cellPoint(1, 3));
        ASSERT_TRUE(grid().selection.active);
    }
    std::string lastLabel() { return page().undoPanel().history().label(0); }
};

TEST_F(PatternMouseTest, ADragSelectsAndAClickClearsTheSelection)
{
    selectBlock();
    EXPECT_EQ(grid().selection.start.channel, 1);
    EXPECT_EQ(grid().selection.end.channel, 1);
    EXPECT_EQ(grid().selection.start.row, 0);
    EXPECT_EQ(grid().selection.end.row, 3);
    EXPECT_EQ(view().cursorRow, 3);
    EXPECT_FALSE(page().draggingSelection());

    windows.click(pagesWindow(), cellPoint(5, 7));
    idle();
    EXPECT_FALSE(grid().selection.active);
    EXPECT_EQ(view().cursorChannel, 5);
    EXPECT_EQ(view().cursorRow, 7);

    // From the row numbers: whole rows over every channel.
    const Point rows = cellPoint(0, 2);
    drag({4, rows.y}, {4, cellPoint(0, 5).y});
    EXPECT_TRUE(grid().selection.spansAllChannels());
    EXPECT_EQ(grid().selection.start.row, 2);
    EXPECT_EQ(grid().selection.end.row, 5);
}

TEST_F(PatternMouseTest, DropsMoveCopyInsertAndMixWithTheirLabels)
{
    // The block's first row lands where the mouse lets go: rows 9..12 of
    // channel 3, where row 9 holds a volume and row 11 a note.
    const struct {
        std::initializer_list<uint8_t> held;
        const char* label;
        bool sourceKept;
        int pitch9;
        int volume9;
        int pitch11;
        int movedNote;   // where row 11's note went (row 15 after an insert)
    } cases[] = {
        {{}, "000: Mouse move  (overwrite).", false, 60, -1, 62, -1},
        {{kWinControl}, "000: Mouse copy  (overwrite).", true, 60, -1, 62, -1},
        {{kWinShift}, "000: Mouse move  (insert).", false, 60, -1, 62, 40},
        {{kWinMenu}, "000: Mouse move (mix).", false, -1, 20, 40, -1},
        {{kWinMenu, kWinShift}, "000: Mouse move (mix fields).", false, 60, 20, 40, -1},
    };
    const std::string start = markup();
    for (const auto& c : cases) {
        selectBlock();
        drag(cellPoint(1, 1), cellPoint(3, 9), c.held);
        EXPECT_EQ(lastLabel(), c.label);
        EXPECT_EQ(cell(3, 9).pitch, c.pitch9) << c.label;
        EXPECT_EQ(cell(3, 9).volume, c.volume9) << c.label;
        EXPECT_EQ(cell(3, 11).pitch, c.pitch11) << c.label;
        EXPECT_EQ(cell(3, 15).pitch, c.movedNote) << c.label;
        EXPECT_EQ(cell(3, 12).pitch, 63) << c.label;
        EXPECT_EQ(cell(1, 0).pitch, c.sourceKept ? 60 : -1) << c.label;
        // The selection moved onto the dropped block.
        EXPECT_EQ(grid().selection.start.channel, 3) << c.label;
        EXPECT_EQ(grid().selection.start.row, 9) << c.label;
        EXPECT_FALSE(page().draggingSelection());
        // Back to the start for the next drop.
        control(kWinBack);
        press(kWinReturn);
        EXPECT_EQ(markup(), start) << c.label;
    }
}

TEST_F(PatternMouseTest, TheRightButtonAsksForMenusAndTheWheelScrolls)
{
    const auto& asked = windows.popupsAsked();
    const auto firstRow = [&] { return asked.back().menu.rows.front().text; };
    const Point point = cellPoint(2, 6);
    windows.click(pagesWindow(), point, kRightButton);
    idle();
    ASSERT_EQ(asked.size(), 1u);
    const Point origin = pagesWindow().screenOrigin();
    EXPECT_EQ(asked.back().screen, (Point{origin.x + point.x, origin.y + point.y}));
    EXPECT_EQ(firstRow(), "Context &Help\tF1");
    selectBlock();
    windows.click(pagesWindow(), {4, point.y}, kRightButton);
    idle();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(firstRow(), "Insert rows in song");
    type(";");
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(firstRow(), "Context &Help\tF1");

    moveCursor(0, 0, 50);
    const int first = view().firstRow;
    ASSERT_GT(first, 3);
    windows.injectWheel(pagesWindow(), cellPoint(2, first + 5), 3 * 120);
    idle();
    EXPECT_EQ(view().firstRow, first - 3);
}

} // namespace
