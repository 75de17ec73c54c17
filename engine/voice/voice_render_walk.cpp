// Sample positions through forward, ping-pong and sustain loops, in fixed
// point. A step longer than a loop is folded back with a division, never one
// wrap per frame, so the position cannot run out of the loop; the frames
// between loop turns are counted by division too.
#include "engine/voice/voice_render.h"

#include "engine/vector/exact_math.h"

#include <climits>
#include <cmath>

namespace {

constexpr int64_t kOne = int64_t{1} << kFixedFractionBits;
constexpr float kMaxStep = 1 << 20;   // beyond any sample length that matters
constexpr int kMaxReflections = 16;   // a few suffice after the division

TesselFixedPos wholeFrame(int32_t frame)
{
    return int64_t{frame} * kOne;
}

// False for a loop that is off or has no length (it cannot hold a position).
bool loopHolds(const TesselLoop& loop)
{
    return (loop.type == 1 || loop.type == 2) && loop.workingEnd.frame > loop.workingBegin.frame;
}

TesselFixedPos boundary(const TesselSamplePos& p)
{
    TesselSamplePos q = p;
    if (!(q.fraction >= 0.0f && q.fraction < 1.0f))
        q.carryFraction();
    return toFixed(q);
}

void wrapForward(TesselFixedPos& p, const TesselLoop& loop)
{
    const TesselFixedPos end = boundary(loop.workingEnd);
    if (p < end)
        return;
    // Back by whole lengths (the fraction unchanged) until before the end.
    const int64_t length = wholeFrame(loop.workingEnd.frame) - wholeFrame(loop.workingBegin.frame);
    p -= ((p - end) / length + 1) * length;
}

// Two reflections (at the end, then the begin) move a position by twice the
// loop's length; whole pairs are taken off first.
void pingPong(TesselFixedPos& p, const TesselLoop& loop, uint8_t& backwards)
{
    const TesselFixedPos begin = boundary(loop.workingBegin);
    const TesselFixedPos end = boundary(loop.workingEnd);
    const int64_t length = wholeFrame(loop.workingEnd.frame) - wholeFrame(loop.workingBegin.frame);
    const int64_t period = 2 * length;
    for (int i = 0; i < kMaxReflections; ++i) {
        if (backwards && p <= begin) {
            const int64_t beyond = begin - p;
            if (beyond > length + period)
                p += (beyond - length - 1) / period * period;
            backwards = 0;
            p = 2 * wholeFrame(loop.workingBegin.frame) - p;
        } else if (!backwards && p >= end) {
            const int64_t beyond = p - end;
            if (beyond > length + period)
                p -= (beyond - length - 1) / period * period;
            backwards = 1;
            p = 2 * wholeFrame(loop.workingEnd.frame) - p;
        } else {
            return;
        }
    }
}

bool applyLoop(TesselFixedPos& p, const TesselLoop& loop, uint8_t& backwards)
{
    if (!loopHolds(loop))
        return false;
    if (loop.type == 1) {
        backwards = 0;
        wrapForward(p, loop);
    } else {
        pingPong(p, loop, backwards);
    }
    return true;
}

int64_t ceilDiv(int64_t a, int64_t b)
{
    return a / b + (a % b != 0 && a > 0 ? 1 : 0);
}

} // namespace

int64_t walkStep(float pitch)
{
    const float step = std::isfinite(pitch) ? std::clamp(pitch, -kMaxStep, kMaxStep) : 0.0f;
    return exact::llround(static_cast<double>(step) * 0x1p32);
}

bool settleWalk(TesselVoiceWalk& walk, const TesselSample& sample)
{
    TesselFixedPos& p = walk.position;
    if (walk.sustainState == 1) {
        if (!applyLoop(p, sample.sustain, walk.backwards)) {
            walk.sustainState = 3;
            applyLoop(p, sample.loop, walk.backwards);
        }
    } else {
        applyLoop(p, sample.loop, walk.backwards);
    }
    return p >= 0 && p < wholeFrame(walk.frames);
}

int64_t quietAdvances(const TesselVoiceWalk& walk, const TesselSample& sample)
{
    const TesselLoop* loop = nullptr;
    if (walk.sustainState == 1) {
        if (!loopHolds(sample.sustain))
            return 1;   // the next settle falls back to the normal loop
        loop = &sample.sustain;
    } else if (loopHolds(sample.loop)) {
        loop = &sample.loop;
    }
    // Positions in lo..hi - 1 need nothing.
    TesselFixedPos lo = 0;
    TesselFixedPos hi = wholeFrame(walk.frames);
    if (loop) {
        if (loop->type == 1) {
            if (walk.backwards)
                return 1;   // the forward loop turns it round
            hi = std::min(hi, boundary(loop->workingEnd));
        } else if (walk.backwards) {
            lo = std::max(lo, boundary(loop->workingBegin) + 1);
        } else {
            hi = std::min(hi, boundary(loop->workingEnd));
        }
    }
    const TesselFixedPos p = walk.position;
    const int64_t d = walk.advance();
    if (d > 0) {
        if (p + d < lo || p >= hi)
            return 1;
        return std::max<int64_t>(1, ceilDiv(hi - p, d));
    }
    if (d < 0) {
        if (p + d >= hi || p < lo)
            return 1;
        return (p - lo) / -d + 1;
    }
    return p >= lo && p < hi ? INT64_MAX : 1;
}

int walkPositions(TesselVoiceWalk& walk, const TesselSample& sample, TesselSamplePos* out, int count, bool* ended)
{
    return walkSpans(walk, sample, count, ended, [out](int i, TesselFixedPos p, int64_t step, int n) {
        for (int j = 0; j < n; ++j, p += step)
            out[i + j] = fromFixed(p);
    });
}
