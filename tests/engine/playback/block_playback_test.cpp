// Song playback through the block: notes start at the frame of their row
// whatever the block size, and a host start plays the song.
#include "engine/block_fixture.h"

#include <cmath>

namespace {

class PlaybackTest : public BlockTest {
protected:
    // A fresh engine with the test song: notes on rows that fall inside
    // blocks, on several channels, with a volume slide and a vibrato.
    void makeSong()
    {
        engine.reset();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        plugin.blockSize = 0;
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        configure(125.0, 6.0, TesselModule::Resolution);
        addInstrument(40000);
        addNote(0, 1);
        addNote(1, 3, 67);
        addNote(2, 5, 48);
        TesselRow& slide = engine->song.patterns[0].tracks.getTrack(0).getRow(2);
        slide.effect.command = 'D';
        slide.effect.parameter = 0x04;
        TesselRow& vibrato = engine->song.patterns[0].tracks.getTrack(1).getRow(4);
        vibrato.effect.command = 'H';
        vibrato.effect.parameter = 0x48;
        engine->rebuildSongPlaylist(nullptr, true);
        ASSERT_TRUE(engine->playSong(-1, 0));
    }
};

} // namespace

TEST_F(PlaybackTest, ANoteStartsAtTheFrameOfItsRow)
{
    makeSong();
    const std::vector<float> out = render(2 * kRowFrames + 100, 4096);
    for (int f = 0; f < kRowFrames; ++f)
        ASSERT_EQ(out[static_cast<size_t>(f)], 0.0f) << f;
    EXPECT_NE(out[kRowFrames], 0.0f);
}

TEST_F(PlaybackTest, BlockSizesDoNotChangeTheOutput)
{
    constexpr int kFrames = 7 * kRowFrames;
    makeSong();
    const std::vector<float> reference = render(kFrames, 4096);
    float peak = 0.0f;
    for (float v : reference)
        peak = std::max(peak, std::fabs(v));
    ASSERT_GT(peak, 0.0f);
    for (int block : {64, 512}) {
        makeSong();
        const std::vector<float> out = render(kFrames, block);
        ASSERT_EQ(out.size(), reference.size());
        size_t differing = 0;
        for (size_t i = 0; i < out.size(); ++i)
            if (out[i] != reference[i] && ++differing == 1)
                ADD_FAILURE() << "block " << block << " first differs at frame " << i << ": " << out[i] << " vs "
                              << reference[i];
        EXPECT_EQ(differing, 0u) << "block " << block;
    }
}

TEST_F(PlaybackTest, AHostStartPlaysTheSongFromTheHostPosition)
{
    makeSong();
    engine->stopNow();
    engine->hostSendsTime = 1;
    plugin.at(0.25, kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid);   // row 1
    ASSERT_TRUE(engine->process(512));
    EXPECT_EQ(engine->transport, kPlayingSong);
    EXPECT_EQ(engine->position().entry, 1);
    EXPECT_NE(engine->output.channel[0][0], 0.0f);
    EXPECT_EQ(engine->output.pending, 1);

    plugin.advance(512);
    plugin.time.flags = kVstTransportChanged | kVstTempoValid | kVstPpqPosValid;   // the host stops
    ASSERT_TRUE(engine->process(512));
    EXPECT_EQ(engine->transport, kStoppedReleased);
}

TEST_F(PlaybackTest, ADelayedNoteOnTheOnlyBusyChannelStartsOnItsTick)
{
    // Every other list sits idle through the ticks that count the delay down.
    addInstrument(40000);
    for (int channel : {0, 17, 63}) {
        SCOPED_TRACE(testing::Message() << "channel " << channel);
        engine->stopNow();
        engine->song.patterns[0].tracks.getTrack(channel).getRow(1).effect = {0, 'S', 0xD3};
        addNote(channel, 1);
        engine->rebuildSongPlaylist(nullptr, true);
        ASSERT_TRUE(engine->playSong(-1, 0));
        std::vector<float> out;
        for (int done = 0; done < 2 * kRowFrames; done += 700) {
            EXPECT_TRUE(engine->process(700));
            for (int f = 0; f < 700; ++f)
                out.push_back(engine->output.channel[0][f] + engine->output.channel[1][f]);
        }
        const int start = kRowFrames + 3 * kTickFrames;
        for (int f = 0; f < start; ++f)
            ASSERT_EQ(out[static_cast<size_t>(f)], 0.0f) << f;
        EXPECT_NE(out[start], 0.0f);
        engine->song.patterns[0].tracks.getTrack(channel).getRow(1).clear();
    }
}

TEST_F(PlaybackTest, ASongMuteSilencesItsChannelFromTheNextTickOn)
{
    // The editor mutes the song's channel between blocks; the voice already
    // sounding ramps to silence at the next tick and comes back when unmuted.
    addInstrument(400000);
    addNote(5, 0);
    engine->rebuildSongPlaylist(nullptr, true);
    ASSERT_TRUE(engine->playSong(-1, 0));
    auto loudness = [this](int frames) {
        double sum = 0.0;
        for (int done = 0; done < frames; done += 64) {
            EXPECT_TRUE(engine->process(64));
            for (int f = 0; f < 64; ++f)
                sum += std::fabs(engine->output.channel[0][f]) + std::fabs(engine->output.channel[1][f]);
        }
        return sum;
    };
    const double sounding = loudness(2 * kTickFrames);
    ASSERT_GT(sounding, 0.0);
    engine->song.channels[5].mute = 1;
    loudness(2 * kTickFrames);   // the tick's ramp down
    EXPECT_LT(loudness(2 * kTickFrames), sounding * 1e-5);
    engine->song.channels[5].mute = 0;
    loudness(2 * kTickFrames);
    EXPECT_GT(loudness(2 * kTickFrames), sounding * 0.5);
}
