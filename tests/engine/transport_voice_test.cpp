// Auditions, key releases and stops as the voices and the mixer see them.
#include "transport_fixture.h"
#include "engine/mixing/mixer_fixture.h"
#include "song_lock_holder.h"

using namespace mixer_test;

namespace {

class TransportVoiceTest : public TransportTest {
protected:
    void SetUp() override
    {
        TransportTest::SetUp();
        engine->setSampleRate(44100.0f);
        TesselSample& sample = engine->song.samples[0];
        fillSample(sample, 1000, 1, 16, [](int, int) { return 1000.0f; });
        setLoop(sample.loop, 1, 0, 1000);
        sample.speed = 44100;
        sample.pitch = 60;
    }

    TesselVoice& auditionVoice() { return *engine->voiceLists[TesselChannelVoiceList::kPreview].head->voice; }
    int render()
    {
        engine->output.frames = kBlock;
        engine->output.silence();
        return TesselEngine::renderVoices(engine->voiceLists, engine->output, kBlock);
    }
    // Blocks until nothing sounds; -1 when voices still sound after ~2 s.
    int blocksToSilence()
    {
        for (int n = 1; n <= 200; ++n)
            if (render() == 0)
                return n;
        return -1;
    }

    static constexpr int kBlock = 512;
};

} // namespace

TEST_F(TransportVoiceTest, AuditionedLoopSoundsUntilTheStopRampsItOut)
{
    ASSERT_TRUE(engine->playSample(60, 0));
    TesselVoice& voice = auditionVoice();
    EXPECT_EQ(voice.state(), voice_state::kSample | voice_state::kActive);
    EXPECT_FLOAT_EQ(voice.pitchFactor, 1.0f);
    EXPECT_EQ(engine->heldNotes[0][60], 65);
    EXPECT_EQ(engine->transport, kStoppedReleased);   // the block runs again
    EXPECT_TRUE(logged(kActPlaySample, 60));

    // A looping sample never ends by itself.
    for (int n = 0; n < 20; ++n)
        ASSERT_GT(render(), 0);
    EXPECT_GT(engine->output.channel[0][kBlock - 1], 0.0f);

    engine->transport = kPlayingSong;
    engine->stop();
    EXPECT_NE(voice.state() & voice_state::kReleased, 0);
    EXPECT_EQ(engine->heldNotes[0][60], 0);
    render();
    const float first = engine->output.channel[0][0];
    EXPECT_GT(first, 0.0f);   // ramped down, not cut off in a click
    EXPECT_LT(engine->output.channel[0][kBlock - 1], first);
    EXPECT_GT(blocksToSilence(), 0);
    EXPECT_EQ(voice.state(), voice_state::kIdle);
}

// The block mixes only the lists marked busy and drops those it finds
// quiet; a voice started later on such a list must still be heard.
TEST_F(TransportVoiceTest, AListLeftQuietIsHeardAgainWhenAnAuditionStartsOnIt)
{
    auto block = [this] {
        engine->output.frames = kBlock;
        engine->output.silence();
        return TesselEngine::renderVoices(engine->voiceLists, engine->output, kBlock, &engine->busyLists);
    };
    ASSERT_TRUE(engine->playSample(60, 0));
    engine->stopNote(0, 60);
    int blocks = 0;
    while (block() > 0 && blocks < 200)
        ++blocks;
    ASSERT_LT(blocks, 200);
    for (int l = 0; l < kVoiceLists; ++l)
        ASSERT_FALSE(engine->busyLists.marked(l)) << "list " << l << " holds nothing yet stays busy";

    ASSERT_TRUE(engine->playSample(62, 0));
    EXPECT_GT(block(), 0);
    EXPECT_GT(engine->output.channel[0][kBlock - 1], 0.0f);
}

// Each block notes what the next one will read of the voices that play on
// (the engine fetches it all as that block starts); once the voice ends and
// its list goes quiet, nothing is noted for it.
TEST_F(TransportVoiceTest, ABlockNotesTheLinesTheNextOneReads)
{
    TesselLinePlan plan;
    constexpr int kShortBlock = TesselLinePlan::kMostFrames;   // what hosts run at low latency
    auto block = [&] {
        plan.fetchAndClear();
        engine->output.frames = kShortBlock;
        engine->output.silence();
        return TesselEngine::renderVoices(engine->voiceLists, engine->output, kShortBlock, &engine->busyLists, &plan);
    };
    auto noted = [&](const void* p) {
        const auto line = [](const void* q) { return reinterpret_cast<uintptr_t>(q) >> 6; };
        for (int i = 0; i < plan.count(); ++i)
            if (line(plan.line(i)) == line(p))
                return true;
        return false;
    };
    ASSERT_TRUE(engine->playSample(60, 0));
    for (int n = 0; n < 3; ++n) {
        ASSERT_GT(block(), 0);
        const TesselVoice& voice = auditionVoice();
        EXPECT_TRUE(noted(voice.events));
        EXPECT_TRUE(noted(&voice.exactPosition));
        EXPECT_TRUE(noted(&voice.sample->loop));
        EXPECT_TRUE(noted(voice.sample->audio.buffers[0] + voice.position)) << "block " << n;
    }

    engine->stopNote(0, 60);
    int blocks = 0;
    while (block() > 0 && blocks < 200)
        ++blocks;
    ASSERT_LT(blocks, 200);
    EXPECT_EQ(plan.count(), 0);
}

TEST_F(TransportVoiceTest, KeyReleaseEndsTheAudition)
{
    ASSERT_TRUE(engine->playSample(60, 0));
    render();
    engine->stopNote(0, 60);
    EXPECT_TRUE(logged(kActStopNote, 60));
    EXPECT_NE(auditionVoice().state() & voice_state::kReleased, 0);
    EXPECT_EQ(engine->heldNotes[0][60], 0);
    EXPECT_GT(blocksToSilence(), 0);

    // Out-of-range keys are ignored.
    engine->stopNote(kHeldInstruments, 0);
    engine->stopNote(0, kHeldNotes);
    engine->stopNote(-1, -1);
}

TEST_F(TransportVoiceTest, ReplayingAHeldNoteReleasesTheFirstVoice)
{
    ASSERT_TRUE(engine->playSample(60, 0));
    ASSERT_TRUE(engine->playSample(60, 0));
    TesselVoiceListNode* head = engine->voiceLists[TesselChannelVoiceList::kPreview].head;
    ASSERT_NE(head->next, nullptr);
    EXPECT_EQ(head->voice->state() & voice_state::kReleased, 0);
    EXPECT_NE(head->next->voice->state() & voice_state::kReleased, 0);
    EXPECT_GT(blocksToSilence(), -2);   // drains the first voice; the second keeps looping
    engine->stopNow();
    EXPECT_EQ(engine->voiceLists[TesselChannelVoiceList::kPreview].head->next, nullptr);
    EXPECT_EQ(render(), 0);
}

TEST_F(TransportVoiceTest, AuditionStepFollowsBaseNoteAndRate)
{
    TesselSample& sample = engine->song.samples[0];
    sample.speed = 22050;
    ASSERT_TRUE(engine->playSample(72, 0));
    EXPECT_FLOAT_EQ(auditionVoice().pitchFactor, 1.0f);

    sample.speed = 0;   // no rate: the note's own step
    ASSERT_TRUE(engine->playSample(60, 0));
    EXPECT_FLOAT_EQ(auditionVoice().pitchFactor, tesselRateTables().note[120]);

    sample.speed = 44100;
    sample.pitch = 250;   // far above the note: the table's first step
    ASSERT_TRUE(engine->playSample(0, 0));
    EXPECT_FLOAT_EQ(auditionVoice().pitchFactor, tesselRateTables().note[0]);

    EXPECT_FALSE(engine->playSample(120, 0));
    EXPECT_FALSE(engine->playSample(0, kSamples));
    engine->stopNow();
}

TEST_F(TransportVoiceTest, WithoutTheSongLockVoicesStayAsTheyAre)
{
    ASSERT_TRUE(engine->playSample(60, 0));
    TesselVoice& voice = auditionVoice();
    {
        SongLockHolder holder;
        engine->transport = kPlayingSong;
        engine->stop();
        EXPECT_EQ(engine->transport, kStoppedReleased);
        EXPECT_EQ(voice.state(), voice_state::kSample | voice_state::kActive);
        EXPECT_FALSE(engine->playSample(62, 0));
        EXPECT_EQ(&auditionVoice(), &voice);
        EXPECT_EQ(engine->heldNotes[0][62], 0);
    }
    engine->stopNow();
    EXPECT_EQ(voice.state(), voice_state::kIdle);
}
