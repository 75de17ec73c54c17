#include "editor/sample_list/sample_waveform.h"

#include "editor/sample_list/sample_texts.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/draw_context.h"
#include "model/sample/sample.h"
#include "resources/palette.h"

#include <algorithm>
#include <cmath>

namespace sample_waveform {

namespace {

constexpr CColor kWave = control_skin::fromPalette(resources::palette::kInkCyan);
constexpr CColor kPointMark = control_skin::fromPalette(resources::palette::kInkAmber);
constexpr CColor kTextBack = control_skin::fromPalette(resources::palette::kWell);

int32_t laneCentre(const CRect& area, int32_t channel)
{
    return area.top + kLaneCentre + kLaneDistance * channel;
}

int32_t shownChannels(const TesselSample& sample)
{
    return std::clamp(std::min(sample.channels, sample.audio.channels), 0, kMaxSampleChannels);
}

// One column's vertical stroke between two offsets above the centre, both included.
void stroke(VSTGUI::CDrawContext* context, int32_t x, int32_t centre, int32_t a, int32_t b, const CColor& colour)
{
    const int32_t top = centre - std::max(a, b);
    const int32_t bottom = centre - std::min(a, b);
    control_skin::fill(context, CRect(x, top, x + 1, bottom + 1), colour);
}

// The highest and lowest shown offsets of the frames from..to - 1; frames
// outside the audio count as 0. Only frames with audio are read.
void columnRange(const TesselSample& sample, int32_t channel, int64_t from, int64_t to, int32_t& high, int32_t& low)
{
    const int64_t length = std::min<int64_t>(std::max(sample.length, 0), sample.audio.frames);
    const int64_t first = std::max<int64_t>(from, 0);
    const int64_t last = std::min(to, length);
    high = -kLaneReach;
    low = kLaneReach;
    if (from < first || to > last || first >= last) {
        high = std::max(high, 0);
        low = std::min(low, 0);
    }
    const float* data = sample.audio.channel(channel);
    if (!data)
        return;
    for (int64_t f = first; f < last; ++f) {
        const int32_t m = displayOffset(sample, data[f]);
        high = std::max(high, m);
        low = std::min(low, m);
    }
}

} // namespace

float frameValue(const TesselSample& sample, int32_t channel, int64_t frame)
{
    if (channel < 0 || channel >= shownChannels(sample) || frame < 0 || frame >= sample.length ||
        frame >= static_cast<int64_t>(sample.audio.frames))
        return 0.0f;
    const float* data = sample.audio.channel(channel);
    return data ? data[frame] : 0.0f;
}

int32_t displayOffset(const TesselSample& sample, float value)
{
    const int bits = sample.bits == 32 ? 0 : std::clamp(sample.bits, 0, 31);
    const double scaled = static_cast<double>(value) * 101.0 / std::ldexp(1.0, bits);
    if (std::isnan(scaled))
        return 0;
    return static_cast<int32_t>(std::clamp(std::lround(std::clamp(scaled, -1000.0, 1000.0)), -50L, 50L));
}

void drawOverview(VSTGUI::CDrawContext* context, const CRect& area, const TesselSample& sample)
{
    const int32_t channels = std::clamp(sample.channels, 0, kMaxSampleChannels);
    if (sample.length <= 0)
        return;
    for (int32_t c = 0; c < channels; ++c) {
        const int32_t centre = laneCentre(area, c);
        const auto& columns = sample.overview[static_cast<size_t>(c)];
        for (int32_t x = 0; x < kOverviewColumns && area.left + x < area.right; ++x) {
            const TesselOverviewPair& pair = columns[static_cast<size_t>(x)];
            if (pair.high < pair.low)
                continue;
            stroke(context, area.left + x, centre, std::clamp(pair.high, -kLaneReach, kLaneReach),
                   std::clamp(pair.low, -kLaneReach, kLaneReach), kWave);
        }
    }
}

void drawZoom(VSTGUI::CDrawContext* context, const CRect& area, int32_t left, const TesselSample& sample,
              int64_t point, int64_t framesPerColumn)
{
    const int64_t step = std::max<int64_t>(framesPerColumn, 1);
    const int32_t channels = std::max(shownChannels(sample), 1);
    const int32_t x0 = area.left + left;
    for (int32_t c = 0; c < channels; ++c) {
        const int32_t centre = laneCentre(area, c);
        control_skin::fill(context, CRect(x0 + kZoomPointColumn, centre - kLaneReach, x0 + kZoomPointColumn + 1,
                                          centre + kLaneReach + 1),
                           kPointMark);
        int32_t previous = 0;
        for (int32_t column = 0; column < kZoomColumns; ++column) {
            const int64_t from = point + (column - kZoomPointColumn) * step;
            if (step == 1) {
                const int32_t m = displayOffset(sample, frameValue(sample, c, from));
                stroke(context, x0 + column, centre, column == 0 ? m : previous, m, kWave);
                previous = m;
                continue;
            }
            int32_t high = 0;
            int32_t low = 0;
            columnRange(sample, c, from, from + step, high, low);
            stroke(context, x0 + column, centre, high, low, kWave);
        }
        const std::string value = sampleValueText(frameValue(sample, c, point));
        drawBitmapText(context, value.c_str(), x0 + 2, centre - kLaneReach + 1,
                       controlFont(TesselControlFont::Normal, true), &kTextBack);
    }
}

} // namespace sample_waveform
