// The grid's layout: measures from its font, visible channels and rows,
// column and line positions, row highlights.
#include "grid_rig.h"

#include "engine/random.h"

namespace {

using GridLayout = ModuleTest;

TEST_F(GridLayout, TheProgramsFontGivesSixPixelCharacters)
{
    GridRig rig;
    const TesselFontMetrics& m = rig.grid.metrics();
    EXPECT_EQ(rig.grid.gridFont()->family(), "Quorbel");
    EXPECT_EQ(m.characterWidth, 6);
    EXPECT_EQ(m.cellWidth, 13 * 6 + 8);
    EXPECT_GT(m.rowHeight, 6);
    EXPECT_EQ(rig.grid.view.channelWidth, m.cellWidth);

    // Own subrows: margin 8 then 6 a character; further subrows: margin
    // 10, the '#' and the following blank one pixel narrower.
    const int own[kCellColumns] = {0, 8, 14, 20, 26, 32, 38, 44, 50, 56, 62, 68, 74, 80, 86};
    const int further[kCellColumns] = {0, 10, 16, 21, 27, 32, 38, 44, 50, 56, 62, 68, 74, 80, 86};
    for (int i = 0; i < kCellColumns; ++i) {
        EXPECT_EQ(m.own.positions[size_t(i)], own[i]) << i;
        EXPECT_EQ(m.further.positions[size_t(i)], further[i]) << i;
    }

    // Columns sit on their text positions, the volume digits at 8-9 in every mode.
    const int columns[9] = {8, 20, 32, 38, 50, 56, 68, 74, 80};
    for (int mode = 0; mode < 3; ++mode) {
        rig.grid.view.volumeMode = uint8_t(mode);
        for (int c = 0; c < 9; ++c)
            EXPECT_EQ(rig.grid.columnX(0, c), columns[c]) << c;
    }
    rig.grid.view.firstChannel = 2;
    EXPECT_EQ(rig.grid.columnX(5, 4), 3 * 86 + 50);
    EXPECT_EQ(rig.grid.columnX(5, 1, true), 3 * 86 + 21);
}

TEST_F(GridLayout, FontDescriptionsFromThePreferences)
{
    TesselPreferences preferences;
    TesselFontRecord font = preferences.font;
    settlePatternFontWidth(font, -1);
    EXPECT_EQ(font.width, 6) << "Auto: the height for the program's own face";
    settlePatternFontWidth(font, 9);
    EXPECT_EQ(font.width, 9);
    std::snprintf(font.faceName, sizeof font.faceName, "Arial");
    settlePatternFontWidth(font, -1);
    EXPECT_EQ(font.width, 0) << "Auto: the face's own for any other";

    font.height = 6;
    EXPECT_EQ(gridFontRequest(font).height, -8);
    font.height = 10;
    EXPECT_EQ(gridFontRequest(font).height, -13) << "13.33 rounds down";
    font.height = 9;
    EXPECT_EQ(gridFontRequest(font).height, -12);
    EXPECT_EQ(gridFontRequest(font).face, "Arial");

    // The grid keeps the first font it was given.
    GridRig rig;
    const platform::Font* first = rig.grid.gridFont();
    rig.grid.setFont(&font);
    EXPECT_EQ(rig.grid.gridFont(), first);
    rig.grid.setFont(nullptr);
    EXPECT_EQ(rig.grid.gridFont(), first);
}

TEST_F(GridLayout, VisibleChannelsAndRowsFollowTheArea)
{
    GridRig rig;
    const TesselPatternView& v = rig.grid.view;
    const int h = v.rowHeight;
    struct Case {
        int width;
        int height;
        bool maximised;
        int channels;
        int rows;
    };
    for (const Case& c : {Case{723, 499, false, (723 - 19) / 86 + 1, (499 - 53) / h + 1},
                          Case{723, 499, true, (723 - 19) / 86 + 1, (499 - 42) / h + 1},
                          Case{1920, 1200, false, (1920 - 19) / 86 + 1, (1200 - 53) / h + 1},
                          Case{10, 10, false, 1, 1}}) {
        rig.host.maximised = c.maximised;
        rig.grid.layoutGrid(0, 0, c.width, c.height);
        EXPECT_EQ(v.visibleChannels, c.channels) << c.width;
        EXPECT_EQ(v.visibleRows, c.rows) << c.height;
    }
    rig.host.maximised = false;
    EXPECT_EQ(rig.grid.gridOrigin().x, 3 * 6 + 5);
    EXPECT_EQ(rig.grid.gridOrigin().y, 38);
    rig.host.maximised = true;
    EXPECT_EQ(rig.grid.gridOrigin().y, 27);
    EXPECT_EQ(rig.grid.gridArea(), platform::rectOfSize(23, 27, 723, 499 - 21));
}

TEST_F(GridLayout, LayoutKeepsTheFirstRowAndChannelInReach)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    v.firstRow = 50;
    v.cursorRow = 60;
    v.firstChannel = 60;
    v.cursorChannel = 63;
    rig.grid.layoutGrid(0, 0, 723, 499);
    EXPECT_LE(v.firstChannel, 64 - v.visibleChannels + 1);
    ASSERT_LT(v.visibleRows, 60);
    EXPECT_EQ(v.firstRow, 64 - v.visibleRows - 1);
    EXPECT_LE(v.firstRow, v.cursorRow);

    // A pattern shorter than the view starts at row 0; centralised, above it.
    rig.pattern().setLength(8);
    rig.grid.layoutGrid(0, 0, 723, 499);
    EXPECT_EQ(v.firstRow, 0);
    v.centralised = 1;
    v.cursorRow = 0;
    rig.grid.layoutGrid(0, 0, 723, 499);
    EXPECT_EQ(v.firstRow, -(v.visibleRows / 2));
}

TEST_F(GridLayout, RowYReadsTheDrawnLines)
{
    GridRig rig;
    TesselPatternView& v = rig.grid.view;
    const int h = v.rowHeight;
    v.visibleRows = 20;
    v.firstRow = 10;
    rig.grid.moveCursorTo(-1, 15);
    ASSERT_EQ(v.firstRow, 10);
    EXPECT_EQ(rig.grid.rowY(10, 0, false), 0);
    EXPECT_EQ(rig.grid.rowY(15, 0, false), 5 * h);
    EXPECT_EQ(rig.grid.rowY(15, 0, true), 6 * h);
    EXPECT_EQ(rig.grid.rowY(15, 3, false), 5 * h) << "a subrow of a one-line row is on the row's line";
    EXPECT_EQ(rig.grid.rowY(3, 0, false), 0) << "before the first line: the first line";
    EXPECT_EQ(rig.grid.rowY(3, 0, true), 0);
    EXPECT_EQ(rig.grid.rowY(200, 0, false), 20 * h) << "past the last line: the last";
    EXPECT_EQ(rig.grid.rowY(200, 0, true), 20 * h);
}

struct StepCase {
    int major;
    int minor;
    std::vector<int> majorRows;
    std::vector<int> minorRows;
    std::vector<int> plainRows;
};

class RowHighlights : public ModuleTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(RowHighlights, MajorRowsWin)
{
    GridRig rig;
    const StepCase& c = GetParam();
    rig.grid.setHighlights(c.major, c.minor);
    for (int r : c.majorRows)
        EXPECT_EQ(rig.grid.highlightOf(r), 1) << r;
    for (int r : c.minorRows)
        EXPECT_EQ(rig.grid.highlightOf(r), 2) << r;
    for (int r : c.plainRows)
        EXPECT_EQ(rig.grid.highlightOf(r), 0) << r;
}

INSTANTIATE_TEST_SUITE_P(Table, RowHighlights, ::testing::Values(
    StepCase{16, 4, {0, 16, 32, 240}, {4, 8, 12, 20, 252}, {1, 5, 17, 255, -1, 256, 1000}},
    StepCase{16, 0, {0, 16, 32}, {}, {4, 8, 12, 20}},
    StepCase{0, 3, {}, {0, 3, 6, 255}, {1, 2, 4}},
    StepCase{0, 0, {}, {}, {0, 1, 16}},
    StepCase{-4, -2, {}, {}, {0, 2, 4}},
    StepCase{5, 5, {0, 5, 10}, {}, {1, 4}}));

} // namespace
