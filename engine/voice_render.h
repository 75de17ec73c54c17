#pragma once
// The steps of rendering one voice event, apart so that each can be tested.

#include "model/sample.h"

#include <climits>

// Where a voice is in its sample and how it moves.
struct TesselVoiceWalk {
    TesselSamplePos position;
    float step = 1.0f;          // sample frames per output frame
    uint8_t backwards = 0;      // ping-pong direction
    uint8_t sustainState = 1;   // 1 the sustain loop applies, 3 the normal loop
    int32_t frames = 0;         // the sample's frame count
};

// The step a walk takes: finite and no longer than any sample.
float walkStep(float step);

// The loops and the end of the sample applied to a position that has just
// advanced; false when it has left the sample.
bool settleWalk(TesselVoiceWalk& walk, const TesselSample& sample);

// The frames inside which a position that has just advanced needs nothing
// from settleWalk: lo <= frame < hi. Empty (lo > hi) when the next step
// changes the walk wherever it lands.
struct TesselQuietFrames {
    int32_t lo;
    int32_t hi;
};
TesselQuietFrames quietFrames(const TesselVoiceWalk& walk, const TesselSample& sample);

// A forward loop whose wrap is one subtraction: a position that has just
// advanced to frame `at` (the loop's end) or beyond goes back `by` frames
// (its length), as settleWalk takes it. None (by 0) unless the walk steps
// forward through a forward loop inside the sample by less than its length.
struct TesselLoopWrap {
    int32_t at = INT32_MAX;
    int32_t by = 0;
};
TesselLoopWrap loopWrap(const TesselVoiceWalk& walk, const TesselSample& sample);

// Writes the position of each frame, moving through the sample's loops,
// until `count` positions are written or the position leaves the sample;
// returns the number written and sets *ended when it left.
int walkPositions(TesselVoiceWalk& walk, const TesselSample& sample, TesselSamplePos* out, int count, bool* ended);

// The frames the renderer may read: the length, limited so that the frame
// after each position exists in the buffers. 0 without audio.
int32_t renderableFrames(const TesselSample& sample);

// The one-pole gain ramp over `frames` values of each channel; ramp holds
// current and target of channel 0, then of channel 1. With `released`, stops
// after the first frame at which every current gain has fallen to 0 and
// returns its index; otherwise returns `frames`.
int rampGains(float* const channel[2], int channels, int frames, float ramp[4], bool released);
