// The pattern overview panel over the pattern editor page, through the
// editor window: the map's pixels for every field, the volume column's
// modes, selections and row highlights, the view frame and the play line,
// the keys that keep it open or close it, and its mouse.
#include "pattern_page_fixture.h"

#include "patterneditor/grid/grid_colours.h"
#include "patterneditor/overview/overview_map.h"
#include "patterneditor/overview/overview_ui.h"

#include <set>

namespace {

using namespace platform;

class OverviewTest : public PatternPageTest {
protected:
    TesselOverviewUI& panel() { return *dynamic_cast<TesselOverviewUI*>(page().overviewPanel()); }
    void openPanel()
    {
        press(kWinOem7);   // '#'
        ASSERT_TRUE(panel().isShown());
    }
    CRect panelArea()
    {
        CRect area;
        panel().getViewSize(area);
        return area;
    }
    // What the window shows at a point of the panel.
    Colour at(const Image& image, int x, int y)
    {
        const CRect area = panelArea();
        return image.pixelAt(area.left + x, area.top + y);
    }
    // The palette entry shown at field k of a channel's row; -1 for none.
    int entryAt(const Image& image, int channel, int k, int row)
    {
        const Colour shown = at(image, TesselOverviewUI::kMapLeft + kOverviewChannelWidth * channel + k,
                                TesselOverviewUI::kMapTop + row);
        const auto& palette = overviewPalette();
        for (size_t i = 0; i < palette.size(); ++i)
            if (palette[i] == shown)
                return int(i);
        return -1;
    }
    // The five field pixels of a cell: which are lit, 'x' for a lit one in
    // its field's colour, else the background entry's digit.
    std::string fields(const Image& image, int channel, int row)
    {
        std::string text;
        for (int k = 0; k < 5; ++k) {
            const int entry = entryAt(image, channel, k, row);
            text += entry == kOverviewNote + k ? 'x' : char('0' + entry);
        }
        return text;
    }
    void clickAt(Point p)
    {
        windows.injectMove(pagesWindow(), p);
        windows.injectButton(pagesWindow(), p, kLeftButton, true);
        windows.injectButton(pagesWindow(), p, kLeftButton, false);
        idle();
    }
    int countInRow(const Image& image, int y, Colour colour)
    {
        int n = 0;
        for (int x = 0; x < panelArea().width(); ++x)
            n += at(image, x, y) == colour;
        return n;
    }
};

TEST_F(OverviewTest, EachFieldLightsItsPixelAndTheVolumeColumnFollowsItsMode)
{
    writable(0, 5).pitch = 60;
    writable(1, 5).instrument = 3;
    writable(2, 5).volume = 40;
    writable(3, 5).effect.command = 'A';
    writable(4, 5).effect.parameter = 0x10;
    writable(5, 5).panning = 32;
    writable(6, 5).depth = 12;
    writable(7, 0).effect.command = 'T';   // a major row
    writable(7, 4).effect.command = 'T';   // a minor row
    openPanel();
    const Image& image = shown();
    struct Case {
        int channel;
        const char* expected;
    };
    for (const Case& c : {Case{0, "x0000"}, Case{1, "0x000"}, Case{2, "00x00"}, Case{3, "000x0"},
                          Case{4, "0000x"}, Case{5, "00000"}, Case{6, "00000"}})
        EXPECT_EQ(fields(image, c.channel, 5), c.expected) << c.channel;
    EXPECT_EQ(fields(image, 7, 0), "111x1");
    EXPECT_EQ(fields(image, 7, 4), "222x2");
    EXPECT_EQ(fields(image, 7, 1), "00000");
    // The sixth column, channels without a track and rows past the pattern
    // show the background.
    for (int row : {0, 5, 64, 255})
        for (int channel : {0, 4, 40, 63})
            EXPECT_EQ(entryAt(image, channel, 5, row), kOverviewPlainRow) << channel << ", " << row;
    for (auto [channel, row] : {std::pair{40, 0}, {63, 5}, {0, 64}, {7, 100}, {63, 255}})
        EXPECT_EQ(fields(image, channel, row), "00000") << channel << ", " << row;

    // Panning mode: panning and depth light the volume column, a volume not.
    press(kWinEscape);
    ASSERT_FALSE(panel().isShown());
    clickAt({grid().gridOrigin().x - 2, 30});   // the header band over the row numbers
    ASSERT_EQ(view().volumeMode, kShowPanning);
    openPanel();
    const Image& panning = shown();
    EXPECT_EQ(fields(panning, 2, 5), "00000");
    EXPECT_EQ(fields(panning, 5, 5), "00x00");
    EXPECT_EQ(fields(panning, 6, 5), "00x00");
}

TEST_F(OverviewTest, AnEmptyPatternShowsOnlyRowKindsAndSelectedCellsMoveTheirBackground)
{
    // Empty tracks: every row is drawn, in its row kind's colour only.
    for (int c = 0; c < kChannels; ++c)
        pattern().tracks.getTrack(c);
    openPanel();
    const Image& empty = shown();
    const CRect frame = panel().viewFrame();
    std::set<int> entries;
    for (int row = 0; row < kOverviewMapHeight; ++row)
        for (int x = 0; x < kOverviewMapWidth; ++x) {
            const int px = x + TesselOverviewUI::kMapLeft;
            const int py = row + TesselOverviewUI::kMapTop;
            if (px != frame.left && px != frame.right && py != frame.top && py != frame.bottom)
                entries.insert(entryAt(empty, x / kOverviewChannelWidth, x % kOverviewChannelWidth, row));
        }
    EXPECT_EQ(entries, (std::set<int>{kOverviewPlainRow, kOverviewMajorRow, kOverviewMinorRow}));

    press(kWinEscape);
    for (int c = 0; c < 4; ++c)
        writable(c, 5).pitch = static_cast<int16_t>(50 + c);
    moveCursor(1, 0, 3);
    alt('B');
    moveCursor(2, 0, 6);
    alt('E');
    ASSERT_TRUE(grid().selection.active);
    openPanel();
    const Image& image = shown();
    EXPECT_EQ(fields(image, 1, 4), "55555");   // minor row, selected
    EXPECT_EQ(fields(image, 2, 3), "33333");   // plain row, selected
    EXPECT_EQ(fields(image, 1, 5), "x3333");   // lit stays lit
    EXPECT_EQ(fields(image, 0, 4), "22222");   // beside the selection
    EXPECT_EQ(fields(image, 3, 5), "x0000");
    EXPECT_EQ(fields(image, 1, 7), "00000");   // below it
}

TEST_F(OverviewTest, TheFrameShowsWhatTheGridShowsAndThePlayLineFollowsPlayback)
{
    writable(0, 0).pitch = 60;
    writable(0, 0, 3).pitch = 60;
    pattern().setLength(256);
    page().goToPattern(0, true);
    openPanel();
    view().firstChannel = 0;
    view().visibleChannels = 16;
    view().firstRow = 0;
    view().visibleRows = 32;
    const Colour frame = overviewPalette()[kOverviewFrame];
    const Image& image = shown();
    for (auto [x, y] : {std::pair{8, 19}, {98, 19}, {8, 52}, {98, 52}, {50, 19}, {50, 52}, {8, 30}, {98, 30}})
        EXPECT_EQ(at(image, x, y), frame) << x << ", " << y;
    for (auto [x, y] : {std::pair{7, 19}, {99, 19}, {8, 18}, {8, 53}, {50, 30}})
        EXPECT_NE(at(image, x, y), frame) << x << ", " << y;

    // Page Down moves the grid, and the frame with it.
    for (int i = 0; i < 4; ++i)
        press(kWinNext);
    EXPECT_TRUE(panel().isShown());
    const int first = view().firstRow;
    ASSERT_GT(first, 0);
    const CRect moved = panel().viewFrame();
    EXPECT_EQ(moved.top, first + 19);
    EXPECT_EQ(moved.bottom, std::min(first + view().visibleRows, 256) + 20);
    EXPECT_EQ(at(shown(), 8, first + 19), frame);

    // The play line: this pattern playing, at the playing row across the map.
    const Colour line = gridColour(kColourPlayLine);
    editor->playPattern(0, 0);
    render(48);
    int32_t order = 0;
    int32_t playing = 0;
    int32_t row = 0;
    editor->playingPosition(order, playing, row);
    ASSERT_EQ(playing, 0);
    ASSERT_GE(row, 3);
    const Image& played = shown();
    EXPECT_EQ(countInRow(played, row + 20, line), 385);
    EXPECT_EQ(countInRow(played, row + 21, line), 0);
    render(32);
    int32_t later = 0;
    editor->playingPosition(order, playing, later);
    ASSERT_GT(later, row);
    EXPECT_EQ(countInRow(shown(), later + 20, line), 385);

    // Another pattern playing: none.
    editor->playPattern(3, 0);
    render(48);
    editor->playingPosition(order, playing, row);
    ASSERT_EQ(playing, 3);
    EXPECT_EQ(panel().playLineY(), -1);
    EXPECT_EQ(countInRow(shown(), row + 20, line), 0);
    engine().stop();
}

TEST_F(OverviewTest, NavigationKeysGoOnToTheGridAndAnyOtherKeyOnlyClosesThePanel)
{
    writable(0, 2).pitch = 60;
    writable(9, 40).pitch = 61;
    const std::string before = markup();
    moveCursor(0, 0, 10);
    openPanel();
    // 100 draws leave the song as it was: no track made for empty channels.
    for (int i = 0; i < 100; ++i)
        shown();
    EXPECT_EQ(markup(), before);
    for (int c : {1, 2, 8, 10, 63})
        EXPECT_EQ(pattern().tracks.trackAt(c), nullptr) << c;

    windows.injectKey('Q', false);   // a release alone: never seen
    idle();
    EXPECT_TRUE(panel().isShown());
    press(kWinDown);
    EXPECT_TRUE(panel().isShown());
    EXPECT_EQ(grid().view.cursorRow, 11);
    press(kWinRight);
    EXPECT_EQ(grid().view.cursorColumn, 1);
    for (uint8_t key : {kWinEnd, kWinHome, kWinLeft, kWinUp, kWinPrior, kWinNext, kWinTab, kWinShift, kWinControl,
                        kWinMenu}) {
        press(key);
        EXPECT_TRUE(panel().isShown()) << int(key);
    }
    control('C');
    EXPECT_TRUE(panel().isShown());

    moveCursor(0, 0, 3);
    type("q");
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(markup(), before);   // no note written unseen
    type("q");
    EXPECT_NE(markup(), before);   // with the panel closed, a note

    // Keys that close it: a digit, Escape, Return.
    for (uint8_t key : {uint8_t('5'), uint8_t(kWinEscape), uint8_t(kWinReturn)}) {
        openPanel();
        const std::string now = markup();
        press(key);
        EXPECT_FALSE(panel().isShown()) << int(key);
        EXPECT_EQ(markup(), now) << int(key);
    }
    // Pad plus shows the next pattern with the panel still open.
    openPanel();
    press(kWinAdd);
    EXPECT_TRUE(panel().isShown());
    EXPECT_EQ(page().getCurrentPattern(), 1);
}

TEST_F(OverviewTest, ClicksInThePanelStayThereItsTitleDragsItAndItsCloseBoxClosesIt)
{
    openPanel();
    moveCursor(0, 0, 0);
    const CRect area = panelArea();
    // A click on the map: the grid beneath keeps its cursor and gets no selection.
    clickAt({int(area.left) + 60, int(area.top) + 100});
    EXPECT_TRUE(panel().isShown());
    EXPECT_EQ(view().cursorRow, 0);
    EXPECT_FALSE(grid().selection.active);
    EXPECT_EQ(panelArea(), area);

    // The title strip drags it; a later click in it does not.
    drag({int(area.left) + 40, int(area.top) + 5}, {int(area.left) + 70, int(area.top) + 25});
    const CRect moved = panelArea();
    EXPECT_EQ(moved.left, area.left + 30);
    EXPECT_EQ(moved.top, area.top + 20);
    EXPECT_FALSE(panel().isDragging());
    clickAt({int(moved.left) + 60, int(moved.top) + 100});
    EXPECT_EQ(panelArea(), moved);

    // The close box closes it; the next click reaches the grid.
    clickAt({int(moved.right) - 6, int(moved.top) + 7});
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(panelArea(), moved);
    clickAt(cellPoint(2, 5));
    EXPECT_EQ(view().cursorChannel, 2);
    EXPECT_EQ(view().cursorRow, 5);
}

} // namespace
