// The info page with the demo song playing: engine blocks rendered through
// the plug-in, the rows' pixels, the mute and playback keys, its sliders and
// a busy song lock.

#include "pages_fixture.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <gtest/gtest.h>

namespace {

constexpr uint8_t kF5 = platform::kWinF1 + 4;
constexpr int32_t kWhiteFont = resources::kFontWhite;
constexpr int32_t kNormalFont = resources::kFontNormal;
constexpr int32_t kMutedFont = resources::kFontMuted;
constexpr int32_t kRowY = TesselInfoDisplay::kFirstRowY;

class InfoPageTest : public PagesTest {
protected:
    void SetUp() override
    {
        PagesTest::SetUp();
        loadDemoSong();
        press(kF5);
        ASSERT_EQ(pageNumber(), kInfoPage);
        ASSERT_NE(infoPage(), nullptr);
    }
    // The song from an order position, a few blocks into it, the page drawn.
    void play(int32_t order)
    {
        editor->playSong(order, 0);
        ASSERT_EQ(engine().transport, kPlayingSong);
        playOn(4);
    }
    void playOn(int blocks)
    {
        render(blocks);
        idle(2);
    }
    bool rowShows(int32_t channel, int32_t x, const std::string& text, int32_t font)
    {
        return showsText(x, kRowY + 8 * (channel - infoPage()->firstChannel()), text, font, 8);
    }
    // Meter pixels of a channel's row: neither black nor the background.
    int meterPixels(int32_t channel)
    {
        const int32_t y = kRowY + 8 * (channel - infoPage()->firstChannel()) + 3;
        int lit = 0;
        for (int32_t x = TesselInfoDisplay::kMeterX; x < TesselInfoDisplay::kMeterX + 100; ++x)
            lit += pagePixel(x, y).green > 60;
        return lit;
    }
};

TEST_F(InfoPageTest, RowsShowTheVoicesInstrumentSampleNameAndLevel)
{
    EXPECT_EQ(meterPixels(0), 0);
    play(0);
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kInstrumentX, "01", kWhiteFont));
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kSampleX, "01", kNormalFont));
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kNameX, "Lead Sine", kNormalFont));
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kStateX, "C-5", kNormalFont));
    EXPECT_TRUE(rowShows(1, TesselInfoDisplay::kNameX, "Bass Square", kNormalFont));
    EXPECT_GT(infoPage()->display().meterWidth(0), 1);
    EXPECT_GT(meterPixels(0), 0);
    EXPECT_EQ(meterPixels(10), 0);   // a silent channel
    // The channel numbers: the cursor's in white, the others in the normal font.
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kNumberX, "01", kWhiteFont));
    EXPECT_TRUE(rowShows(1, TesselInfoDisplay::kNumberX, "02", kNormalFont));

    // After the stop the voices end and their rows come back empty.
    engine().stopNow();
    playOn(2);
    EXPECT_EQ(meterPixels(0), 0);
    EXPECT_FALSE(rowShows(0, TesselInfoDisplay::kNameX, "Lead Sine", kNormalFont));
}

TEST_F(InfoPageTest, SpaceMutesTheCursorChannelAndMovesOn)
{
    play(0);
    press(platform::kWinSpace);
    EXPECT_EQ(song().channels[0].mute, 1);
    EXPECT_EQ(infoPage()->channelCursor(), 1);
    idle();
    // A muted channel off the cursor shows blanks in the muted font.
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kNumberX, "   ", kMutedFont));
    EXPECT_TRUE(rowShows(1, TesselInfoDisplay::kNumberX, "02", kWhiteFont));
    press(platform::kWinUp);
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kNumberX, "01", kMutedFont));
    press(platform::kWinSpace);
    EXPECT_EQ(song().channels[0].mute, 0);

    // Down past the last visible row scrolls the list.
    for (int i = 0; i < 59; ++i)
        press(platform::kWinDown);
    EXPECT_EQ(infoPage()->channelCursor(), 60);
    EXPECT_EQ(infoPage()->firstChannel(), 60 - 47);
    EXPECT_TRUE(rowShows(60, TesselInfoDisplay::kNumberX, "61", kWhiteFont));
}

TEST_F(InfoPageTest, SkipsMoveToOrdersHoldingPatternsAndGShowsThePlayingPattern)
{
    press('G');   // not playing: nothing
    EXPECT_EQ(pageNumber(), kInfoPage);

    play(0);
    press(platform::kWinOem6);   // ']'
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), 1);
    press(platform::kWinOem6);
    render(1);
    press(platform::kWinOem6);
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), 3);
    press(platform::kWinOem6);   // the skip marker is passed over
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), 5);
    press(platform::kWinOem4);   // '['
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), 3);

    idle();
    press('G');
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    EXPECT_EQ(editor->pages().patternEditor->getCurrentOrder(), 3);
    EXPECT_EQ(editor->pages().patternEditor->getCurrentPattern(), 2);

    // In pitch mode the skips do nothing.
    press(kF5);
    song().orderList.pitchMode = 1;
    press(platform::kWinOem6);
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), -1);
    song().orderList.pitchMode = 0;
    render(1);
    EXPECT_EQ(engine().getPlayingOrder(), 3);
}

TEST_F(InfoPageTest, SlidersStoreTheChannelsVolumeAndPanningAndF1AsksForHelp)
{
    const TesselSlider& volume = infoPage()->display().slider(3, false);
    const int32_t y = kRowY + 8 * 3 + 4;
    clickPage(TesselInfoDisplay::kVolumeLeft + volume.trackStart(), y);
    EXPECT_EQ(song().channels[3].volume, 0);
    const TesselSlider& panning = infoPage()->display().slider(3, true);
    clickPage(TesselInfoDisplay::kVolumeRight + panning.trackStart() + panning.trackWidth(), y);
    EXPECT_EQ(song().channels[3].panning, 64);
    press(platform::kWinF1);
    EXPECT_EQ(viewedPageThenBack(), "IP.htm");
    // F5 again on the page: the display starts afresh, nothing else changes.
    press(kF5);
    EXPECT_EQ(pageNumber(), kInfoPage);
}

TEST_F(InfoPageTest, WithTheSongLockBusyTheRowsKeepTheirPicture)
{
    play(0);
    const platform::Image before = shown().clone();
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere busy(song().songLock());
        engine().stopNow();   // waits for the lock in vain: the voices stay
        infoPage()->setDirty();
        idle(2);
        const platform::Image& now = editor->frame2()->getWindow()->image();
        int differing = 0;
        for (int32_t py = kPageTop; py < kPageTop + 432; ++py)
            for (int32_t px = kPageLeft; px < kPageLeft + 705; ++px)
                differing += !(now.pixelAt(px, py) == before.pixelAt(px, py));
        EXPECT_EQ(differing, 0);
    }
    EXPECT_TRUE(rowShows(0, TesselInfoDisplay::kNameX, "Lead Sine", kNormalFont));
}

} // namespace
