// The grid's cursor: clamping and carrying, scrolling to it, stepping after
// entries, the wheel, and the subrows that timing entries give rows.
#include "grid_rig.h"

#include "engine/engine_fixture.h"
#include "patterneditor/grid/grid_colours.h"
#include "resources/palette.h"

#include <cmath>
#include <limits>

namespace {

struct Place {
    int channel;
    int column;
    int row;
    int subrow;
};

struct MoveCase {
    const char* name;
    Place from;
    int columns;
    int rows;
    int visibleRows;
    bool centralised;
    Place to;
    int firstRow;
};

class CursorMoves : public ModuleTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(CursorMoves, LandWhereTheRulesSay)
{
    GridRig rig;
    const MoveCase& c = GetParam();
    TesselPatternView& v = rig.grid.view;
    v.visibleRows = c.visibleRows;
    v.centralised = c.centralised;
    v.cursorChannel = int16_t(c.from.channel);
    v.cursorColumn = int16_t(c.from.column);
    v.cursorRow = int16_t(c.from.row);
    v.cursorSubrow = int16_t(c.from.subrow);
    v.firstRow = 0;
    rig.grid.moveCursorBy(c.columns, c.rows);
    EXPECT_EQ(v.cursorChannel, c.to.channel);
    EXPECT_EQ(v.cursorColumn, c.to.column);
    EXPECT_EQ(v.cursorRow, c.to.row);
    EXPECT_EQ(v.cursorSubrow, c.to.subrow);
    EXPECT_EQ(v.firstRow, c.firstRow);
    EXPECT_GE(v.firstChannel, 0);
    EXPECT_LE(v.firstChannel, v.cursorChannel);
    EXPECT_LT(v.cursorChannel, v.firstChannel + v.visibleChannels);
}

INSTANTIATE_TEST_SUITE_P(Table, CursorMoves, ::testing::Values(
    MoveCase{"LeftFromColumn0OfChannel3", {3, 0, 10, 0}, -1, 0, 40, false, {2, 8, 10, 0}, 0},
    MoveCase{"LeftFromChannel0Stays", {0, 0, 10, 0}, -1, 0, 40, false, {0, 0, 10, 0}, 0},
    MoveCase{"RightFromColumn8", {5, 8, 0, 0}, 1, 0, 40, false, {6, 0, 0, 0}, 0},
    MoveCase{"RightFromTheLastChannelStays", {63, 8, 0, 0}, 1, 0, 40, false, {63, 8, 0, 0}, 0},
    MoveCase{"TwoChannelsLeftAtOnce", {3, 2, 0, 0}, -20, 0, 40, false, {1, 0, 0, 0}, 0},
    MoveCase{"FarLeftClampsToTheFirstCell", {3, 2, 0, 0}, -1000, 0, 40, false, {0, 0, 0, 0}, 0},
    MoveCase{"AboveRow0", {0, 0, 0, 0}, 0, -1, 40, false, {0, 0, 0, 0}, 0},
    MoveCase{"BelowTheLastRow", {0, 0, 63, 0}, 0, 5, 40, false, {0, 0, 63, 0}, 63 - 40 + 2},
    MoveCase{"DownScrollsTwoRowsBeforeTheBottom", {0, 0, 20, 0}, 0, 10, 20, false, {0, 0, 30, 0}, 12},
    MoveCase{"CentralisedRow5Of33Rows", {0, 0, 0, 0}, 0, 5, 33, true, {0, 0, 5, 0}, -11},
    MoveCase{"CentralisedRow40", {0, 0, 30, 0}, 0, 10, 33, true, {0, 0, 40, 0}, 24}),
    [](const auto& info) { return std::string(info.param.name); });

using GridCursor = ModuleTest;

TEST_F(GridCursor, StepFollowsTheIncrement)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    rig.grid.moveCursorTo(9, 10);
    rig.grid.stepCursor();
    EXPECT_EQ(v.cursorRow, 11);
    v.cursorIncrement = 4;
    rig.grid.moveCursorTo(-1, 59);
    rig.grid.stepCursor();
    EXPECT_EQ(v.cursorRow, 63);
    rig.grid.moveCursorTo(-1, 61);
    rig.grid.stepCursor();
    EXPECT_EQ(v.cursorRow, 61) << "a step past the end stays";
    v.cursorIncrement = 0;
    rig.grid.stepCursor();
    EXPECT_EQ(v.cursorChannel, 2);
    EXPECT_EQ(v.cursorRow, 61);
}

TEST_F(GridCursor, TheWheelMovesTheViewAndPullsTheCursorIn)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    v.visibleRows = 33;
    v.firstRow = 10;
    v.cursorRow = 20;
    rig.grid.scrollRows(0, 0, 3.0f);
    EXPECT_EQ(v.firstRow, 7);
    EXPECT_EQ(v.cursorRow, 20);

    v.firstRow = 10;
    v.cursorRow = 41;   // the lowest row the cursor may take at first row 10
    rig.grid.scrollRows(0, 0, 3.0f);
    EXPECT_EQ(v.firstRow, 7) << "three rows, not two";
    EXPECT_EQ(v.cursorRow, 38);

    rig.grid.scrollRows(0, 0, -3.9f);
    EXPECT_EQ(v.firstRow, 10) << "the distance is truncated";
    EXPECT_EQ(v.cursorRow, 38);
    rig.grid.scrollRows(0, 0, -20.0f);
    EXPECT_EQ(v.firstRow, 30);
    EXPECT_EQ(v.cursorRow, 38);
    rig.grid.scrollRows(0, 0, -10.0f);
    EXPECT_EQ(v.firstRow, 40);
    EXPECT_EQ(v.cursorRow, 40) << "pulled down into the view";

    rig.grid.scrollRows(0, 0, 0.5f);
    EXPECT_EQ(v.firstRow, 40) << "less than a row moves nothing";

    // Whatever the distance, the view and the cursor stay in the pattern.
    for (float distance : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(), std::nanf("")}) {
        rig.grid.scrollRows(0, 0, distance);
        EXPECT_GE(v.cursorRow, 0);
        EXPECT_LT(v.cursorRow, 64);
        EXPECT_GE(v.firstRow, 0);
        EXPECT_LE(v.firstRow, v.cursorRow);
    }
}

TEST_F(GridCursor, CentralisedWheelMovesTheCursorWithTheView)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    v.visibleRows = 33;
    v.centralised = 1;
    rig.grid.moveCursorTo(-1, 30);
    EXPECT_EQ(v.firstRow, 14);
    rig.grid.scrollRows(0, 0, 2.0f);
    EXPECT_EQ(v.cursorRow, 28);
    EXPECT_EQ(v.firstRow, 12);
}

TEST_F(GridCursor, APanelShownOverTheGridShortensTheCursorsRows)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    v.visibleRows = 40;
    EXPECT_EQ(rig.grid.visibleRowsForCursor(), 40);
    rig.host.panel = 10 * v.rowHeight + 3;
    EXPECT_EQ(rig.grid.visibleRowsForCursor(), 29);
    rig.grid.moveCursorTo(-1, 40);
    EXPECT_EQ(v.firstRow, 40 - 29 + 2);
}

TEST_F(GridCursor, AOneChannelGridInAWideAreaKeepsItsFirstChannel)
{
    auto song = makeSong();
    registerGridFont();
    TesselPatternUI grid(*song, nullptr, 1);
    grid.setPattern(&song->patterns[0], nullptr, 0, 0, 1600, 400);
    const TesselFontRecord font = defaultPatternFont();
    grid.setFont(&font);
    grid.layoutGrid(0, 0, 1600, 400);
    ASSERT_GT(grid.view.visibleChannels, 10);
    for (int columns : {1, 9, 20, -3, -40, 100}) {
        grid.moveCursorBy(columns, 0);
        EXPECT_EQ(grid.view.firstChannel, 0) << columns;
        EXPECT_EQ(grid.view.cursorChannel, 0) << columns;
    }
    EXPECT_EQ(grid.view.cursorColumn, 8);

    // Drawn, it shows its one channel and nothing to its right.
    OffscreenPage offscreen(1600, 400);
    grid.drawCells(offscreen.get(), 0, 0);
    const platform::Image& page = offscreen.image();
    EXPECT_EQ(page.pixelAt(2, 0), gridColour(kColourMajorRow));
    EXPECT_EQ(page.pixelAt(grid.view.channelWidth + 2, 0), resources::palette::kBackground);
}

TEST_F(GridCursor, ACellUnderTheCursorIsNeverCreated)
{
    GridRig rig;
    rig.grid.moveCursorTo(9 * 5, 7);
    rig.grid.view.cursorSubrow = 0;
    const TesselSubrow& cell = rig.grid.cellAtCursor();
    EXPECT_TRUE(cell.isEmpty());
    EXPECT_EQ(rig.pattern().tracks.trackAt(5), nullptr);
    rig.cell(5, 7).pitch = 40;
    EXPECT_EQ(rig.grid.cellAtCursor().pitch, 40);
    rig.grid.view.cursorSubrow = 2;
    EXPECT_TRUE(rig.grid.cellAtCursor().isEmpty());
    EXPECT_EQ(rig.pattern().tracks.trackAt(5)->rowAt(7)->subrows(), nullptr);
}

// Subrows come from the pattern's timing list: 3 ticks a row from 'A03',
// and no entries after the break of row 4.
class GridSubrows : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        TesselPattern& pattern = engine->song.patterns[0];
        pattern.setLength(8);
        TesselTrack& track = pattern.tracks.getTrack(0);
        track.getRow(0).effect = {0, 'A', 3};
        track.getRow(4).effect = {0, 'C', 0};
        engine->song.resolution = 6.0;
        engine->rebuildPatternPlaylists(false);
        rig = std::make_unique<GridRig>(723, 499, engine.get(), &engine->song);
    }
    void place(int row, int subrow)
    {
        rig->grid.view.cursorRow = int16_t(row);
        rig->grid.view.cursorSubrow = int16_t(subrow);
        rig->grid.ensureCursorVisible();
    }
    int row() const { return rig->grid.view.cursorRow; }
    int subrow() const { return rig->grid.view.cursorSubrow; }

    std::unique_ptr<GridRig> rig;
};

TEST_F(GridSubrows, RowsWithATimingEntryHaveItsTicks)
{
    ASSERT_NE(rig->grid.findTimingEntry(2), nullptr);
    EXPECT_EQ(rig->grid.cursorSubrows(2), 3);
    EXPECT_EQ(rig->grid.speedAtRow(2), 3);
    place(2, 3);
    EXPECT_EQ(row(), 3);
    EXPECT_EQ(subrow(), 0);
    place(3, -1);
    EXPECT_EQ(row(), 2);
    EXPECT_EQ(subrow(), 2);
    place(0, -1);
    EXPECT_EQ(row(), 0);
    EXPECT_EQ(subrow(), 0);
}

TEST_F(GridSubrows, RowsWithoutAnEntryHaveOneSubrowForTheCursorButTheSongsSpeedForLines)
{
    ASSERT_EQ(rig->grid.findTimingEntry(6), nullptr) << "the break ends the pattern's list";
    EXPECT_EQ(rig->grid.cursorSubrows(6), 1);
    EXPECT_EQ(rig->grid.speedAtRow(6), 6);
    place(5, 1);
    EXPECT_EQ(row(), 6);
    EXPECT_EQ(subrow(), 0);
    place(6, -1);
    EXPECT_EQ(row(), 5);
    EXPECT_EQ(subrow(), 0);
    place(7, 4);
    EXPECT_EQ(row(), 7);
    EXPECT_EQ(subrow(), 0) << "below the last subrow of the last row";
    place(20, 2);
    EXPECT_EQ(row(), 7);
    EXPECT_EQ(subrow(), 0);
}

TEST_F(GridSubrows, NoStepWhilePlaybackIsFollowed)
{
    rig->grid.moveCursorTo(0, 1);
    engine->transport = kPlayingSong;
    rig->host.follows = true;
    rig->grid.stepCursor();
    EXPECT_EQ(row(), 1);
    rig->host.follows = false;
    rig->grid.stepCursor();
    EXPECT_EQ(row(), 2);
    engine->transport = kStoppedCut;
}

TEST_F(GridSubrows, ZoomedLinesShowEverySubrow)
{
    rig->grid.view.zoomed = 1;
    rig->grid.view.visibleRows = 12;
    rig->grid.moveCursorTo(0, 0);
    const auto& lines = rig->grid.lines();
    ASSERT_GE(lines.size(), 13u);
    const int h = rig->grid.view.rowHeight;
    EXPECT_EQ(lines[0].row, 0);
    EXPECT_EQ(lines[2].row, 0);
    EXPECT_EQ(lines[2].subrow, 2);
    EXPECT_EQ(lines[3].row, 1);
    EXPECT_EQ(lines[3].y, 3 * h);
    EXPECT_EQ(rig->grid.rowY(1, 1, false), 4 * h);
    EXPECT_EQ(rig->grid.rowY(1, 1, true), 5 * h);
}

} // namespace
