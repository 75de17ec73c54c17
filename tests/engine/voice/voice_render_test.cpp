// One voice event at a time: positions through loops, the end of the
// sample, the gain ramp, the filter and the peaks.
#include "engine/mixing/mixer_fixture.h"
#include "engine/voice/voice_render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace mixer_test;

namespace {

class VoiceRender : public MixerTest {
protected:
    void SetUp() override
    {
        MixerTest::SetUp();
        fillSample(sample, 1000, 1, 32, [](int, int f) { return static_cast<float>(f); });
        voice = std::make_unique<TesselVoice>(TesselPools::positions);
    }
    void TearDown() override
    {
        voice.reset();
        MixerTest::TearDown();
    }

    // Sets the voice at frame.fraction with one event of `frames` frames at `pitch`.
    void place(int frame, float fraction, float pitch, int frames, int start = 0)
    {
        voice->sample = &sample;
        voice->position = frame;
        voice->fraction = fraction;
        voice->current.pitch = pitch;
        voice->current.start = static_cast<uint16_t>(start);
        voice->current.end = static_cast<uint16_t>(start + frames);
        voice->current.state = kSounding;
        voice->current.gain0 = voice->current.gain1 = 1.0f;
        voice->ramp[0] = voice->ramp[2] = 1.0f;
    }
    TesselSamplePos at(int i) { return table().positions[i]; }

    TesselSample sample;
    std::unique_ptr<TesselVoice> voice;
    Scratch scratch;
};

} // namespace

TEST_F(VoiceRender, ForwardLoopWrapsWholeFramesAndKeepsTheFraction)
{
    setLoop(sample.loop, 1, 100, 200);
    voice->sustainState = 3;
    place(199, 0.75f, 0.5f, 3);
    EXPECT_EQ(voice->render(scratch.channel, 1), 3);
    EXPECT_EQ(at(0), (TesselSamplePos{199, 0.75f}));
    EXPECT_EQ(at(1), (TesselSamplePos{100, 0.25f}));   // 200.25 continues at 100.25
    EXPECT_EQ(at(2), (TesselSamplePos{100, 0.75f}));
    EXPECT_EQ(voice->state(), kSounding);
    EXPECT_FLOAT_EQ(scratch.channel[0][1], 100.25f);   // gain 1 held
}

TEST_F(VoiceRender, PingPongTurnsAtBothEnds)
{
    setLoop(sample.loop, 2, 100, 200);
    voice->sustainState = 3;
    place(199, 0.75f, 0.5f, 3);
    voice->render(scratch.channel, 1);
    EXPECT_EQ(at(1), (TesselSamplePos{199, 0.75f}));   // 200.25 comes back to 199.75
    EXPECT_EQ(at(2), (TesselSamplePos{199, 0.25f}));
    EXPECT_EQ(voice->backwards, 1);

    voice->backwards = 1;
    place(100, 0.25f, 0.5f, 3);
    voice->render(scratch.channel, 1);
    EXPECT_EQ(at(1), (TesselSamplePos{100, 0.25f}));   // 99.75 turns forward again
    EXPECT_EQ(at(2), (TesselSamplePos{100, 0.75f}));
    EXPECT_EQ(voice->backwards, 0);
}

TEST_F(VoiceRender, SustainLoopHoldsUntilReleasedThenTheNormalLoopApplies)
{
    setLoop(sample.sustain, 1, 10, 20);
    setLoop(sample.loop, 1, 50, 60);
    place(10, 0.0f, 1.0f, 200);
    voice->render(scratch.channel, 1);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(at(i).frame >= 10 && at(i).frame < 20) << i;

    voice->sustainState = 3;   // key released
    place(voice->position, voice->fraction, 1.0f, 200);
    voice->render(scratch.channel, 1);
    EXPECT_EQ(voice->state(), kSounding);
    EXPECT_EQ(at(199).frame >= 50 && at(199).frame < 60, true);

    // No sustain loop: the first step switches to the normal loop.
    sample.sustain.reset();
    voice->sustainState = 1;
    place(55, 0.0f, 1.0f, 10);
    voice->render(scratch.channel, 1);
    EXPECT_EQ(voice->sustainState, 3);
    EXPECT_EQ(at(5).frame, 50);
}

TEST_F(VoiceRender, StepsMuchLongerThanTheLoopStayInsideIt)
{
    for (int type : {1, 2})
        for (float pitch : {37.3f, 53.7f, 1000.5f, 1e6f}) {
            SCOPED_TRACE(testing::Message() << "type " << type << " pitch " << pitch);
            setLoop(sample.loop, type, 100, 110);
            voice->sustainState = 3;
            voice->backwards = 0;
            place(100, 0.0f, pitch, 16384);
            EXPECT_EQ(voice->render(scratch.channel, 1), 16384);
            EXPECT_EQ(voice->state(), kSounding);
            for (int i = 0; i < 16384; ++i)
                ASSERT_TRUE(at(i).frame >= 100 && at(i).frame <= 110) << i << " at " << at(i).frame;
            EXPECT_GT(scratch.channel[0][16383], 99.0f);   // still sounding
        }
}

TEST_F(VoiceRender, LeavingTheSampleEndsTheVoiceAfterTheLastFrame)
{
    place(990, 0.0f, 1.0f, 100, 20);
    EXPECT_EQ(voice->render(scratch.channel, 1), 30);   // frames 990..999 at 20..29
    EXPECT_EQ(voice->state(), 0);
    EXPECT_EQ(at(9), (TesselSamplePos{999, 0.0f}));

    place(5, 0.0f, -1.0f, 100);   // backwards past frame 0
    EXPECT_EQ(voice->render(scratch.channel, 1), 6);
    EXPECT_EQ(voice->state(), 0);
}

TEST_F(VoiceRender, APositionOutsideTheSampleRendersNothing)
{
    for (int frame : {1000, 5000, -1}) {
        place(frame, 0.0f, 1.0f, 64, 8);
        EXPECT_EQ(voice->render(scratch.channel, 1), 8) << frame;
        EXPECT_EQ(voice->state(), 0);
    }
    place(0, 0.0f, 1.0f, 64);
    TesselSample empty;
    voice->sample = &empty;
    EXPECT_EQ(voice->render(scratch.channel, 1), 0);
    EXPECT_EQ(voice->state(), 0);
}

TEST_F(VoiceRender, AWholeBlockKeepsTheTableValuesBehindThePositions)
{
    setLoop(sample.loop, 1, 0, 1000);
    voice->sustainState = 3;
    table().msPerTick = 12.5;
    table().ticksPerSample = 0.125f;
    table().rowsPerSample = 0.25;
    for (int channels : {1, 2}) {
        place(0, 0.0f, 0.999f, 16384);
        EXPECT_EQ(voice->render(scratch.channel, channels), 16384);
        EXPECT_EQ(table().msPerTick, 12.5);
        EXPECT_EQ(table().ticksPerSample, 0.125f);
        EXPECT_EQ(table().rowsPerSample, 0.25);
    }
}

TEST_F(VoiceRender, AReleasedVoiceWithTargetsZeroEndsWhenItsGainsFade)
{
    setLoop(sample.loop, 1, 0, 1000);
    voice->sustainState = 3;
    place(1, 0.0f, 1.0f, 4000);
    voice->current.state = kSounding | voice_state::kReleased;
    voice->current.gain0 = voice->current.gain1 = 0.0f;
    const int end = voice->render(scratch.channel, 2);
    EXPECT_GE(end, 1828);   // 0.99^k falls below 1e-8 near k = 1833
    EXPECT_LE(end, 1838);
    EXPECT_EQ(voice->state(), 0);
    EXPECT_EQ(voice->ramp[0], 0.0f);

    // Not released: the same fade keeps the voice.
    place(1, 0.0f, 1.0f, 4000);
    voice->current.gain0 = voice->current.gain1 = 0.0f;
    EXPECT_EQ(voice->render(scratch.channel, 2), 4000);
    EXPECT_EQ(voice->state(), kSounding);
}

TEST_F(VoiceRender, TheRampMovesTowardTheTargetAndPeaksFollowTheOutput)
{
    TesselSample level;
    fillSample(level, 100, 1, 16, [](int, int) { return 32768.0f; });   // 0.5 after scaling
    place(0, 0.0f, 1.0f, 10);
    voice->sample = &level;
    voice->ramp[0] = voice->ramp[2] = 0.0f;
    voice->current.gain0 = 1.0f;
    voice->current.gain1 = 0.5f;
    voice->render(scratch.channel, 2);
    EXPECT_FLOAT_EQ(scratch.channel[0][0], 0.5f * 0.01f);
    EXPECT_FLOAT_EQ(scratch.channel[1][0], 0.5f * 0.005f);
    EXPECT_GT(scratch.channel[0][9], scratch.channel[0][8]);
    EXPECT_FLOAT_EQ(voice->peaks[0], scratch.channel[0][9]);
    EXPECT_FLOAT_EQ(voice->peaks[1], scratch.channel[1][9]);
    EXPECT_EQ(voice->ramp[1], 1.0f);
    EXPECT_EQ(voice->ramp[3], 0.5f);
}

TEST_F(VoiceRender, TheFilterRunsOnlyWithCoefficientsAndCarriesItsHistory)
{
    setLoop(sample.loop, 1, 0, 1000);
    voice->sustainState = 3;
    place(0, 0.0f, 1.0f, 64);
    voice->render(scratch.channel, 1);
    std::vector<float> dry(scratch.channel[0], scratch.channel[0] + 64);
    EXPECT_NEAR(dry[10], 10.0f * voice->ramp[0], 1e-3f);   // 1, 0, 0: untouched

    const float a0 = 0.4f, b1 = 0.9f, b2 = -0.3f;
    float y1 = 0.0f, y2 = 0.0f;
    std::vector<float> wet(64);
    for (int i = 0; i < 64; ++i) {
        wet[static_cast<size_t>(i)] = a0 * dry[static_cast<size_t>(i)] + b1 * y1 + b2 * y2;
        y2 = y1;
        y1 = wet[static_cast<size_t>(i)];
    }
    // The same span in two events, filtered.
    place(0, 0.0f, 1.0f, 40);
    voice->filter[0] = a0;
    voice->filter[1] = b1;
    voice->filter[2] = b2;
    voice->render(scratch.channel, 1);
    voice->current.start = 40;
    voice->current.end = 64;
    voice->render(scratch.channel, 1);
    for (int i = 0; i < 64; ++i)
        ASSERT_NEAR(scratch.channel[0][i], wet[static_cast<size_t>(i)], 1e-3f) << i;
    EXPECT_FLOAT_EQ(voice->filterHistory[0], wet[63]);
    EXPECT_FLOAT_EQ(voice->filterHistory[4], wet[62]);
}

TEST_F(VoiceRender, HostileValuesNeitherHangNorReadOutsideTheSample)
{
    struct Case {
        int type, begin, end;
        float pitch, fraction;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {1, 200, 100, 1.0f, 0.0f},     // loop ends before it begins
        {2, 300, 300, 3.0f, 0.0f},     // loop without length
        {1, -50, 20, 7.0f, 0.0f},      // begins before the sample
        {2, 900, 5000, 2.5f, 0.0f},    // ends after it
        {1, 100, 200, nan, 0.0f},
        {2, 100, 200, INFINITY, 0.0f},
        {1, 100, 200, -INFINITY, 0.0f},
        {1, 100, 200, 1.0f, nan},
        {2, 100, 200, -3e9f, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.begin << ".." << c.end << " pitch " << c.pitch);
        setLoop(sample.loop, c.type, c.begin, c.end);
        voice->sustainState = 3;
        voice->backwards = 0;
        place(150, c.fraction, c.pitch, 4096);
        const int end = voice->render(scratch.channel, 2);
        ASSERT_LE(end, 4096);
        for (int i = 0; i < end; ++i) {
            ASSERT_TRUE(at(i).frame >= 0 && at(i).frame < 1000) << i;
            ASSERT_TRUE(at(i).fraction >= 0.0f && at(i).fraction < 1.0f) << i;
            ASSERT_TRUE(std::isfinite(scratch.channel[0][i])) << i;
        }
    }
}

// A voice whose gains are 0 and stay 0 moves through its sample exactly as an
// audible one and adds nothing; released, it ends at once. The filter's
// history still sounds, so a filtered voice is rendered in full.
TEST_F(VoiceRender, AVoiceAtGainZeroOnlyMoves)
{
    struct Case {
        const char* name;
        bool released;
        int channels;
        bool filtered;
        float gain1;   // of a channel that is not rendered when channels is 1
    };
    const Case cases[] = {
        {"held, two channels", false, 2, false, 0.0f},
        {"held, one channel, the other channel's gain set", false, 1, false, 0.8f},
        {"released", true, 2, false, 0.0f},
        {"filtered", false, 2, true, 0.0f},
    };
    setLoop(sample.loop, 2, 100, 700);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        struct After {
            int32_t position;
            float fraction;
            uint8_t backwards;
            int end;
            uint8_t state;
        } after[2];
        for (int silent = 0; silent < 2; ++silent) {
            voice->sustainState = 3;
            voice->backwards = 0;
            place(600, 0.25f, 1.37f, 1500, 30);
            if (c.released)
                voice->current.state |= voice_state::kReleased;
            const float gain = silent ? 0.0f : 0.5f;
            voice->ramp[0] = voice->ramp[2] = gain;
            voice->current.gain0 = gain;
            voice->current.gain1 = c.channels == 1 ? c.gain1 : gain;
            voice->filter[0] = c.filtered ? 0.5f : 1.0f;
            voice->filter[1] = c.filtered ? 0.4f : 0.0f;
            voice->filterHistory[0] = c.filtered ? 0.25f : 0.0f;
            voice->peaks[0] = voice->peaks[1] = 9.0f;
            std::fill(scratch.channel[0], scratch.channel[0] + TesselVoice::kScratchFrames, 7.0f);
            after[silent] = {voice->position, voice->fraction, voice->backwards,
                             voice->render(scratch.channel, c.channels), voice->state()};
            if (!silent)
                continue;
            EXPECT_EQ(voice->ramp[3], c.channels == 1 ? c.gain1 : 0.0f) << "the target is taken as ever";
            if (c.filtered) {
                EXPECT_NE(scratch.channel[0][30], 0.0f) << "the filter's history sounds";
            } else if (c.released) {
                EXPECT_EQ(after[1].end, 30);
                EXPECT_EQ(after[1].state, 0);
                EXPECT_EQ(voice->peaks[0], 9.0f) << "nothing rendered, peaks untouched";
            } else {
                EXPECT_EQ(after[1].end, 1530);
                EXPECT_EQ(after[1].state, kSounding);
                for (int i = 30; i < 1530; ++i)
                    ASSERT_EQ(scratch.channel[0][i], 0.0f) << i;
                EXPECT_EQ(voice->peaks[0], 0.0f);
                EXPECT_EQ(voice->peaks[1], c.channels == 1 ? 9.0f : 0.0f);
            }
        }
        // The walk is the audible voice's, released or not.
        EXPECT_EQ(after[0].position, after[1].position);
        EXPECT_EQ(after[0].fraction, after[1].fraction);
        EXPECT_EQ(after[0].backwards, after[1].backwards);
    }
}

// The walk's stretches (positions computed from a start and a step) against
// stepping one frame at a time with the loops applied after every advance:
// the same position at every frame, the same end and the same walk after,
// through forward, ping-pong and sustain loops (the key going up midway),
// a loop end with a fraction, the sample's end, and steps up and down,
// shorter and longer than the loops.
TEST_F(VoiceRender, StretchesOfPositionsEqualSteppingFrameByFrame)
{
    struct Loops {
        const char* name;
        int type, begin, end;
        int sustainType, sustainBegin, sustainEnd;
        float endFraction;
    };
    const Loops loops[] = {
        {"no loop", 0, 0, 0, 0, 0, 0, 0.0f},
        {"forward", 1, 100, 700, 0, 0, 0, 0.0f},
        {"ping-pong", 2, 100, 700, 0, 0, 0, 0.0f},
        {"tight ping-pong", 2, 300, 303, 0, 0, 0, 0.0f},
        {"forward sustain, ping-pong after", 2, 100, 900, 1, 400, 410, 0.0f},
        {"ping-pong sustain, no loop after", 0, 0, 0, 2, 200, 260, 0.0f},
        {"forward, its end between frames", 1, 100, 700, 0, 0, 0, 0.5f},
    };
    const float steps[] = {0.37f, 1.0f, 2.71f, 37.3f, 611.5f, -0.61f, -3.2f, 1e-4f, 0.0f};
    const int starts[] = {0, 150, 405, 699, 950};
    for (const Loops& l : loops) {
        setLoop(sample.loop, l.type, l.begin, l.end);
        setLoop(sample.sustain, l.sustainType, l.sustainBegin, l.sustainEnd);
        sample.loop.workingEnd.fraction = l.endFraction;
        for (float step : steps)
            for (int start : starts)
                for (uint8_t backwards : {0, 1})
                    for (uint8_t sustainState : {1, 3}) {
                        SCOPED_TRACE(testing::Message() << l.name << ", step " << step << " from " << start
                                                        << (backwards ? " backwards" : "") << ", sustain "
                                                        << int{sustainState});
                        TesselVoiceWalk stepped;
                        stepped.position = toFixed({start, 0.3f});
                        stepped.step = walkStep(step);
                        stepped.backwards = backwards;
                        stepped.sustainState = sustainState;
                        stepped.frames = renderableFrames(sample);
                        TesselVoiceWalk computed = stepped;
                        std::vector<TesselFixedPos> one;
                        std::vector<TesselFixedPos> spans;
                        bool steppedEnded = false;
                        bool computedEnded = false;
                        for (const int frames : {1000, 3000}) {
                            for (int i = 0; i < frames && !steppedEnded; ++i) {
                                one.push_back(stepped.position);
                                stepped.position += stepped.advance();
                                steppedEnded = !settleWalk(stepped, sample);
                            }
                            if (!computedEnded)
                                walkSpans(computed, sample, frames, &computedEnded,
                                          [&](int, TesselFixedPos p, int64_t s, int n) {
                                              for (int j = 0; j < n; ++j)
                                                  spans.push_back(p + j * s);
                                          });
                            stepped.sustainState = computed.sustainState = 3;   // the key goes up
                        }
                        ASSERT_EQ(one, spans);
                        EXPECT_EQ(steppedEnded, computedEnded);
                        EXPECT_EQ(stepped.position, computed.position);
                        EXPECT_EQ(stepped.backwards, computed.backwards);
                    }
    }
}
