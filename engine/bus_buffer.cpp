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
