// The scalar side of the lane walk: which voices and events the lanes take,
// and the lanes' set-up, boundaries and kinds of step.
#include "engine/voice_lanes.h"

#include "engine/bus_buffer.h"
#include "engine/interpolate.h"
#include "engine/pool.h"
#include "engine/voice.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>

namespace {

constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
constexpr int32_t kMaxWalkFrames = 1 << 30;  // frame + step stays inside 32 bits

std::atomic<TesselMixPath> path{TesselMixPath::Lanes};

} // namespace

int voiceMixChannels(const TesselSample& sample, int bus, const TesselBusBuffer& out)
{
    int c = sampleRenderChannels(sample);
    // The output block is the only bus: any bus but 0 takes its channel count.
    if (bus != 0 && out.requestedChannels > c)
        c = out.requestedChannels;
    return std::min(c, TesselBusBuffer::kChannels);
}

TesselMixPath setMixPath(TesselMixPath p)
{
    return path.exchange(p);
}

TesselMixPath mixPath()
{
    return path.load(std::memory_order_relaxed);
}

TesselLaneWalk::TesselLaneWalk(TesselLaneBuffers& b, int t, int w) : buffers(b), tile(t), width(w) {}

bool TesselLaneWalk::add(TesselVoice& voice, const TesselBusBuffer& out, int frames)
{
    const TesselSample* sample = voice.sample;
    if (full() || !sample || (!voice.positionTable && !TesselPools::positions))
        return false;
    if (renderableFrames(*sample) >= kMaxWalkFrames)
        return false;
    TesselLaneVoice& lane = buffers.lane[lanes_];
    lane.voice = &voice;
    lane.sample = sample;
    lane.events = 0;
    int32_t walkedTo = 0;
    for (const TesselVoiceEvent* e = voice.events; e; e = e->following()) {
        if (lane.events == lanes::kMaxEvents)
            return false;
        TesselLaneEvent& event = lane.event[lane.events++];
        event = TesselLaneEvent{};
        event.end = std::min<int32_t>(e->end, std::min(frames, lanes::kFrames));
        event.start = std::min<int32_t>(e->start, event.end);
        event.sounding = (e->state & kSounding) == kSounding;
        if (!event.sounding)
            continue;
        // The lanes walk the block forwards: events out of order take the plain path.
        if (event.start < walkedTo)
            return false;
        walkedTo = event.end;
        event.step = walkStep(e->pitch);
        event.gain[0] = e->gain0;
        event.gain[1] = e->gain1;
        event.channels = static_cast<uint8_t>(voiceMixChannels(*sample, e->bus, out));
        event.released = (e->state & voice_state::kReleased) != 0;
    }
    // A voice with nothing to render needs no lane.
    for (int e = 0; e < lane.events; ++e)
        if (lane.event[e].sounding) {
            ++lanes_;
            return true;
        }
    return false;
}

bool TesselLaneWalk::begin()
{
    TesselLaneVectors& v = buffers.vectors;
    first = INT32_MAX;
    int32_t last = 0;
    // The vectors the loops step: one, or two past a vector's lanes.
    const int stepped = lanes_ > tile ? width : tile;
    for (int l = 0; l < stepped; ++l) {
        v.frame[l] = 0;
        v.fraction[l] = 0.0f;
        v.current[0][l] = v.current[1][l] = 0.0f;
        hold(l, true);
        if (l >= lanes_)
            continue;
        TesselLaneVoice& lane = buffers.lane[l];
        const TesselVoice& voice = *lane.voice;
        v.frame[l] = voice.position;
        v.fraction[l] = voice.fraction;
        v.current[0][l] = voice.ramp[0];
        v.current[1][l] = voice.ramp[2];
        lane.target[0] = voice.ramp[1];
        lane.target[1] = voice.ramp[3];
        lane.walk = TesselVoiceWalk{};
        lane.walk.backwards = voice.backwards;
        lane.walk.sustainState = voice.sustainState;
        lane.walk.frames = renderableFrames(*lane.sample);
        lane.walking = false;
        lane.ramping = false;
        lane.done = false;
        lane.current = -1;
        nextEvent(l);
        if (lane.boundary == INT32_MAX)
            continue;
        first = std::min(first, lane.boundary);
        for (int e = lane.current; e < lane.events; ++e)
            last = std::max(last, lane.event[e].end);
    }
    if (first == INT32_MAX)
        return false;
    first -= first % tile;
    end = std::max(first, (last + tile - 1) / tile * tile);
    buffers.stride = std::max(end, tile);
    refresh();
    return true;
}

void TesselLaneWalk::nextEvent(int l)
{
    TesselLaneVoice& lane = buffers.lane[l];
    do
        ++lane.current;
    while (lane.current < lane.events && !lane.event[lane.current].sounding);
    lane.boundary = lane.current < lane.events ? lane.event[lane.current].start : INT32_MAX;
}

void TesselLaneWalk::attend(int32_t frame)
{
    for (int l = 0; l < lanes_; ++l) {
        TesselLaneVoice& lane = buffers.lane[l];
        while (lane.boundary == frame) {
            if (lane.walking) {
                const TesselLaneEvent& event = lane.event[lane.current];
                endEvent(l, event.end - event.start, false);
            } else {
                startEvent(l);
            }
        }
    }
    refresh();
}

void TesselLaneWalk::finish()
{
    while (next != INT32_MAX)
        attend(next);
}

// Gains held where they are; with `still`, no step either and no frame that
// needs the scalar step.
void TesselLaneWalk::hold(int l, bool still)
{
    TesselLaneVectors& v = buffers.vectors;
    for (int j = 0; j < 2; ++j) {
        v.keep[j][l] = 1.0f;
        v.take[j][l] = 0.0f;
        v.floor[j][l] = lanes::kNoFloor;
    }
    v.rampQuiet[l] = INT32_MAX;
    if (!still)
        return;
    v.step[l] = 0.0f;
    v.lo[l] = INT32_MIN;
    v.last[l] = INT32_MAX;
    v.wrapAfter[l] = INT32_MAX;
    v.wrapBy[l] = 0;
}

void TesselLaneWalk::quiet(int l)
{
    TesselLaneVectors& v = buffers.vectors;
    const TesselQuietFrames q = quietFrames(buffers.lane[l].walk, *buffers.lane[l].sample);
    if (q.hi > q.lo) {
        v.lo[l] = q.lo;
        v.last[l] = q.hi - 1;
    } else {
        v.lo[l] = INT32_MAX;   // every frame takes the scalar step
        v.last[l] = INT32_MIN;
    }
    // A forward loop the vector step wraps itself, from a position before its end.
    const TesselLoopWrap wrap = loopWrap(buffers.lane[l].walk, *buffers.lane[l].sample);
    const bool wraps = wrap.by > 0 && v.frame[l] < wrap.at;
    v.wrapAfter[l] = wraps ? wrap.at - 1 : INT32_MAX;
    v.wrapBy[l] = wraps ? wrap.by : 0;
}

namespace {

// Steps a gain can take from `current` while keep x current + take, rounded
// twice, stays above `floor`. Each step keeps at least keep x (1 - 2^-24) of
// the gain; the bound takes twice that loss and one step less.
int64_t stepsAbove(float current, float keep, float take, float floor)
{
    if (!(current > floor) || !(take >= 0.0f))
        return 0;
    if (take > floor || keep >= 1.0f)
        return INT64_MAX;   // never below take, or held
    if (!(keep > 0.0f))
        return 0;
    const double shrink = std::log(static_cast<double>(keep) * (1.0 - 0x1p-23));
    const double steps = std::log(static_cast<double>(floor) / current) / shrink;
    return steps >= 1.0 && steps < 1e9 ? static_cast<int64_t>(steps) - 1 : 0;
}

} // namespace

void TesselLaneWalk::boundRamp(int l, int32_t frame)
{
    const TesselLaneVectors& v = buffers.vectors;
    int64_t n = INT32_MAX;
    for (int j = 0; j < 2; ++j)
        if (v.floor[j][l] != lanes::kNoFloor)
            n = std::min(n, stepsAbove(v.current[j][l], v.keep[j][l], v.take[j][l], v.floor[j][l]));
    buffers.vectors.rampQuiet[l] = static_cast<int32_t>(std::min<int64_t>(int64_t{frame} + n, INT32_MAX));
}

int32_t TesselLaneWalk::quietSteps(int32_t frame) const
{
    const TesselLaneVectors& v = buffers.vectors;
    int64_t n = INT32_MAX;
    for (int l = 0; l < lanes_ && n > 0; ++l) {
        const float step = v.step[l];
        if (v.frame[l] < v.lo[l] || v.frame[l] > v.last[l])
            return 0;
        if (step != 0.0f && v.wrapBy[l] == 0) {
            // A frame moves by at most the step's whole frames and one more.
            const int64_t move = static_cast<int64_t>(std::fabs(step)) + 1;
            const int64_t room = step > 0.0f ? int64_t{v.last[l]} - v.frame[l] : int64_t{v.frame[l]} - v.lo[l];
            n = std::min(n, room / move);
        }
        if (ramping)
            n = std::min(n, int64_t{v.rampQuiet[l]} - frame);
    }
    return static_cast<int32_t>(std::max<int64_t>(n, 0));
}

int32_t TesselLaneWalk::wrapFreeSteps() const
{
    const TesselLaneVectors& v = buffers.vectors;
    int64_t n = INT32_MAX;
    for (int l = 0; l < lanes_; ++l)
        if (v.wrapBy[l] != 0) {
            // Forward, by at most the step's whole frames and one more a frame.
            const int64_t move = static_cast<int64_t>(std::fabs(v.step[l])) + 1;
            n = std::min(n, (int64_t{v.wrapAfter[l]} - v.frame[l]) / move);
        }
    return static_cast<int32_t>(std::max<int64_t>(n, 0));
}

void TesselLaneWalk::refresh()
{
    next = INT32_MAX;
    ramping = false;
    for (int l = 0; l < lanes_; ++l) {
        next = std::min(next, buffers.lane[l].boundary);
        ramping = ramping || buffers.lane[l].ramping;
    }
    // The kinds nest (forward within forward-by-two or short, those within
    // any) but for forward-by-two against short, which only any holds.
    bool backwards = false;
    bool over = false;
    bool beyond = false;
    for (int l = 0; l < lanes_; ++l) {
        const float s = buffers.vectors.step[l];
        backwards = backwards || s < 0.0f;
        over = over || s >= 1.0f;
        beyond = beyond || !(s > -1.0f && s < 2.0f);
    }
    if (beyond || (backwards && over))
        steps = kStepsAny;
    else if (backwards)
        steps = kStepsShort;
    else
        steps = over ? kStepsForward2 : kStepsForward;
}
