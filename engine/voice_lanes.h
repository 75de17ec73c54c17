#pragma once
// The mixer's lane path. The position walk and the gain ramp are recurrences
// whose every frame rounds, so a voice cannot jump ahead in them; instead up
// to sixteen voices take their steps side by side in vector lanes, frame by
// frame across the block, with the loops, the sample end and the ramp's
// silence left to scalar code at the few frames that meet them. Each voice's
// events are then rendered from those positions and gains in one pass:
// interpolation, the mono-to-stereo copy, the gain and the add into the
// output. Event by event the result is what TesselVoice::render and the add
// after it give. Audio thread, song lock held; nothing allocates.

#include "engine/voice_render.h"

#include <cstdint>

class TesselVoice;
struct TesselBusBuffer;

namespace lanes {
constexpr int kMaxLanes = 16;
constexpr int kMaxTile = 8;      // frames per tile: the lanes of one vector
constexpr int kMaxEvents = 48;   // a voice with more events in one block takes the plain path
constexpr int kFrames = 16384;
constexpr int kStride = kFrames + kMaxTile;   // the last tile may pass the block's end
constexpr float kNoFloor = -1.0f;              // a gain that cannot fall to silence: no scalar step
} // namespace lanes

// One event of a voice as the mixer renders it, and what the plain render
// would find in it.
struct TesselLaneEvent {
    int32_t start = 0;       // block frames, clipped as the mixer clips them
    int32_t end = 0;
    float step = 0.0f;       // the event's pitch, as the walk takes it
    float gain[2] = {};
    uint8_t channels = 1;    // channels rendered
    bool sounding = false;   // rendered at all (sample voice, active)
    bool released = false;

    bool steady = false;     // every rendered gain sits where the ramp keeps it: no gain rows
    int32_t walked = 0;      // positions taken
    int32_t kept = 0;        // frames the ramp kept
    bool stopped = false;    // the voice's state is cleared: left the sample or ramped to silence
    TesselVoiceWalk after;   // the walk after the event
    float ramp[4] = {};      // the ramp after the event (when walked > 0)
};

// One lane's voice and where its walk is.
struct TesselLaneVoice {
    TesselVoice* voice = nullptr;
    const TesselSample* sample = nullptr;
    int events = 0;
    TesselLaneEvent event[lanes::kMaxEvents];

    int current = 0;          // event being walked or next to walk
    bool walking = false;
    bool done = false;        // the voice ends at the current event
    int32_t boundary = 0;     // next block frame at which the lane changes
    TesselVoiceWalk walk;     // scalar side: direction and sustain state
    float target[2] = {};
    int32_t heldAt = -1;      // frame of the event at which a released voice ramped to silence
    bool ramping = false;     // the event being walked writes gain rows
};

// The vector state of the lanes, spilled for the scalar steps.
struct alignas(32) TesselLaneVectors {
    int32_t frame[lanes::kMaxLanes];
    float fraction[lanes::kMaxLanes];
    float step[lanes::kMaxLanes];      // signed: backwards walks step down
    float current[2][lanes::kMaxLanes];
    float keep[2][lanes::kMaxLanes];   // current = keep x current + take
    float take[2][lanes::kMaxLanes];
    float floor[2][lanes::kMaxLanes];  // a current at or below it needs the scalar step
    int32_t lo[lanes::kMaxLanes];      // quiet frames: lo <= frame <= last
    int32_t last[lanes::kMaxLanes];
    int32_t rampQuiet[lanes::kMaxLanes];   // steps before this frame leave the gains above their floors
    int32_t wrapAfter[lanes::kMaxLanes];   // a frame above it goes back wrapBy frames (a forward loop)
    int32_t wrapBy[lanes::kMaxLanes];
};

// Per lane and block frame: position and the gains of both channels, in
// rows of `stride` frames (the walk's end: a short block keeps its rows
// close together). Made with the engine's pools.
struct alignas(32) TesselLaneBuffers {
    int32_t* frameRow(int lane) { return frames + lane * stride; }
    float* fractionRow(int lane) { return fractions + lane * stride; }
    float* gainRow(int channel, int lane) { return gains[channel] + lane * stride; }
    const int32_t* frameRow(int lane) const { return frames + lane * stride; }
    const float* fractionRow(int lane) const { return fractions + lane * stride; }
    const float* gainRow(int channel, int lane) const { return gains[channel] + lane * stride; }

    int32_t frames[lanes::kMaxLanes * lanes::kStride];
    float fractions[lanes::kMaxLanes * lanes::kStride];
    float gains[2][lanes::kMaxLanes * lanes::kStride];
    // One tile of frames by lanes (a square per vector) before it is turned
    // into the rows above.
    int32_t tileFrame[lanes::kMaxTile * lanes::kMaxLanes];
    float tileFraction[lanes::kMaxTile * lanes::kMaxLanes];
    float tileGain[2][lanes::kMaxTile * lanes::kMaxLanes];
    TesselLaneVectors vectors;
    TesselLaneVoice lane[lanes::kMaxLanes];
    int32_t stride = lanes::kStride;
};

// Steps of lanes: all forward by less than one frame, or two; all by less
// than a frame either way; or any.
constexpr int kStepsForward = 0;
constexpr int kStepsForward2 = 1;
constexpr int kStepsShort = 2;
constexpr int kStepsAny = 3;
constexpr int kStepKinds = 4;

// The scalar side of one walk over a group of lanes; the vector loops call it
// at the frames it names.
class TesselLaneWalk {
public:
    // tile: lanes of one vector (4 or 8); width: the most lanes walked
    // together (one or two vectors).
    TesselLaneWalk(TesselLaneBuffers& buffers, int tile, int width);

    // Takes the voice's events as lane `count()`; false (nothing taken) when
    // the voice needs the plain path.
    bool add(TesselVoice& voice, const TesselBusBuffer& out, int frames);
    int count() const { return lanes_; }
    bool full() const { return lanes_ == width; }

    // Sets every lane up before the vector loop; false when nothing walks.
    bool begin();
    // Event boundaries at this frame (before its step).
    void attend(int32_t frame);
    // Lanes in `mask` met a loop, the sample's end or a ramp floor in the step
    // taken at this frame.
    void settle(int32_t frame, unsigned mask);
    // Boundaries at or after the last frame walked.
    void finish();
    // Steps from `frame` that cannot leave a lane's quiet frames or bring a
    // ramping gain to its floor: the vector loops take them without asking
    // which lanes need the scalar step.
    int32_t quietSteps(int32_t frame) const;
    // Steps from the lanes' positions that cannot take a lane past the end
    // of a forward loop the vector step wraps.
    int32_t wrapFreeSteps() const;

    TesselLaneBuffers& buffers;
    const int tile;
    const int width;
    int32_t first = 0;             // first frame of the first tile
    int32_t end = 0;               // frame after the last tile
    int32_t next = 0;              // frame of the next boundary
    int steps = kStepsForward;     // the steps of the lanes, one of the kinds above
    bool ramping = false;          // some lane's gains move: gain rows are written
    bool tileRamped = false;       // the tile being filled has gain rows

private:
    void nextEvent(int lane);
    void startEvent(int lane);
    void endEvent(int lane, int32_t walked, bool left);
    void hold(int lane, bool still);
    // The lane's gains as they are before the step at `frame`.
    void boundRamp(int lane, int32_t frame);
    void quiet(int lane);
    void refresh();

    int lanes_ = 0;
};

// The vector loops: every frame of [first, end) for one or two vectors of
// lanes, tiles turned into rows.
void walkLanesSse(TesselLaneWalk& walk);
void walkLanesAvx2(TesselLaneWalk& walk);

// Frames [from, to) of a lane: interpolation at its positions times its gains
// (its gain rows, or `gain` for a steady event) into dst[j] for j < channels,
// added or (with `store`) stored, and the largest value of each channel into
// peaks[j]. A null dst[j] is computed for the peaks only.
struct TesselLaneSpan {
    const TesselLaneBuffers* buffers;
    int lane;
    const TesselSample* sample;
    int32_t from;
    int32_t to;
    int channels;
    bool wide;      // steps of more than one frame
    bool steady;
    float gain[2];
    float* dst[2];
    bool store;
    float peaks[2];
};
void renderLaneSse(TesselLaneSpan& span);
void renderLaneAvx2(TesselLaneSpan& span);
// The vector renders' variant: wide x16, stereo sample x8, two channels x4,
// steady x2, store x1.
int renderLaneChoice(const TesselLaneSpan& span);
// Frames [span.from, to) one by one, the peaks taken on from the vector part;
// span.from becomes `to`.
void renderLaneTail(TesselLaneSpan& span, int32_t to);

// Renders the voice's current event (already in voice.current) from its lane
// record and adds it into the output's first `lanes` channels, as the plain
// render and add do; returns what TesselVoice::render returns.
int renderLaneEvent(TesselVoice& voice, const TesselLaneBuffers& buffers, int lane, const TesselLaneEvent& event,
                    float* const scratch[2], TesselBusBuffer& out);

// The channels the mixer renders an event of a voice on this sample and bus in.
int voiceMixChannels(const TesselSample& sample, int bus, const TesselBusBuffer& out);

// Tests and benchmarks: the mixer's voice path, lanes (when the processor
// and the pools allow) or the plain per-voice render they must match.
enum class TesselMixPath { Plain, Lanes };
TesselMixPath setMixPath(TesselMixPath path);   // returns the previous one
TesselMixPath mixPath();
