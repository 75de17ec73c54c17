// The undo panel as drawn: its skin's size and place, the selected line's
// colours following the keys, and the open panel over a page in a headless
// window (written to screenshots/), restored with Enter and drawn again.
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/offscreen_context.h"
#include "gui/page_fixture.h"
#include "model/module_test_support.h"
#include "patterneditor/undo/undo_ui.h"
#include "platform/key_event.h"
#include "platform/system/folders.h"
#include "resources/palette.h"

#include <vector>

namespace {

namespace palette = resources::palette;
using K = TesselUndoUI;
using platform::Colour;

constexpr int kCellWidth = 8;
constexpr int kPaddedCells = 52;

// The pixels of one line's cells (with the fill's extra column and row), by colour.
struct LineLook {
    int highlight = 0;   // the selected fill
    int white = 0;       // the selected font
    int normal = 0;      // the plain font
    int well = 0;        // the skin behind plain lines
};

LineLook lookOfLine(const platform::Image& image, const TesselUndoUI& panel, int line, int firstCell, int cells)
{
    LineLook look;
    const int left = panel.left() + K::kTextLeft + firstCell * kCellWidth;
    const int top = panel.top() + K::kTextTop + K::kLineHeight * line;
    for (int y = top; y < top + K::kLineHeight; ++y)
        for (int x = left; x < left + cells * kCellWidth; ++x) {
            const Colour c = image.pixelAt(x, y);
            look.highlight += c == palette::kHighlight ? 1 : 0;
            look.white += c == palette::kInkWhite ? 1 : 0;
            look.normal += c == palette::kInkNormal ? 1 : 0;
            look.well += c == palette::kWell ? 1 : 0;
        }
    return look;
}

// The selected line fills exactly its 52 cells.
void expectFillOfLine(const platform::Image& image, const TesselUndoUI& panel, int line)
{
    const int left = panel.left() + K::kTextLeft;
    const int right = left + kPaddedCells * kCellWidth;
    const int top = panel.top() + K::kTextTop + K::kLineHeight * line;
    const int bottom = top + K::kLineHeight;
    for (auto [x, y] : {std::pair{left, top}, {left, bottom - 1}, {right - 1, top}, {right - 1, bottom - 1}})
        EXPECT_EQ(image.pixelAt(x, y), palette::kHighlight) << "line " << line << " at " << x << ", " << y;
    for (auto [x, y] : {std::pair{left - 1, top + 3}, {right, top + 3}, {left, top - 1}, {left, bottom}})
        EXPECT_NE(image.pixelAt(x, y), palette::kHighlight) << "line " << line << " at " << x << ", " << y;
}

struct SelectionCase {
    const char* name;
    std::vector<int> keys;
    int selected;
};

class UndoPanelSelection : public ModuleTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(UndoPanelSelection, OnlyTheSelectedLineIsWhiteOnTheHighlight)
{
    auto song = makeSong();
    TesselUndoUI panel(*song, [] { return TesselClockTime{9, 5}; });
    for (int n = 0; n < 4; ++n)
        panel.pushCheckpoint(song->patterns[0], "Note entry.");
    panel.open(40, 40);
    for (int key : GetParam().keys)
        panel.onKeyEvent(namedKey(static_cast<uint8_t>(key)));
    ASSERT_EQ(panel.selectedLine(), GetParam().selected);

    COffscreenContext context(nullptr, 520, 200, kBlackCColor);
    panel.draw(&context);
    const platform::Image& image = *context.getImage();
    for (int line = 0; line < TesselUndoHistory::kLines; ++line) {
        // Every line has text in its first cells; cell 40 on is padding.
        const LineLook text = lookOfLine(image, panel, line, 0, 7);
        const LineLook padding = lookOfLine(image, panel, line, 40, 12);
        if (line == GetParam().selected) {
            EXPECT_GT(text.white, 20) << line;
            EXPECT_EQ(text.normal, 0) << line;
            EXPECT_EQ(padding.highlight, 12 * 64) << line;
            expectFillOfLine(image, panel, line);
        } else {
            EXPECT_GT(text.normal, 20) << line;
            EXPECT_EQ(text.white + text.highlight, 0) << line;
            EXPECT_EQ(padding.well, 12 * 64) << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UndoPanelSelection, ::testing::Values(
    SelectionCase{"Opened", {}, 0},
    SelectionCase{"ThreeDown", {kVkDown, kVkDown, kVkDown}, 3},
    SelectionCase{"End", {kVkEnd}, 9},
    SelectionCase{"PageDownUp", {kVkPageDown, kVkUp}, 8},
    SelectionCase{"UpFromTheTop", {kVkUp, kVkUp}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

using UndoPanelPlace = ModuleTest;

TEST_F(UndoPanelPlace, TheSkinGivesTheSizeAndOpenGivesThePlace)
{
    auto song = makeSong();
    TesselUndoUI panel(*song);
    CBitmap skin(K::kBackgroundBitmap);
    ASSERT_GT(skin.getWidth(), K::kTextLeft + 53 * kCellWidth) << "the longest label fits";
    ASSERT_GT(skin.getHeight(), K::kTextTop + 10 * K::kLineHeight);
    CRect size;
    EXPECT_EQ(panel.getViewSize(size), CRect(0, 0, skin.getWidth(), skin.getHeight()));
    panel.open(40, 30);
    EXPECT_EQ(panel.getViewSize(size), CRect(40, 30, 40 + skin.getWidth(), 30 + skin.getHeight()));
    EXPECT_TRUE(panel.isShown());

    // The skin at its place, nothing outside it.
    COffscreenContext context(nullptr, 520, 200, kBlackCColor);
    panel.draw(&context);
    const platform::Image& image = *context.getImage();
    EXPECT_EQ(image.pixelAt(40 + 2, 30 + 60), skin.image().pixelAt(2, 60));
    EXPECT_EQ(image.pixelAt(39, 30 + 60), platform::rgb(0, 0, 0));
    EXPECT_EQ(image.pixelAt(40 + 2, 29), platform::rgb(0, 0, 0));
    EXPECT_EQ(image.pixelAt(40 + skin.getWidth(), 30 + 60), platform::rgb(0, 0, 0));
}

// The panel over the pattern editor's place in the editor window, as the
// user sees it; Enter restores the selected line and the panel shows the
// restore on its first line when opened again.
TEST_F(PageTest, TheOpenUndoPanelOverThePatternEditor)
{
    TesselModule song;
    TesselUndoUI panel(song, [] { return TesselClockTime{14, 27}; }, &fake);
    TesselRow& cell = song.patterns[0].tracks.getTrack(0).getRow(0);
    int16_t pitch = 10;
    for (const char* message : {"Note entry.", "Transpose selection up.", "User Checkpoint", "Interpolate volume."}) {
        cell.pitch = pitch++;
        panel.pushCheckpoint(song.patterns[0], message);
    }
    panel.open(40, 40);
    for (int key : {kVkDown, kVkDown})
        EXPECT_EQ(panel.onKeyEvent(namedKey(static_cast<uint8_t>(key))), 0);

    std::unique_ptr<CDrawContext> window = frame2->createWindowContext();
    TesselUI::drawBuffered(&panel, window.get(), patternEditor, false);
    const platform::Image& screen = frame2->getWindow()->image();
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(screen.writePng("screenshots/undo_panel.png"));
    EXPECT_EQ(screen.pixelAt(30, 30), platform::rgb(20, 20, 20)) << "the page under the panel";
    EXPECT_EQ(lookOfLine(screen, panel, 2, 40, 12).highlight, 12 * 64);
    EXPECT_GT(lookOfLine(screen, panel, 2, 0, 20).white, 50);
    EXPECT_GT(lookOfLine(screen, panel, 1, 0, 20).normal, 50);

    // Line 2 holds the checkpoint taken before the second edit.
    ASSERT_EQ(panel.onKeyEvent(namedKey(kVkEnter)), 1);
    EXPECT_FALSE(panel.isShown());
    ASSERT_EQ(panel.restoreCheckpoint(panel.selectedLine()), 0);
    EXPECT_EQ(song.patterns[0].tracks.trackAt(0)->rowAt(0)->pitch, 11);

    // Opened again: the restore is line 0, selected, drawn as its text reads.
    panel.open(40, 40);
    TesselUI::drawBuffered(&panel, window.get(), patternEditor, false);
    COffscreenContext expected(nullptr, 723, 499, kBlackCColor);
    const std::string text = "000: Undo 'Transpose selection up.'";
    ASSERT_EQ(panel.lineText(0).substr(0, text.size()), text);
    drawBitmapText(&expected, text.c_str(), 40 + K::kTextLeft, 40 + K::kTextTop, controlFont(TesselControlFont::Highlight, false), &K::kSelectedBackground);
    const int top = 40 + K::kTextTop;
    for (int y = top; y < top + K::kLineHeight; ++y)
        for (int x = 40 + K::kTextLeft; x < 40 + K::kTextLeft + int(text.size()) * kCellWidth; ++x)
            ASSERT_EQ(screen.pixelAt(x, y), expected.getImage()->pixelAt(x, y)) << x << ", " << y;
}

} // namespace
