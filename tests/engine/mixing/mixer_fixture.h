#pragma once
// Pools, tables, samples and hand-built voices for the mixer tests: voices
// are set up through their fields, without note handling.

#include "engine/engine.h"
#include "engine/pool.h"
#include "engine/tables.h"
#include "engine/timing/position_table.h"
#include "engine/voice/voice.h"
#include "model/sample/sample.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>

namespace mixer_test {

constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
constexpr int kGuardFrames = 6;

// Audio of `frames` frames plus the guard frames that repeat the last one.
inline void fillSample(TesselSample& sample, int frames, int channels, int bits,
                       const std::function<float(int channel, int frame)>& value)
{
    ASSERT_TRUE(sample.audio.allocate(channels, static_cast<uint32_t>(frames + kGuardFrames)));
    for (int c = 0; c < channels; ++c)
        for (int f = 0; f < frames; ++f)
            sample.audio.buffers[c][f] = value(c, f);
    sample.audio.holdFrom(static_cast<uint32_t>(frames - 1));
    sample.length = frames;
    sample.channels = channels;
    sample.bits = bits;
}

inline void setLoop(TesselLoop& loop, int type, int begin, int end)
{
    loop.type = type;
    loop.setBegin(begin);
    loop.setEnd(end);
}

// Heap scratch channels of exactly the size the mixer uses, so that the
// address sanitizer sees any write past them.
struct Scratch {
    Scratch()
    {
        for (auto& c : channel) {
            c = static_cast<float*>(std::aligned_alloc(16, sizeof(float) * TesselVoice::kScratchFrames));
            std::fill(c, c + TesselVoice::kScratchFrames, 0.0f);
        }
    }
    ~Scratch()
    {
        for (float* c : channel)
            std::free(c);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    float* channel[2] = {};
};

class MixerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fillTesselTables(); }
    void SetUp() override
    {
        ASSERT_TRUE(TesselPools::create());
        ++TesselPools::users;
        lists = std::make_unique<std::array<TesselChannelVoiceList, kVoiceLists>>();
        output = std::make_unique<TesselBusBuffer>();
        output->frames = 512;
        output->requestedChannels = 2;
    }
    void TearDown() override
    {
        lists.reset();
        if (--TesselPools::users == 0)
            TesselPools::destroy();
    }

    TesselPositionTable& table() { return *TesselPools::positions; }

    // The voice of a new head node of list `channel` (the old head becomes a past note).
    TesselVoice& addVoice(int channel)
    {
        TesselChannelVoiceList& list = (*lists)[static_cast<size_t>(channel)];
        EXPECT_TRUE(list.insert(nullptr, nullptr));
        list.head->voice = TesselPools::voices->acquire(nullptr);
        return *list.head->voice;
    }

    // A sounding voice on the sample at `position` with one event over the block.
    static void startVoice(TesselVoice& voice, TesselSample& sample, int position, float pitch, int frames,
                           float gain = 1.0f)
    {
        voice.sample = &sample;
        voice.position = position;
        voice.fraction = 0.0f;
        voice.ramp[0] = voice.ramp[2] = gain;
        TesselVoiceEvent event;
        event.gain0 = event.gain1 = gain;
        event.pitch = pitch;
        event.start = 0;
        event.end = static_cast<uint16_t>(frames);
        event.state = kSounding;
        event.bus = 0;
        voice.current.copyValues(event);
        ASSERT_TRUE(voice.appendEvent(event));
    }

    int render(int frames) { return TesselEngine::renderVoices(*lists, *output, frames); }

    std::unique_ptr<std::array<TesselChannelVoiceList, kVoiceLists>> lists;
    std::unique_ptr<TesselBusBuffer> output;
};

} // namespace mixer_test
