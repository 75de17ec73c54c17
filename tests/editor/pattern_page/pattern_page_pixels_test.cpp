// The composed page as the editor window shows it: the playing row bar
// while the engine renders blocks, the cursor's row number, pattern follow,
// and a picture of the page with a demo song.
#include "pattern_page_fixture.h"

#include "patterneditor/grid/grid_colours.h"

namespace {

using namespace platform;

// Pixels of one colour in a band of the image.
int countColour(const Image& image, const Rect& band, Colour colour)
{
    int count = 0;
    for (int y = band.top; y < band.bottom; ++y)
        for (int x = band.left; x < band.right; ++x)
            count += image.pixelAt(x, y) == colour;
    return count;
}

class PatternPixelsTest : public PatternPageTest {
protected:
    // The band of the window showing a row's line, cells or row number.
    Rect lineBand(int row, bool rowNumber)
    {
        const Point origin = grid().gridOrigin();
        const int top = origin.y + (row - view().firstRow) * view().rowHeight;
        return rowNumber ? Rect{0, top, origin.x - 1, top + view().rowHeight}
                         : Rect{origin.x, top, origin.x + 4 * view().channelWidth, top + view().rowHeight};
    }
};

TEST_F(PatternPixelsTest, ThePlayingRowBarFollowsTheEngineAndTheCursorsRowNumberIsLit)
{
    fillDemoSong();
    moveCursor(0, 0, 20);
    editor->playPattern(0, 0);
    render(48);   // 24576 frames: row 4 at 120 bpm and 4 rows a beat
    int32_t order = 0;
    int32_t playing = 0;
    int32_t row = 0;
    editor->playingPosition(order, playing, row);
    ASSERT_EQ(playing, 0);
    ASSERT_GE(row, 3);
    const Image& image = shown();
    const Colour bar = gridColour(kColourPlayRow);
    EXPECT_GT(countColour(image, lineBand(row, false), bar), 4 * view().channelWidth * view().rowHeight / 3);
    EXPECT_EQ(countColour(image, lineBand(row + 1, false), bar), 0);
    EXPECT_EQ(countColour(image, lineBand(row - 1, false), bar), 0);

    const Colour lit = gridColour(kColourCursor);
    const Rect cursorNumber = lineBand(20, true);
    EXPECT_GT(countColour(image, cursorNumber, lit), cursorNumber.width() * cursorNumber.height() / 2);
    EXPECT_EQ(countColour(image, lineBand(19, true), lit), 0);
    EXPECT_EQ(countColour(image, lineBand(21, true), lit), 0);

    // Stopped, the bar is gone.
    engine().stop();
    EXPECT_EQ(countColour(shown(), lineBand(row, false), bar), 0);
}

TEST_F(PatternPixelsTest, WithPatternFollowBlocksMoveThePageToThePlayingPatternAndRow)
{
    control('F');
    ASSERT_EQ(pluginPreferences().followPattern, 1);
    ASSERT_EQ(engine().preferences.followPattern, 1);
    writable(0, 0, 3).pitch = 60;
    editor->playPattern(3, 0);
    render(64);
    idle();
    int32_t order = 0;
    int32_t playing = 0;
    int32_t row = 0;
    editor->playingPosition(order, playing, row);
    EXPECT_EQ(playing, 3);
    EXPECT_GE(row, 4);
    EXPECT_EQ(page().getCurrentPattern(), 3);
    EXPECT_EQ(page().getCurrentRow(), row);
    // Entries do not step the cursor while the view follows playback.
    type("q");
    EXPECT_EQ(page().getCurrentRow(), row);
    engine().stop();
}

TEST_F(PatternPixelsTest, ChannelNamesStandWholeOnTheHeadersShadedBandAboveTheSkin)
{
    // Two headers alike but for the name: only the band above the skin may differ.
    std::snprintf(song().channels[3].name, sizeof song().channels[3].name, "%s", "Bass");
    song().channels[4].name[0] = 0;
    grid().renderChannelHeader(-1);
    const Image& image = shown();
    const int top = grid().gridOrigin().y - TesselPatternUI::kHeaderHeight;
    const int width = view().channelWidth;
    const int letter = grid().gridFont()->metrics().averageCharWidth;
    const auto differing = [&](int from, int to) {
        int count = 0;
        for (int y = top + from; y < top + to; ++y)
            for (int dx = 7 + 3 * letter; dx < 7 + 7 * letter; ++dx) {
                const int x = grid().gridOrigin().x + 1 + dx;
                count += image.pixelAt(x + 3 * width, y) == image.pixelAt(x + 4 * width, y) ? 0 : 1;
            }
        return count;
    };
    constexpr int kSkinTop = 9;
    EXPECT_GT(differing(0, kSkinTop), 4 * letter);   // the name is there
    EXPECT_EQ(differing(kSkinTop, TesselPatternUI::kHeaderHeight), 0);   // and none of it on the skin
}

TEST_F(PatternPixelsTest, APictureOfThePageWithADemoSong)
{
    fillDemoSong();
    moveCursor(1, 0, 8);
    alt('D');
    moveCursor(3, 6, 14);
    chord({kWinShift}, kWinOem2);   // '?': the info bar
    for (int i = 0; i < 10; ++i)
        shown();
    const Image& image = shown();
    EXPECT_TRUE(page().infoPanel().mostlyShown());
    // The info bar tells of the cursor's K40 over the status strip.
    const Colour selection = gridColour(kColourSelection);
    EXPECT_GT(countColour(image, lineBand(9, false), selection), 0);
    saveShot("pattern_editor_page.png");
}

} // namespace
