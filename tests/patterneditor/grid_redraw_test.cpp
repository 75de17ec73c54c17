// What a redraw paints: only the slots that changed, the kept lines after a
// scroll exactly as a fresh draw would paint them, rows outside the pattern
// empty or from the song around it, and the key map's single track.
#include "grid_rig.h"

#include "engine/engine_fixture.h"
#include "patterneditor/grid/grid_colours.h"
#include "patterneditor/grid/track_grid.h"
#include "platform/status_text.h"
#include "resources/palette.h"

namespace {

bool samePixels(const platform::Image& a, const platform::Image& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!(a.pixelAt(x, y) == b.pixelAt(x, y)))
                return false;
    return true;
}

void fillPattern(TesselPattern& pattern, int channels)
{
    for (int c = 0; c < channels; ++c)
        for (int r = c % 3; r < pattern.length(); r += 2) {
            TesselRow& row = pattern.tracks.getTrack(c).getRow(r);
            row.pitch = int16_t((c * 5 + r) % 120);
            row.instrument = int16_t(1 + r % 20);
            row.volume = int16_t(r % 65);
            row.effect = {0, char('A' + r % 26), int16_t(r * 3 % 256)};
        }
}

class GridRedraw : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        rig = std::make_unique<GridRig>();
        fillPattern(rig->pattern(), 64);
        rig->grid.markAllDirty();
        rig->grid.view.visibleRows = 30;
    }
    platform::Image draw()
    {
        OffscreenPage page(900, 400, platform::rgb(1, 2, 3));
        rig->grid.drawCells(page.get(), 0, 0);
        return page.image().clone();
    }
    // What a grid that kept nothing would paint.
    platform::Image fresh()
    {
        rig->grid.releaseDrawingObjects();
        return draw();
    }

    std::unique_ptr<GridRig> rig;
};

TEST_F(GridRedraw, OnlyChangedSlotsArePainted)
{
    draw();
    const int all = rig->grid.paintedSlots();
    EXPECT_EQ(all, 31 * rig->grid.view.visibleChannels);
    draw();
    EXPECT_EQ(rig->grid.paintedSlots(), 0);

    rig->cell(2, 5).pitch = 100;
    rig->grid.markCellDirty(2, 5);
    draw();
    EXPECT_EQ(rig->grid.paintedSlots(), 1);

    rig->grid.moveCursorBy(1, 0);   // the column moves within the cell
    draw();
    EXPECT_EQ(rig->grid.paintedSlots(), 1);
    rig->grid.moveCursorBy(0, 1);   // to the next row: two cells
    draw();
    EXPECT_EQ(rig->grid.paintedSlots(), 2);

    rig->grid.markAllDirty();
    draw();
    EXPECT_EQ(rig->grid.paintedSlots(), all);
}

TEST_F(GridRedraw, KeptLinesAfterAScrollMatchAFreshDraw)
{
    draw();
    struct Step {
        const char* name;
        float wheel;
        int columns;
        int painted;   // in lines or channel columns of slots
    };
    const int lines = 31;
    const int channels = rig->grid.view.visibleChannels;
    // The cursor pulled along by the wheel repaints its new cell too.
    for (const Step& s : {Step{"Down1", -1.0f, 0, channels + 1}, Step{"Down3", -3.0f, 0, 3 * channels + 1},
                          Step{"Up2", 2.0f, 0, 2 * channels}, Step{"RightPastTheView", 0, 9 * 12, -1},
                          Step{"LeftOneChannel", 0, -9 * 12 + 9 * 3, -1}}) {
        SCOPED_TRACE(s.name);
        if (s.wheel != 0)
            rig->grid.scrollRows(0, 0, s.wheel);
        if (s.columns != 0)
            rig->grid.moveCursorBy(s.columns, 0);
        const platform::Image kept = draw();
        if (s.painted >= 0) {
            EXPECT_EQ(rig->grid.paintedSlots(), s.painted);
        } else {
            EXPECT_LT(rig->grid.paintedSlots(), lines * channels);
        }
        EXPECT_TRUE(samePixels(kept, fresh()));
    }
}

TEST_F(GridRedraw, RowsOutsideThePatternDrawEmptyAndCreateNothing)
{
    TesselPattern& pattern = rig->song().patterns[3];
    pattern.setLength(10);
    rig->grid.setPattern(&pattern, &rig->host, 0, 0, 723, 499);
    rig->grid.view.centralised = 1;
    rig->grid.view.visibleRows = 30;
    rig->grid.moveCursorTo(0, 0);
    ASSERT_EQ(rig->grid.view.firstRow, -15);
    const platform::Image page = draw();
    const int h = rig->grid.view.rowHeight;
    EXPECT_EQ(page.pixelAt(2, 0), gridColour(kColourPlainRow));
    EXPECT_EQ(page.pixelAt(2, 14 * h), gridColour(kColourPlainRow)) << "row -1";
    EXPECT_EQ(page.pixelAt(2, 15 * h), gridColour(kColourMajorRow)) << "row 0";
    EXPECT_EQ(page.pixelAt(2, 25 * h), gridColour(kColourPlainRow)) << "row 10, past the end";
    EXPECT_EQ(page.pixelAt(2, 29 * h), gridColour(kColourPlainRow)) << "row 14";
    for (int c = 0; c < kChannels; ++c)
        EXPECT_EQ(pattern.tracks.trackAt(c), nullptr) << "drawing created track " << c;
    // Nothing was drawn outside the rows.
    for (int line : {0, 14, 25, 29})
        EXPECT_FALSE(hasInk(page, {0, line * h, 86, (line + 1) * h}, gridColour(kColourInk),
                            gridColour(kColourPlainRow)))
            << line;
    EXPECT_TRUE(hasInk(page, {0, 15 * h, 86, 16 * h}, gridColour(kColourInk), gridColour(kColourMajorRow)));
}

TEST_F(GridRedraw, VolumeColumnShowsPanningAfterTheToggle)
{
    rig->cell(0, 0).volume = 12;
    rig->cell(0, 0).panning = 34;
    rig->grid.markAllDirty();
    rig->grid.formatCells();
    EXPECT_EQ(std::string(rig->grid.cellText(0, 0).data() + 7, 4), " 12 ");
    rig->grid.toggleVolumeColumn();
    EXPECT_EQ(platform::statusText(), "Panning control set.");
    EXPECT_EQ(std::string(rig->grid.cellText(0, 0).data() + 7, 4), " 34 ");
    const platform::Image panning = draw();
    rig->grid.toggleVolumeColumn();
    EXPECT_EQ(platform::statusText(), "Volume control set.");
    EXPECT_FALSE(samePixels(draw(), panning));
    rig->grid.view.volumeMode = kShowDepth;
    rig->grid.toggleVolumeColumn();
    EXPECT_EQ(rig->grid.view.volumeMode, kShowVolume) << "depth mode goes back to volume";
}

TEST_F(GridRedraw, PlayingLineIsUnderlined)
{
    OffscreenPage offscreen(900, 400);
    rig->grid.drawCells(offscreen.get(), 0, 0);
    rig->grid.drawPlayingLine(offscreen.get(), 0, 0, 3);
    const platform::Image& page = offscreen.image();
    const int h = rig->grid.view.rowHeight;
    EXPECT_EQ(page.pixelAt(1, 3 * h), gridColour(kColourPlayRow));
    EXPECT_EQ(page.pixelAt(1, 4 * h - 1), gridColour(kColourPlayLine));
    EXPECT_EQ(page.pixelAt(1, 4 * h), gridColour(kColourMinorRow)) << "row 4 untouched";
}

// The song around the pattern: order 0 plays pattern 1, order 1 pattern 0,
// order 2 pattern 2.
class SongStrips : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        TesselModule& song = engine->song;
        for (int p = 0; p < 3; ++p)
            song.patterns[size_t(p)].setLength(16);
        song.orderList.entries[0].pattern = 1;
        song.orderList.entries[1].pattern = 0;
        song.orderList.entries[2].pattern = 2;
        song.orderList.updateLength();
        song.patterns[1].tracks.getTrack(0).getRow(15).pitch = 50;
        song.patterns[2].tracks.getTrack(0).getRow(0).pitch = 51;
        engine->rebuildSongPlaylist(nullptr, false);
        rig = std::make_unique<GridRig>(723, 499, engine.get(), &song);
        rig->grid.view.centralised = 1;
        rig->grid.view.visibleRows = 20;
        rig->grid.moveCursorTo(0, 0);
    }
    // Pixels of the marked ink in a line's note field: a note has many
    // more than the three middle dots of an empty one.
    int songInk(const platform::Image& page, int line)
    {
        const int h = rig->grid.view.rowHeight;
        int count = 0;
        for (int y = line * h; y < (line + 1) * h; ++y)
            for (int x = 8; x < 26; ++x)
                count += inkPixel(page.pixelAt(x, y), gridColour(kColourMarkedInk), gridColour(kColourPlainRow));
        return count;
    }
    platform::Image draw()
    {
        OffscreenPage page(723, 499);
        rig->grid.drawCells(page.get(), 0, 0);
        return page.image().clone();
    }
    std::unique_ptr<GridRig> rig;
};

TEST_F(SongStrips, RowsAroundThePatternComeFromTheSong)
{
    ASSERT_EQ(rig->grid.view.firstRow, -10);
    rig->grid.fillSongStrips(1);
    platform::Image page = draw();
    const int dots = songInk(page, 8);
    EXPECT_GT(dots, 0) << "row -2 is pattern 1's row 14, empty";
    EXPECT_GT(songInk(page, 9), dots + 5) << "row -1 is pattern 1's last row, with its note";
    rig->grid.moveCursorTo(0, 15);
    page = draw();
    ASSERT_EQ(rig->grid.view.firstRow, 5);
    EXPECT_GT(songInk(page, 11), dots + 5) << "row 16 is pattern 2's first row";
    EXPECT_GT(songInk(page, 12), 0);

    // Another pattern at the position: blank strips.
    rig->grid.fillSongStrips(0);
    page = draw();
    EXPECT_EQ(songInk(page, 11), 0);
    rig->grid.fillSongStrips(-1);
    EXPECT_EQ(songInk(draw(), 12), 0);
}

using KeyMapTrack = ModuleTest;

TEST_F(KeyMapTrack, DrawsItsRowsWithSelectedFieldsInTheMarkedInk)
{
    registerGridFont();
    auto song = makeSong();
    TesselTrackUI keys(*song, nullptr);
    keys.useKeyMapFont();
    keys.layoutTrack(20, 40, 300, 300);
    EXPECT_EQ(keys.view.rowHeight, 12);
    EXPECT_EQ(keys.view.visibleRows, 260 / 12 + 1);
    EXPECT_EQ(keys.patternLength(), 120);
    keys.track().getRow(2).pitch = 62;
    keys.track().getRow(2).instrument = 3;
    keys.markAllDirty();

    OffscreenPage offscreen(400, 400, platform::rgb(1, 2, 3));
    const platform::Image& page = offscreen.image();
    keys.drawTrack(offscreen.get());
    const auto inkIn = [&](int row, platform::Colour ink) {
        return hasInk(page, {20, 40 + row * 12, 50, 40 + (row + 1) * 12}, ink, gridColour(kColourPlainRow));
    };
    EXPECT_TRUE(inkIn(2, gridColour(kColourInk)));
    EXPECT_FALSE(inkIn(2, gridColour(kColourMarkedInk)));
    EXPECT_EQ(page.pixelAt(19, 40), platform::rgb(1, 2, 3)) << "only the grid's rectangle";
    ASSERT_FALSE(keys.lines().empty());
    EXPECT_EQ(keys.rowY(3, 0, false), 36);

    keys.selection.select(&keys.trackPattern(), {0, 0, 2, 0}, {0, 8, 2, 0});
    keys.drawTrack(offscreen.get());
    EXPECT_TRUE(inkIn(2, gridColour(kColourMarkedInk)));
    EXPECT_FALSE(inkIn(2, gridColour(kColourInk)));
    EXPECT_EQ(song->patterns[0].tracks.trackAt(0), nullptr) << "the key map works on its own pattern";
}

} // namespace
