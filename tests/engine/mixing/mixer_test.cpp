// Whole mixing passes over the channel voice lists into the output block.
#include "mixer_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mixer_test;

namespace {

class Mixer : public MixerTest {
protected:
    void SetUp() override
    {
        MixerTest::SetUp();
        fillSample(mono, 4000, 1, 16, [](int, int f) { return static_cast<float>((f * 37) % 2000); });
        fillSample(stereo, 4000, 2, 16, [](int c, int f) { return c == 0 ? 8000.0f : -static_cast<float>(f); });
    }

    bool silent(int channel, int from, int to) const
    {
        for (int i = from; i < to; ++i)
            if (output->channel[channel][i] != 0.0f)
                return false;
        return true;
    }

    TesselSample mono;
    TesselSample stereo;
};

} // namespace

TEST_F(Mixer, AVoiceStartingAtTheFrameCountRendersNothingAndLosesItsEvents)
{
    TesselVoice& voice = addVoice(3);
    startVoice(voice, mono, 4000, 1.0f, 512);
    const int eventsBefore = TesselPools::events->inUse();
    EXPECT_EQ(render(512), 1);
    EXPECT_TRUE(silent(0, 0, 512));
    EXPECT_TRUE(silent(1, 0, 512));
    EXPECT_EQ(voice.events, nullptr);
    EXPECT_EQ(voice.state(), 0);
    EXPECT_EQ(TesselPools::events->inUse(), eventsBefore - 1);
    EXPECT_EQ(render(512), 0);   // idle and without events: not counted
}

TEST_F(Mixer, AMonoSampleOnBusZeroFillsOneChannelAndOnABusBoth)
{
    // A stereo voice first leaves its values in the second scratch channel.
    TesselVoice& first = addVoice(0);
    startVoice(first, stereo, 0, 1.0f, 512);
    TesselVoice& voice = addVoice(1);
    startVoice(voice, mono, 0, 1.0f, 512);
    first.current.gain0 = first.current.gain1 = 0.0f;
    EXPECT_EQ(render(512), 2);
    for (int i = 0; i < 512; ++i)
        output->channel[0][i] = output->channel[1][i] = 0.0f;
    first.freeEvents();
    first.setState(0);

    voice.position = 0;
    voice.fraction = 0.0f;
    voice.events->bus = 0;
    render(512);
    EXPECT_FALSE(silent(0, 1, 512));
    EXPECT_TRUE(silent(1, 0, 512));

    for (int i = 0; i < 512; ++i)
        output->channel[0][i] = 0.0f;
    voice.position = 0;
    voice.fraction = 0.0f;
    voice.events->bus = 1;
    render(512);
    EXPECT_FALSE(silent(0, 1, 512));
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(output->channel[0][i], output->channel[1][i]) << i;
}

TEST_F(Mixer, AStereoSampleFillsItsOwnChannels)
{
    TesselVoice& voice = addVoice(0);
    startVoice(voice, stereo, 10, 1.0f, 64);
    render(64);
    EXPECT_GT(output->channel[0][5], 0.0f);
    EXPECT_LT(output->channel[1][5], 0.0f);
}

TEST_F(Mixer, EventsRenderInOrderAndTheLastOneSpansTheNextBlock)
{
    TesselVoice& voice = addVoice(5);
    startVoice(voice, mono, 100, 1.0f, 256);
    voice.events->end = 100;
    TesselVoiceEvent second = *voice.events;
    second.start = 100;
    second.end = 256;
    second.pitch = 2.0f;
    second.gain0 = second.gain1 = 0.5f;
    ASSERT_TRUE(voice.appendEvent(second));
    const int eventsBefore = TesselPools::events->inUse();

    render(256);
    ASSERT_NE(voice.events, nullptr);
    EXPECT_EQ(voice.events->following(), nullptr);
    EXPECT_EQ(voice.events->start, 0);
    EXPECT_EQ(voice.events->end, 256);
    EXPECT_EQ(voice.events->pitch, 2.0f);
    EXPECT_EQ(TesselPools::events->inUse(), eventsBefore - 1);
    EXPECT_EQ(voice.position, 100 + 100 + 2 * 156);
    EXPECT_FALSE(silent(0, 0, 256));
}

TEST_F(Mixer, AVoiceThatEndsInsideItsEventLeavesTheRestOfTheBlockAlone)
{
    TesselVoice& voice = addVoice(0);
    startVoice(voice, mono, 3900, 1.0f, 512);
    voice.events->bus = 1;
    output->channel[0][200] = 7.0f;   // what other voices put there stays
    render(512);
    EXPECT_EQ(voice.state(), 0);
    EXPECT_EQ(voice.events, nullptr);
    EXPECT_FALSE(silent(0, 1, 100));
    EXPECT_TRUE(silent(0, 100, 200));
    EXPECT_EQ(output->channel[0][200], 7.0f);
}

TEST_F(Mixer, IdlePastNotesAreRetiredAndTheCurrentVoiceStays)
{
    TesselVoice& old = addVoice(2);
    startVoice(old, mono, 0, 1.0f, 512);
    old.events->state |= voice_state::kReleased;
    old.events->gain0 = old.events->gain1 = 0.0f;
    TesselVoice& sounding = addVoice(2);
    startVoice(sounding, mono, 0, 1.0f, 512);
    TesselVoice& head = addVoice(2);   // current voice, idle
    TesselChannelVoiceList& list = (*lists)[2];
    const int nodesBefore = TesselPools::nodes->inUse();

    EXPECT_EQ(render(512), 2);
    EXPECT_EQ(TesselPools::nodes->inUse(), nodesBefore);   // the released voice still fades
    for (int block = 0; block < 4; ++block)
        render(512);
    EXPECT_EQ(TesselPools::nodes->inUse(), nodesBefore - 1);
    ASSERT_NE(list.head, nullptr);
    EXPECT_EQ(list.head->voice, &head);
    ASSERT_NE(list.head->next, nullptr);
    EXPECT_EQ(list.head->next->voice, &sounding);
    EXPECT_EQ(list.head->next->next, nullptr);

    sounding.freeEvents();
    sounding.setState(0);
    render(512);
    EXPECT_EQ(list.head->next, nullptr);
    EXPECT_EQ(list.head->voice, &head);
}

TEST_F(Mixer, ASingleEventOverTheLargestBlockStaysInsideEveryBuffer)
{
    setLoop(mono.loop, 2, 0, 4000);
    output->frames = TesselBusBuffer::kFrames;
    TesselVoice& a = addVoice(0);
    startVoice(a, mono, 0, 1.37f, TesselBusBuffer::kFrames);
    TesselVoice& b = addVoice(64);
    startVoice(b, stereo, 0, 0.25f, TesselBusBuffer::kFrames);
    a.sustainState = b.sustainState = 3;
    table().msPerTick = 3.5;
    EXPECT_EQ(render(TesselBusBuffer::kFrames), 2);
    EXPECT_EQ(table().msPerTick, 3.5);
    EXPECT_EQ(a.state(), kSounding);
    EXPECT_FALSE(silent(0, TesselBusBuffer::kFrames - 100, TesselBusBuffer::kFrames));
    EXPECT_EQ(a.events->end, TesselBusBuffer::kFrames);
}

TEST_F(Mixer, EventsBeyondTheBlockAreCutToIt)
{
    TesselVoice& voice = addVoice(0);
    startVoice(voice, mono, 0, 1.0f, 1000);
    output->channel[0][300] = 0.0f;
    render(256);
    EXPECT_TRUE(silent(0, 256, 1000));
    EXPECT_EQ(voice.position, 256);
}

TEST_F(Mixer, EveryVoiceOfACrowdAddsItsOwnSoundOnce)
{
    // Many voices, past notes among them, some idle: the pass adds what each
    // voice rendered alone adds, and counts the active ones.
    constexpr int kVoices = 150;
    const auto start = [&](TesselVoice& v, int i) {
        if (i % 11 == 5)
            return;   // idle, without events
        startVoice(v, i % 3 ? mono : stereo, (i * 53) % 3000, 0.3f + 0.01f * static_cast<float>(i % 40), 512,
                   1.0f / 8.0f);
        v.events->bus = static_cast<uint8_t>(i % 2);
    };
    std::vector<float> alone[2];
    int expectedActive = 0;
    for (int i = 0; i < kVoices; ++i) {
        lists = std::make_unique<std::array<TesselChannelVoiceList, kVoiceLists>>();
        start(addVoice(i % kVoiceLists), i);
        output->silence();
        expectedActive += render(512);
        for (int j = 0; j < 2; ++j) {
            alone[j].resize(512);
            for (int f = 0; f < 512; ++f)
                alone[j][static_cast<size_t>(f)] += output->channel[j][f];
        }
    }
    EXPECT_EQ(expectedActive, kVoices - 14);

    lists = std::make_unique<std::array<TesselChannelVoiceList, kVoiceLists>>();
    for (int i = 0; i < kVoices; ++i)
        start(addVoice(i % kVoiceLists), i);
    output->silence();
    EXPECT_EQ(render(512), expectedActive);
    for (int j = 0; j < 2; ++j)
        for (int f = 0; f < 512; ++f)
            ASSERT_NEAR(output->channel[j][f], alone[j][static_cast<size_t>(f)], 1e-4f) << "channel " << j << " frame " << f;
}
