#pragma once
// Four frames of known 16-bit mono audio for a sample slot.

#include "model/sample.h"

#include <algorithm>
#include <gtest/gtest.h>

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
