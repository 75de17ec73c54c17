#include "engine/rows/pattern_loop.h"

namespace {

int jumpBack(TesselLoopState* loops, int count, int channel)
{
    const int loopRow = loops[channel].loopRow;
    for (int c = 0; c < count; ++c) {
        TesselLoopState& other = loops[c];
        if (c != channel && other.state == 1 && other.loopRow > loopRow)
            other.state = 0;
    }
    return loopRow;
}

} // namespace

int stepPatternLoop(TesselLoopState* loops, int count, int channel, int x, int row)
{
    if (channel < 0 || channel >= count)
        return -1;
    TesselLoopState& loop = loops[channel];
    switch (loop.state) {
    case 0:
        loop.state = 1;
        loop.loopRow = row;
        return -1;
    case 1:
        if (x == 0) {
            loop.loopRow = row;
            return -1;
        }
        loop.loopEnd = row;
        loop.remaining = x;
        loop.state = 2;
        [[fallthrough]];
    case 2:
        if (loop.remaining == 0)
            return -1;
        if (row == loop.loopRow) {
            if (--loop.remaining == 0)
                loop.state = 3;
            return -1;
        }
        if (row == loop.loopEnd)
            return jumpBack(loops, count, channel);
        return -1;
    case 3:
        if (row == loop.loopEnd) {
            loop.state = 1;
            loop.loopRow = row;
        }
        return -1;
    default:
        return -1;
    }
}
