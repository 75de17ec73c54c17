#pragma once
// Four frames of known 16-bit mono audio for a sample slot, and a look at
// the values a slot holds.

#include "model/sample/sample.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <vector>

inline void giveAudio(TesselSample& s)
{
    s.bits = 16;
    s.channels = 1;
    s.fileRate = 22050;
    s.speed = 22050;
    s.length = 4;
    ASSERT_TRUE(s.audio.allocate(1, 4 + 6));
    const float values[] = {0.0f, 1000.0f, -1000.0f, 32767.0f};
    std::copy(values, values + 4, s.audio.buffers[0]);
    s.audio.holdFrom(3);
}

// The first `count` values of one channel of a slot's audio (all of them by
// default); empty when the channel holds no audio.
inline std::vector<float> framesOf(const TesselSample& s, int channel, int count = -1)
{
    const float* data = s.audio.channel(channel);
    return data ? std::vector<float>(data, data + (count < 0 ? s.length : count)) : std::vector<float>{};
}

// A loop's type, begin and end, to compare in one go.
using LoopPoints = std::array<int32_t, 3>;
inline LoopPoints loopOf(const TesselLoop& loop) { return {loop.type, loop.begin, loop.end}; }
