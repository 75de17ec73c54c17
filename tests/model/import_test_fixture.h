#pragma once
// A fresh song to import into; the status text and the song-wide values are
// put back around each test.

#include "model/module.h"
#include "model/module_test_support.h"
#include "platform/status_text.h"

#include <memory>
#include <vector>

class ImportTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        platform::clearStatusText();
        song = makeSong();
    }
    void TearDown() override
    {
        platform::clearStatusText();
        ModuleTest::TearDown();
    }

    std::unique_ptr<TesselModule> song;
};

// The first `count` values of one channel of a slot's audio (all of them by
// default); empty when the channel holds no audio.
inline std::vector<float> framesOf(const TesselSample& s, int channel, int count = -1)
{
    const float* data = s.audio.channel(channel);
    return data ? std::vector<float>(data, data + (count < 0 ? s.length : count)) : std::vector<float>{};
}
