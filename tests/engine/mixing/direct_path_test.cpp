// The mixer's direct path against the plain per-voice render, which stays the
// reference: the same voices rendered block by block both ways (and with
// each vector variant the processor has) give the same output, within 1e-5
// of a full-scale sample, and leave the voices in the same state.
#include "mix_path_scope.h"
#include "mixer_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace mixer_test;

namespace {

struct LoopSpec {
    int type = 0;
    int begin = 0;
    int end = 0;
};

struct VoiceSpec {
    int32_t position = 0;
    float fraction = 0.0f;
    float pitch = 1.0f;
    uint8_t backwards = 0;
    uint8_t sustainState = 3;
    float target[2] = {0.7f, 0.4f};
    float current[2] = {0.2f, 0.9f};
    bool released = false;
    uint8_t bus = 1;
    bool filtered = false;
    bool stereo = false;
};

struct Case {
    std::string name;
    LoopSpec loop;
    LoopSpec sustain;
    std::vector<VoiceSpec> voices;
    int releaseAtBlock = -1;   // the key goes up: sustain state 3 from this block on
    bool splitEvents = true;   // each block in three events, as ticks split it
};

// Full-scale noise: the worst case for a position that is off. With the
// guard frames the buffer ends on a 16-byte boundary, so that the address
// sanitizer sees a read past it.
constexpr int kSampleFrames = 3002;

void makeSample(TesselSample& sample, int channels, const LoopSpec& loop, const LoopSpec& sustain)
{
    std::mt19937 rng(7 + channels);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    fillSample(sample, kSampleFrames, channels, 32, [&](int, int) { return value(rng); });
    setLoop(sample.loop, loop.type, loop.begin, loop.end);
    setLoop(sample.sustain, sustain.type, sustain.begin, sustain.end);
}

struct VoiceState {
    int32_t position;
    float fraction;
    uint8_t backwards;
    uint8_t sustainState;
    uint8_t state;
    float ramp[4];
    float peaks[2];
    bool hasEvents;
};

struct Rendering {
    std::vector<float> out[2];
    std::vector<VoiceState> after;   // every voice after every block
};

class DirectPath : public MixerTest {
protected:
    // The block sizes of one rendering.
    static std::vector<int> schedule(int first, int last, int step)
    {
        std::vector<int> sizes;
        for (int n = first; n <= last; n += step)
            sizes.push_back(n);
        return sizes;
    }

    // Each block's events as the block process leaves them: the carried event
    // spans the block, and ticks split it where pitch and gains change.
    static void setEvents(TesselVoice& voice, const VoiceSpec& spec, int frames, int block, bool split)
    {
        TesselVoiceEvent* last = voice.events ? voice.events->last() : nullptr;
        if (!last)
            return;
        last->end = static_cast<uint16_t>(frames);
        if (!split || frames < 3)
            return;
        last->end = static_cast<uint16_t>(frames / 3);
        for (int part = 1; part < 3; ++part) {
            TesselVoiceEvent next = *voice.events->last();
            next.start = static_cast<uint16_t>(part * frames / 3);
            next.end = static_cast<uint16_t>(part == 2 ? frames : 2 * frames / 3);
            next.pitch = spec.pitch * (1.0f + 0.01f * static_cast<float>((block + part) % 5));
            next.gain0 = spec.target[0] * (part == 1 ? 0.5f : 1.0f);
            next.gain1 = spec.target[1] * (part == 2 ? 0.0f : 1.0f);
            ASSERT_TRUE(voice.appendEvent(next));
        }
    }

    Rendering render(const Case& c, const std::vector<int>& sizes)
    {
        TesselSample mono;
        TesselSample stereo;
        makeSample(mono, 1, c.loop, c.sustain);
        makeSample(stereo, 2, c.loop, c.sustain);
        lists = std::make_unique<std::array<TesselChannelVoiceList, kVoiceLists>>();
        output->requestedChannels = 2;
        output->channels = 2;
        std::vector<TesselVoice*> voices;
        for (size_t i = 0; i < c.voices.size(); ++i) {
            const VoiceSpec& s = c.voices[i];
            TesselVoice& voice = addVoice(static_cast<int>(i % kVoiceLists));
            startVoice(voice, s.stereo ? stereo : mono, s.position, s.pitch, sizes[0]);
            voice.fraction = s.fraction;
            voice.backwards = s.backwards;
            voice.sustainState = s.sustainState;
            voice.ramp[0] = s.current[0];
            voice.ramp[1] = s.target[0];
            voice.ramp[2] = s.current[1];
            voice.ramp[3] = s.target[1];
            voice.events->gain0 = s.target[0];
            voice.events->gain1 = s.target[1];
            voice.events->bus = s.bus;
            if (s.released)
                voice.events->state |= voice_state::kReleased;
            if (s.filtered) {
                voice.filter[0] = 0.3f;
                voice.filter[1] = 1.1f;
                voice.filter[2] = -0.45f;
            }
            voices.push_back(&voice);
        }
        Rendering r;
        for (size_t block = 0; block < sizes.size(); ++block) {
            const int n = sizes[block];
            for (size_t i = 0; i < voices.size(); ++i) {
                if (static_cast<int>(block) == c.releaseAtBlock)
                    voices[i]->sustainState = 3;
                setEvents(*voices[i], c.voices[i], n, static_cast<int>(block), c.splitEvents);
            }
            output->frames = n;
            output->silence();
            TesselEngine::renderVoices(*lists, *output, n);
            for (int j = 0; j < 2; ++j)
                r.out[j].insert(r.out[j].end(), output->channel[j], output->channel[j] + n);
            for (const TesselVoice* v : voices)
                r.after.push_back({v->position, v->fraction, v->backwards, v->sustainState, v->state(),
                                   {v->ramp[0], v->ramp[1], v->ramp[2], v->ramp[3]},
                                   {v->peaks[0], v->peaks[1]}, v->events != nullptr});
        }
        lists.reset();
        return r;
    }

    // Renders with the plain path, then with the direct path at each level the
    // processor has, and compares.
    void check(const Case& c, const std::vector<int>& sizes)
    {
        SCOPED_TRACE(c.name);
        Rendering plain;
        {
            MixPathScope scope(TesselMixPath::Plain, 0);
            plain = render(c, sizes);
        }
        for (int level : directPathLevels()) {
            SCOPED_TRACE(testing::Message() << "level " << level);
            MixPathScope scope(TesselMixPath::Direct, level);
            const Rendering direct = render(c, sizes);
            compare(plain, direct);
        }
    }

    static void compare(const Rendering& plain, const Rendering& direct)
    {
        for (int j = 0; j < 2; ++j) {
            ASSERT_EQ(plain.out[j].size(), direct.out[j].size());
            for (size_t i = 0; i < plain.out[j].size(); ++i) {
                ASSERT_NEAR(plain.out[j][i], direct.out[j][i], 1e-5f) << "channel " << j << " frame " << i;
                // Silence stays silence: a voice that has ended adds nothing more.
                ASSERT_EQ(plain.out[j][i] == 0.0f, direct.out[j][i] == 0.0f) << "channel " << j << " frame " << i;
            }
        }
        ASSERT_EQ(plain.after.size(), direct.after.size());
        for (size_t i = 0; i < plain.after.size(); ++i) {
            const VoiceState& a = plain.after[i];
            const VoiceState& b = direct.after[i];
            SCOPED_TRACE(testing::Message() << "voice state " << i);
            ASSERT_EQ(a.position, b.position);
            ASSERT_EQ(a.fraction, b.fraction);
            ASSERT_EQ(a.backwards, b.backwards);
            ASSERT_EQ(a.sustainState, b.sustainState);
            ASSERT_EQ(a.state, b.state);
            ASSERT_EQ(a.hasEvents, b.hasEvents);
            for (int k = 0; k < 4; ++k)
                ASSERT_NEAR(a.ramp[k], b.ramp[k], 1e-5f) << "ramp " << k;
            for (int k = 0; k < 2; ++k)
                ASSERT_NEAR(a.peaks[k], b.peaks[k], 1e-5f) << "peak " << k;
        }
    }

    static VoiceSpec voice(int32_t position, float pitch)
    {
        VoiceSpec v;
        v.position = position;
        v.pitch = pitch;
        return v;
    }
    static std::vector<VoiceSpec> with(std::vector<VoiceSpec> voices, void (*edit)(VoiceSpec&))
    {
        for (VoiceSpec& v : voices)
            edit(v);
        return voices;
    }

    // Loops, steps and ends the walk must follow exactly.
    static std::vector<Case> cases()
    {
        const LoopSpec none;
        const LoopSpec forward{1, 400, 1900};
        const LoopSpec pingPong{2, 400, 1900};
        const LoopSpec tight{1, 100, 110};
        const LoopSpec tightPingPong{2, 100, 110};
        std::vector<Case> all = {
            {"forward loop, steps below 1", forward, none, {voice(0, 0.37f), voice(1700, 0.999f), voice(10, 0.125f)}},
            {"forward loop, steps above 1", forward, none, {voice(0, 1.63f), voice(1880, 1.999f), voice(5, 3.7f)}},
            {"ping-pong loop", pingPong, none, {voice(0, 0.71f), voice(1890, 1.9f), voice(500, 0.05f)}},
            {"steps longer than the loop", tight, none, {voice(100, 37.3f), voice(105, 1000.5f), voice(100, 11.0f)}},
            // A step that lands less than a length beyond the end wraps in the vector step; one more frame does not.
            {"steps just shorter than a short loop", tight, none,
             {voice(100, 8.9f), voice(109, 8.999f), voice(100, 9.0f), voice(104, 10.5f), voice(0, 0.999f), voice(109, 1.5f)}},
            {"steps longer than a ping-pong loop", tightPingPong, none, {voice(100, 37.3f), voice(109, 13.5f)}},
            {"the sample's end", none, none,
             {voice(2000, 2.3f), voice(2900, 0.6f), voice(2990, 1.0f), voice(3001, 0.05f), voice(2992, 1.1f)}},
            {"backwards", pingPong, none,
             with({voice(1800, 0.3f), voice(450, 1.3f), voice(401, 0.9f)}, [](VoiceSpec& v) { v.backwards = 1; })},
            {"negative pitch past the start", none, none, {voice(300, -0.8f), voice(40, -2.5f)}},
            // y = -2^-24 carries down to 1 - 2^-24; y = -2^-25 rounds up to 1: the same frame at 0.
            {"fractions a rounding below 0", none, none,
             with({voice(1000, -(0.5f + 0x1p-24f)), voice(1000, -(0.25f + 0x1p-25f))},
                  [](VoiceSpec& v) { v.fraction = v.pitch < -0.3f ? 0.5f : 0.25f; })},
            {"the same beside a long step", none, none,
             with({voice(1000, -(0.5f + 0x1p-24f)), voice(1000, -(0.25f + 0x1p-25f)), voice(20, 1.5f)},
                  [](VoiceSpec& v) { v.fraction = v.pitch < -0.3f ? 0.5f : 0.25f; })},
            {"sustain loop until the key goes up", forward, {1, 50, 90},
             with({voice(0, 0.4f), voice(60, 1.2f)}, [](VoiceSpec& v) { v.sustainState = 1; })},
            {"sustain loop that is off", forward, none,
             with({voice(0, 0.4f), voice(1500, 0.9f)}, [](VoiceSpec& v) { v.sustainState = 1; })},
            {"released voices fading out", forward, none,
             with({voice(0, 0.5f), voice(30, 1.5f)},
                  [](VoiceSpec& v) {
                      v.released = true;
                      v.target[0] = v.target[1] = 0.0f;
                      v.current[0] = 1.0f;
                  })},
            {"stereo samples and filters", forward, none,
             with({voice(0, 0.6f), voice(900, 1.4f)},
                  [](VoiceSpec& v) {
                      v.stereo = v.position == 0;
                      v.filtered = v.position != 0;
                  })},
            {"one channel on bus 0", forward, none, with({voice(0, 0.6f)}, [](VoiceSpec& v) { v.bus = 0; })},
            {"fractions outside 0..1 and positions outside the sample", forward, none,
             with({voice(0, 0.6f), voice(kSampleFrames, 1.0f), voice(-1, 1.0f), voice(20, 0.5f)},
                  [](VoiceSpec& v) { v.fraction = v.position == 0 ? 1.75f : v.position == 20 ? NAN : 0.0f; })},
            {"silent and fading gains", forward, none,
             with({voice(0, 0.6f), voice(7, 0.6f)},
                  [](VoiceSpec& v) {
                      v.current[0] = v.current[1] = 0.0f;
                      v.target[0] = v.position == 0 ? 0.0f : 1e-7f;
                      v.target[1] = 0.0f;
                  })},
            {"loops beyond the sample", {2, -50, 5000}, {1, 2500, 9000},
             with({voice(0, 2.5f), voice(2990, 0.7f)}, [](VoiceSpec& v) { v.sustainState = 1; })},
        };
        all[11].releaseAtBlock = 20;
        // Crowds of voices of every kind above, past notes among them.
        all.push_back(crowd("twenty voices", 20));
        all.push_back(crowd("seventy voices", 70));
        return all;
    }
    static Case crowd(const char* name, int voices)
    {
        Case c{name, {1, 400, 1900}, {}, {}};
        for (int i = 0; i < voices; ++i) {
            VoiceSpec v = voice(37 * i % 2000, 0.1f + 0.23f * static_cast<float>(i % 9));
            v.backwards = static_cast<uint8_t>(i % 4 == 3);
            v.stereo = i % 5 == 0;
            v.released = i % 7 == 6;
            v.bus = static_cast<uint8_t>(i % 6 != 0);
            c.voices.push_back(v);
        }
        return c;
    }
};

} // namespace

TEST_F(DirectPath, MatchesThePlainRenderBlockByBlock)
{
    // Every block size from 1 to 64 and the sizes around the tiles and the
    // largest, small ones first and large ones first: the short blocks take
    // the one compact loop, the long ones each loop variant.
    const std::vector<int> small = schedule(1, 64, 1);
    const std::vector<int> large = {127, 128, 129, 511, 512, 513, 1000, 4096, 16384};
    std::vector<int> up = small;
    up.insert(up.end(), large.begin(), large.end());
    std::vector<int> down = large;
    down.insert(down.end(), small.begin(), small.end());
    for (const Case& c : cases()) {
        check(c, up);
        check(c, down);
    }
}

TEST_F(DirectPath, MatchesThePlainRenderAtBlockSizesUpToTheLargest)
{
    Case c{"block sizes", {2, 300, 2700}, {}, {voice(0, 0.77f), voice(100, 1.31f), voice(2000, 0.2f)}};
    c.voices[2].backwards = 1;
    check(c, schedule(1, TesselBusBuffer::kFrames, 97));
    c.splitEvents = false;
    check(c, schedule(TesselBusBuffer::kFrames, TesselBusBuffer::kFrames, 1));
}
