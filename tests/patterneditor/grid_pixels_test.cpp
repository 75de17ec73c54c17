// Pixels of a grid drawn from a known pattern: row highlights, header
// shades, the drag outline and the cursor guide.
#include "grid_rig.h"

#include "patterneditor/grid/cursor_guide.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/hatch.h"
#include "platform/system/folders.h"

#include <cstdio>

namespace {

using platform::Colour;
using platform::rgb;

class GridPixels : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        rig = std::make_unique<GridRig>();
        TesselPattern& pattern = rig->pattern();
        pattern.minorStep = 4;
        pattern.majorStep = 16;
        rig->grid.setPattern(&pattern, &rig->host, 0, 0, 723, 499);
        rig->grid.layoutGrid(0, 0, 723, 499);
        for (int row = 0; row < 64; row += 3) {
            TesselSubrow& cell = rig->cell(row % 5, row);
            cell.pitch = int16_t(48 + row % 24);
            cell.instrument = 1;
            cell.volume = 64 - row;
            cell.effect.command = 'D';
            cell.effect.parameter = 0x0F;
        }
        rig->song().channels[2].colour = 0x3060C0;   // COLORREF: red 0xC0, green 0x60, blue 0x30
        rig->grid.renderChannelHeader(2);
    }

    // The page as the headless window shows it: headers and cells, then
    // what `over` draws.
    template <class Over>
    void draw(Over over)
    {
        page = window.show(rgb(1, 2, 3), [&](CDrawContext* context) {
                   const platform::Point origin = rig->grid.gridOrigin();
                   rig->grid.drawChannelHeaders(context, origin.x, origin.y - 14);
                   rig->grid.drawCells(context, origin.x, origin.y);
                   over(context);
               }).clone();
    }
    void draw()
    {
        draw([](CDrawContext*) {});
    }

    Colour cellPixel(int channel, int row, int dx = 2) const
    {
        const platform::Point origin = rig->grid.gridOrigin();
        return page.pixelAt(origin.x + channel * rig->grid.view.channelWidth + dx,
                            origin.y + row * rig->grid.view.rowHeight);
    }

    HeadlessPage window{723, 499};
    std::unique_ptr<GridRig> rig;
    platform::Image page;
};

TEST_F(GridPixels, RowBackgroundsFollowTheHighlightSteps)
{
    draw();
    EXPECT_EQ(cellPixel(1, 0), gridColour(kColourMajorRow));
    EXPECT_EQ(cellPixel(1, 4), gridColour(kColourMinorRow));
    EXPECT_EQ(cellPixel(1, 5), gridColour(kColourPlainRow));
    EXPECT_EQ(cellPixel(1, 16), gridColour(kColourMajorRow));

    // A selection takes its rows out of their highlights.
    rig->grid.selection.select(&rig->pattern(), {1, 0, 4, 0}, {1, 8, 5, 0});
    draw();
    EXPECT_EQ(cellPixel(1, 4), gridColour(kColourSelection));
    EXPECT_EQ(cellPixel(1, 5), gridColour(kColourSelection));
    EXPECT_EQ(cellPixel(1, 6), gridColour(kColourPlainRow));
    EXPECT_EQ(cellPixel(2, 4), gridColour(kColourMinorRow));
}

TEST_F(GridPixels, HeaderShadesRunFromTheColourTowardHalfOfIt)
{
    draw();
    const platform::Point origin = rig->grid.gridOrigin();
    const int width = rig->grid.view.channelWidth;
    // Channel 1 has no colour (0x9C948C draws); channel 2 is (0xC0, 0x60, 0x30).
    const auto shade = [&](int channel, int k) { return page.pixelAt(origin.x + 1 + channel * width + 2, origin.y - 14 + k); };
    // h rounded to nearest: (71, 75, 79).
    EXPECT_EQ(shade(1, 0), rgb(133, 141, 149));
    EXPECT_EQ(shade(1, 8), rgb((2 * 140 + 9 * 71) / 11, (2 * 148 + 9 * 75) / 11, (2 * 156 + 9 * 79) / 11));
    const auto expected = [](Colour c, int k) {
        const auto part = [k](int v) {
            const int half = (v * 64 * 2 + 127) / (127 * 2);
            return uint8_t(((10 - k) * v + (k + 1) * half) / 11);
        };
        return rgb(part(c.red), part(c.green), part(c.blue));
    };
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(shade(1, k), expected(rgb(140, 148, 156), k)) << k;
        EXPECT_EQ(shade(2, k), expected(rgb(0xC0, 0x60, 0x30), k)) << k;
    }
    // Below the shades, the colour itself in a 5-pixel strip at the channel's left.
    EXPECT_EQ(page.pixelAt(origin.x + 1 + 2 * width + 4, origin.y - 14 + 10), rgb(0xC0, 0x60, 0x30));

    // A muted channel shows its muted strip.
    rig->song().channels[2].mute = 1;
    draw();
    EXPECT_NE(shade(2, 0), expected(rgb(0xC0, 0x60, 0x30), 0));
}

TEST_F(GridPixels, DragOutlineHasItsPenAndHatches)
{
    rig->grid.selection.select(&rig->pattern(), {0, 0, 0, 0}, {1, 8, 7, 0});
    rig->grid.selection.dragging = 1;
    rig->grid.moveCursorTo(2 * 9, 4);
    const Colour pen = platform::fromColorRef(TesselPatternUI::kDragPen);
    EXPECT_EQ(pen, rgb(51, 102, 153));
    const platform::Point origin = rig->grid.gridOrigin();
    const int width = rig->grid.view.channelWidth;
    const int height = rig->grid.view.rowHeight;
    const int left = origin.x + 2 * width + rig->grid.metrics().own.positions[1];
    const int right = origin.x + 4 * width;
    const int top = origin.y + 4 * height;
    const int bottom = origin.y + 12 * height;

    struct Case {
        uint8_t keys;
        bool sides;
        int hatch;   // -1 none
    };
    for (const Case& c : {Case{0, true, -1}, Case{kDragShift, false, -1},
                          Case{kDragAlt, true, int(platform::Hatch::backwardDiagonal)},
                          Case{kDragAlt | kDragShift, true, int(platform::Hatch::diagonalCross)}}) {
        draw([&](CDrawContext* context) { rig->grid.drawDragOutline(context, origin.x, origin.y, 0, c.keys); });
        SCOPED_TRACE(int(c.keys));
        EXPECT_EQ(page.pixelAt(left + 20, top - 2), pen);
        EXPECT_EQ(page.pixelAt(left + 20, top + 1), pen);
        EXPECT_NE(page.pixelAt(left + 20, top - 3), pen);
        EXPECT_EQ(page.pixelAt(left, top + 30) == pen, c.sides);
        EXPECT_EQ(page.pixelAt(right + 1, top + 30) == pen, c.sides);
        EXPECT_EQ(page.pixelAt(left + 20, bottom) == pen, c.sides);
        int hatched = 0;
        int expected = 0;
        for (int y = top + 3; y < bottom - 3; ++y)
            for (int x = left + 3; x < right - 3; ++x) {
                const bool covered = c.hatch >= 0 && platform::hatchCovers(platform::Hatch(c.hatch), x, y);
                expected += covered;
                hatched += page.pixelAt(x, y) == pen;
                if (covered) {
                    ASSERT_EQ(page.pixelAt(x, y), pen) << x << "," << y;
                }
            }
        EXPECT_EQ(hatched, expected);
    }
}

TEST_F(GridPixels, CursorGuideFadesIn)
{
    EXPECT_EQ(cursorGuideAlpha(0), 0);
    EXPECT_EQ(cursorGuideAlpha(15), 64);
    EXPECT_EQ(cursorGuideAlpha(30), 255);
    EXPECT_EQ(cursorGuideAlpha(45), 255);

    rig->grid.moveCursorTo(9, 2);
    draw();
    const platform::Image before = page.clone();
    const platform::Point origin = rig->grid.gridOrigin();
    // The box's face is at its inner corner: beside channel 1, under row 2.
    const int x = origin.x + 2 * rig->grid.view.channelWidth + 2 + 1;
    const int y = origin.y + 3 * rig->grid.view.rowHeight + 1;
    const Colour under = before.pixelAt(x, y);
    const auto blend = [](int source, int destination, int alpha) {
        return (source * alpha + destination * (255 - alpha) + 127) / 255;
    };
    const Colour face = gridColour(kColourGuideFace);
    for (int step : {15, 30}) {
        draw([&](CDrawContext* context) {
            rig->grid.drawCursorGuide(context, origin.x, origin.y, rig->grid.cellAtCursor(), step);
        });
        const int alpha = cursorGuideAlpha(step);
        const Colour got = page.pixelAt(x, y);
        const auto near = [&](int component, int base, int faceComponent) {
            const int darkened = blend(0, base, 16);
            EXPECT_NEAR(component, blend(faceComponent, darkened, alpha), 1) << step;
        };
        near(got.red, under.red, face.red);
        near(got.green, under.green, face.green);
        near(got.blue, under.blue, face.blue);
    }
}

TEST_F(GridPixels, ScreenshotOfADemoGrid)
{
    rig->grid.selection.select(&rig->pattern(), {1, 0, 6, 0}, {2, 8, 9, 0});
    rig->grid.moveCursorTo(3 * 9 + 6, 12);
    rig->song().channels[0].colour = 0x2080E0;
    std::snprintf(rig->song().channels[0].name, sizeof rig->song().channels[0].name, "Drums");
    rig->grid.renderChannelHeader(-1);
    const platform::Point origin = rig->grid.gridOrigin();
    draw([&](CDrawContext* context) {
        rig->grid.drawCursorGuide(context, origin.x, origin.y, rig->grid.cellAtCursor(), 30);
    });
    // Kept beside the test program for a person to look at.
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(page.writePng("screenshots/pattern_grid.png"));
}

} // namespace
