// The frames at which a lane's walk meets something: an event's start (the
// fraction brought into 0..1, a position outside the sample, the ramp toward
// the event's gains), its end, a loop, the sample's end or a ramp that falls
// to silence. Each does here exactly what the plain render does there.
#include "engine/voice.h"
#include "engine/voice_lanes.h"

namespace {

constexpr float kRampKeep = 0.99f;
constexpr float kRampTake = 0.01f;
constexpr float kSilent = 1e-8f;

} // namespace

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
            v.floor[j][l] = lanes::kNoFloor;
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
    else
        boundRamp(l, event.start);
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
                v.floor[j][l] = lanes::kNoFloor;
                lane.target[j] = 0.0f;
                fell = true;
            }
            silent = silent && v.floor[j][l] == lanes::kNoFloor;
        }
        if (fell && silent && event.released && lane.heldAt < 0) {
            lane.heldAt = k;
            hold(l, false);
        } else if (fell) {
            boundRamp(l, frame + 1);
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
