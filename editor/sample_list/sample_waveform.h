#pragma once
// The sample page's waveform area: the overview of the whole sample, or two
// zoomed views around a loop's begin and end. Two lanes 104 pixels apart,
// centred 50 and 154 pixels below the area's top, one per channel; values
// on the overview's scale (full range +-50 pixels). Page coordinates.

#include "gui/geometry.h"

#include <cstdint>

class TesselSample;
namespace VSTGUI {
class CDrawContext;
}

namespace sample_waveform {

constexpr int32_t kLaneCentre = 50;
constexpr int32_t kLaneDistance = 104;
constexpr int32_t kLaneReach = 50;
// Each zoomed view is this many columns wide, the point in its middle.
constexpr int32_t kZoomColumns = 205;
constexpr int32_t kZoomPointColumn = kZoomColumns / 2;

// The value of a frame of a channel; 0 before the first frame, past the
// length, past the audio or for a channel the sample lacks.
float frameValue(const TesselSample& sample, int32_t channel, int64_t frame);
// Pixels above a lane's centre for a value: the overview's scale, clamped.
int32_t displayOffset(const TesselSample& sample, float value);

// The 412 overview columns over the area's lanes.
void drawOverview(VSTGUI::CDrawContext* context, const CRect& area, const TesselSample& sample);
// A view of kZoomColumns from `left` in the area: column c shows the frames
// point + (c - kZoomPointColumn) * framesPerColumn onwards, a line through
// every frame at one frame per column, else each column's highest to lowest
// value. The point's column is marked and its value printed per channel.
void drawZoom(VSTGUI::CDrawContext* context, const CRect& area, int32_t left, const TesselSample& sample,
              int64_t point, int64_t framesPerColumn);

} // namespace sample_waveform
