#include "model/audio_files/wav_loop_info.h"

#include "model/sample/sample.h"

#include <algorithm>
#include <cstdlib>

namespace {

int32_t loopType(uint32_t smplType)
{
    switch (smplType) {
    case 0:
        return 1;   // forward
    case 1:
        return 2;   // ping-pong
    default:
        return 0;
    }
}

} // namespace

void TesselWavLoopInfo::applyTo(TesselSample& sample) const
{
    if (samplePeriod != 0) {
        const int64_t rate = 1000000000 / samplePeriod;
        if (std::llabs(int64_t(sample.speed) - rate) > 9)
            sample.speed = int32_t(rate);
    }
    if ((midiUnityNote & 0xFF) < 120)
        sample.pitch = uint8_t(midiUnityNote & 0xFF);
    if (loops.empty())
        return;
    const TesselWavLoop& first = loops.front();
    const uint32_t length = uint32_t(std::max(sample.length, 0));
    sample.loop.type = loopType(first.type);
    sample.loop.setBegin(int32_t(std::min(first.start, length)));
    sample.loop.setEnd(int32_t(std::min(first.end, length)));
}
