// Sample positions through forward, ping-pong and sustain loops. A step
// longer than a loop is folded back with a modulo, never one wrap per frame,
// so the position cannot run out of the loop.
#include "engine/voice_render.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr float kMaxStep = 1 << 20;   // beyond any sample length that matters
constexpr int kMaxReflections = 16;   // a few suffice after the modulo

int32_t clampFrame(int64_t frame)
{
    return static_cast<int32_t>(std::clamp<int64_t>(frame, INT32_MIN, INT32_MAX));
}

bool atOrAfter(const TesselSamplePos& p, const TesselSamplePos& end)
{
    return p.frame > end.frame || (p.frame == end.frame && p.fraction >= end.fraction);
}

bool atOrBefore(const TesselSamplePos& p, const TesselSamplePos& begin)
{
    return p.frame < begin.frame || (p.frame == begin.frame && p.fraction <= begin.fraction);
}

void advance(TesselSamplePos& p, float step)
{
    p.fraction += step;
    if (p.fraction >= 1.0f && p.fraction < 2.0f) {
        p.fraction -= 1.0f;
        ++p.frame;
    } else if (p.fraction < 0.0f && p.fraction >= -1.0f) {
        p.fraction += 1.0f;
        --p.frame;
        if (p.fraction >= 1.0f) {   // a tiny negative fraction rounded up
            p.fraction = 0.0f;
            ++p.frame;
        }
    } else if (!(p.fraction >= 0.0f && p.fraction < 1.0f)) {
        p.carryFraction();
    }
}

void wrapForward(TesselSamplePos& p, const TesselLoop& loop)
{
    const int64_t length = int64_t{loop.workingEnd.frame} - loop.workingBegin.frame;
    if (!atOrAfter(p, loop.workingEnd))
        return;
    const int64_t beyond = int64_t{p.frame} - loop.workingEnd.frame;
    int64_t frame = p.frame - beyond / length * length;
    p.frame = clampFrame(frame);
    while (atOrAfter(p, loop.workingEnd)) {
        frame -= length;
        p.frame = clampFrame(frame);
    }
}

// Two reflections (at the end, then the begin) move a position by twice the
// loop's length; whole pairs are taken off first.
void pingPong(TesselSamplePos& p, const TesselLoop& loop, uint8_t& backwards)
{
    const int64_t length = int64_t{loop.workingEnd.frame} - loop.workingBegin.frame;
    const int64_t period = 2 * length;
    for (int i = 0; i < kMaxReflections; ++i) {
        if (backwards && atOrBefore(p, loop.workingBegin)) {
            const int64_t beyond = int64_t{loop.workingBegin.frame} - p.frame;
            if (beyond > length + period)
                p.frame = clampFrame(p.frame + (beyond - length - 1) / period * period);
            backwards = 0;
            p.reflect(loop.workingBegin.frame);
        } else if (!backwards && atOrAfter(p, loop.workingEnd)) {
            const int64_t beyond = int64_t{p.frame} - loop.workingEnd.frame;
            if (beyond > length + period)
                p.frame = clampFrame(p.frame - (beyond - length - 1) / period * period);
            backwards = 1;
            p.reflect(loop.workingEnd.frame);
        } else {
            return;
        }
    }
}

// False for a loop that is off or has no length (it cannot hold a position).
bool loopHolds(const TesselLoop& loop)
{
    return (loop.type == 1 || loop.type == 2) && loop.workingEnd.frame > loop.workingBegin.frame;
}

bool applyLoop(TesselSamplePos& p, const TesselLoop& loop, uint8_t& backwards)
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

} // namespace

int32_t renderableFrames(const TesselSample& sample)
{
    if (!sample.audio.buffers[0] || sample.audio.frames < 2)
        return 0;
    const int64_t readable = int64_t{sample.audio.frames} - 1;
    return static_cast<int32_t>(std::clamp<int64_t>(sample.length, 0, readable));
}

bool settleWalk(TesselVoiceWalk& walk, const TesselSample& sample)
{
    TesselSamplePos& p = walk.position;
    if (walk.sustainState == 1) {
        if (!applyLoop(p, sample.sustain, walk.backwards)) {
            walk.sustainState = 3;
            applyLoop(p, sample.loop, walk.backwards);
        }
    } else {
        applyLoop(p, sample.loop, walk.backwards);
    }
    return p.frame >= 0 && p.frame < walk.frames;
}

TesselQuietFrames quietFrames(const TesselVoiceWalk& walk, const TesselSample& sample)
{
    constexpr TesselQuietFrames kNone{INT32_MAX, INT32_MIN};
    const TesselLoop* loop = nullptr;
    if (walk.sustainState == 1) {
        if (!loopHolds(sample.sustain))
            return kNone;   // the next step falls back to the normal loop
        loop = &sample.sustain;
    } else if (loopHolds(sample.loop)) {
        loop = &sample.loop;
    }
    TesselQuietFrames quiet{0, walk.frames};
    if (!loop)
        return quiet;
    // A frame below the end's (or above the begin's) frame is before (after)
    // the boundary whatever the fractions.
    if (loop->type == 1) {
        if (walk.backwards)
            return kNone;   // the forward loop turns it round
        quiet.hi = std::min(quiet.hi, loop->workingEnd.frame);
    } else if (walk.backwards) {
        quiet.lo = std::max(quiet.lo, loop->workingBegin.frame + 1);
    } else {
        quiet.hi = std::min(quiet.hi, loop->workingEnd.frame);
    }
    return quiet;
}

TesselLoopWrap loopWrap(const TesselVoiceWalk& walk, const TesselSample& sample)
{
    const TesselLoop& loop = walk.sustainState == 1 ? sample.sustain : sample.loop;
    const float step = walkStep(walk.step);
    if (walk.backwards || !(step > 0.0f) || !loopHolds(loop) || loop.type != 1)
        return {};
    const TesselSamplePos& begin = loop.workingBegin;
    const TesselSamplePos& end = loop.workingEnd;
    if (begin.frame < 0 || end.frame > walk.frames || begin.fraction != 0.0f || end.fraction != 0.0f)
        return {};
    // From inside the loop a step lands at most its whole frames and one more beyond.
    const int64_t length = int64_t{end.frame} - begin.frame;
    if (static_cast<int64_t>(step) + 1 >= length)
        return {};
    return {end.frame, static_cast<int32_t>(length)};
}

float walkStep(float step)
{
    return std::isfinite(step) ? std::clamp(step, -kMaxStep, kMaxStep) : 0.0f;
}

int walkPositions(TesselVoiceWalk& walk, const TesselSample& sample, TesselSamplePos* out, int count, bool* ended)
{
    const float step = walkStep(walk.step);
    TesselSamplePos& p = walk.position;
    *ended = false;
    int i = 0;
    while (i < count) {
        out[i++] = p;
        advance(p, walk.backwards ? -step : step);
        if (!settleWalk(walk, sample)) {
            *ended = true;
            break;
        }
    }
    return i;
}
