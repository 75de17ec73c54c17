// The scalar side of the lane walk: which events each lane walks, and the
// frames at which a lane meets an event boundary, a loop, the sample's end or
// a ramp that falls to silence. Each of these does here exactly what the
// plain render does at that frame.
#include "engine/voice_lanes.h"

#include "engine/bus_buffer.h"
#include "engine/interpolate.h"
#include "engine/pool.h"
#include "engine/voice.h"

#include <algorithm>
#include <atomic>
#include <climits>

namespace {

constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
constexpr float kRampKeep = 0.99f;
constexpr float kRampTake = 0.01f;
constexpr float kSilent = 1e-8f;
constexpr float kNoFloor = -1.0f;           // a current that cannot fall: no scalar step
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
    for (int l = 0; l < width; ++l) {
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

// As the plain render: the fraction brought into 0..1, a position outside the
// sample ends the voice, then the walk and the ramp toward the event's gains.
void TesselLaneWalk::startEvent(int l)
{
    TesselLaneVoice& lane = buffers.lane[l];
    TesselLaneVectors& v = buffers.vectors;
    TesselLaneEvent& event = lane.event[lane.current];
    TesselVoiceWalk& walk = lane.walk;
    walk.position = {v.frame[l], v.fraction[l]};
    if (!(walk.position.fraction >= 0.0f && walk.position.fraction < 1.0f))
        walk.position.carryFraction();
    walk.step = event.step;
    v.frame[l] = walk.position.frame;
    v.fraction[l] = walk.position.fraction;
    const bool outside = walk.position.frame < 0 || walk.position.frame >= walk.frames;
    if (outside || event.end == event.start) {
        event.walked = event.kept = 0;
        event.stopped = outside;
        event.after = walk;
        lane.done = outside && event.end > event.start;
        if (lane.done)
            lane.boundary = INT32_MAX;
        else
            nextEvent(l);
        return;
    }
    lane.walking = true;
    lane.heldAt = -1;
    lane.boundary = event.end;
    v.step[l] = walk.backwards ? -event.step : event.step;
    quiet(l);
    bool silent = true;
    event.steady = true;
    for (int j = 0; j < 2; ++j) {
        lane.target[j] = event.gain[j];
        if (j >= event.channels)
            continue;   // a channel not rendered keeps its current gain
        const float current = v.current[j][l];
        const float take = kRampTake * lane.target[j];
        v.keep[j][l] = kRampKeep;
        v.take[j][l] = take;
        if (current == 0.0f && take == 0.0f) {
            lane.target[j] = 0.0f;   // stays at 0: the ramp zeroes the target at once
            v.floor[j][l] = kNoFloor;
        } else {
            v.floor[j][l] = kSilent;
            silent = false;
            // A gain the ramp maps onto itself stays for the whole event.
            event.steady = event.steady && current > kSilent && kRampKeep * current + take == current;
        }
    }
    if (event.released && silent) {
        lane.heldAt = 0;
        event.steady = true;
    }
    if (event.steady)
        hold(l, false);
    lane.ramping = !event.steady;
}

void TesselLaneWalk::endEvent(int l, int32_t walked, bool left)
{
    TesselLaneVoice& lane = buffers.lane[l];
    const TesselLaneVectors& v = buffers.vectors;
    TesselLaneEvent& event = lane.event[lane.current];
    event.walked = walked;
    event.kept = lane.heldAt >= 0 ? lane.heldAt : walked;
    event.stopped = left || event.kept < walked;
    lane.walk.position = {v.frame[l], v.fraction[l]};
    event.after = lane.walk;
    event.ramp[0] = v.current[0][l];
    event.ramp[1] = lane.target[0];
    event.ramp[2] = v.current[1][l];
    event.ramp[3] = lane.target[1];
    lane.walking = false;
    lane.ramping = false;
    hold(l, true);
    lane.done = event.start + event.kept < event.end;
    if (lane.done)
        lane.boundary = INT32_MAX;
    else
        nextEvent(l);
}

void TesselLaneWalk::settle(int32_t frame, unsigned mask)
{
    TesselLaneVectors& v = buffers.vectors;
    for (int l = 0; l < lanes_; ++l) {
        if (!(mask & (1u << l)))
            continue;
        TesselLaneVoice& lane = buffers.lane[l];
        if (!lane.walking)
            continue;
        const TesselLaneEvent& event = lane.event[lane.current];
        const int32_t k = frame - event.start;
        // The ramp at frame k: a current at or below the floor is zeroed with
        // its target; a released voice whose channels are all zero stops there.
        bool fell = false;
        bool silent = true;
        for (int j = 0; j < event.channels; ++j) {
            if (v.current[j][l] <= v.floor[j][l]) {
                v.current[j][l] = 0.0f;
                v.take[j][l] = 0.0f;
                v.floor[j][l] = kNoFloor;
                lane.target[j] = 0.0f;
                fell = true;
            }
            silent = silent && v.floor[j][l] == kNoFloor;
        }
        if (fell && silent && event.released && lane.heldAt < 0) {
            lane.heldAt = k;
            hold(l, false);
        }
        // The position after the step of frame k.
        if (v.frame[l] >= v.lo[l] && v.frame[l] <= v.last[l])
            continue;
        TesselVoiceWalk& walk = lane.walk;
        walk.position = {v.frame[l], v.fraction[l]};
        const bool inside = settleWalk(walk, *lane.sample);
        v.frame[l] = walk.position.frame;
        v.fraction[l] = walk.position.fraction;
        if (!inside) {
            endEvent(l, k + 1, true);
            continue;
        }
        v.step[l] = walk.backwards ? -event.step : event.step;
        quiet(l);
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
        v.floor[j][l] = kNoFloor;
    }
    if (!still)
        return;
    v.step[l] = 0.0f;
    v.lo[l] = INT32_MIN;
    v.last[l] = INT32_MAX;
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
