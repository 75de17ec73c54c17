#include "engine/bus_buffer.h"

#include "engine/vector.h"

void TesselBusBuffer::silence()
{
    const int n = frames < kFrames ? frames : kFrames;
    for (auto& c : channel)
        vecZero(c, n);   // a block of 0 frames is refused and touches nothing
}

void TesselBusBuffer::clear()
{
    if (frames == 0)
        return;
    pending = 0;
    silence();
}

void TesselBusBuffer::copyTo(float** outputs, int count, int frames)
{
    const int n = frames < kFrames ? frames : kFrames;
    if (count > kChannels)
        count = kChannels;
    for (int c = 0; outputs && n > 0 && c < count; ++c)
        if (outputs[c])
            vecCopy(channel[c], outputs[c], n);
    pending = 0;
}
