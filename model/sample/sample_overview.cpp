// The waveform overview of the sample list and the page's normaliser.
#include "model/sample/sample.h"

#include <algorithm>
#include <cmath>

namespace {

// Display value of one audio value; huge or broken values only reach the clamp.
int displayValue(float value, double scale)
{
    double m = static_cast<double>(value) * scale + 0.5001;
    if (std::isnan(m))
        return 0;
    m = std::clamp(m, -1000.0, 1000.0);
    return static_cast<int>(m);   // toward zero
}

} // namespace

void TesselSample::buildOverview()
{
    const int b = (bits == 32) ? 0 : std::clamp(bits, 0, 31);
    const double scale = 101.0 / std::ldexp(1.0, b);
    const int used = std::min({channels, audio.channels, kMaxSampleChannels});
    const int64_t frames = std::min<int64_t>(length, audio.frames);
    const double columnWidth = static_cast<double>(length) * 0.0024271844660194173;
    for (int c = 0; c < used; ++c) {
        const float* data = audio.channel(c);
        if (!data || length <= 0)
            continue;
        auto& columns = overview[static_cast<size_t>(c)];
        int k = 1;
        int low = 50;
        int high = -50;
        for (int64_t q = 0; q < frames; ++q) {
            const int m = displayValue(data[q], scale);
            low = std::min(low, m);
            high = std::max(high, m);
            if (static_cast<double>(q + 1) >= k * columnWidth) {
                if (k <= kOverviewColumns)
                    columns[static_cast<size_t>(k - 1)] = {std::min(high, 50), std::max(low, -50)};
                ++k;
                low = 50;
                high = -50;
            }
        }
    }
}

float TesselSample::peak() const
{
    float result = 0.0f;
    for (int c = 0; c < kMaxSampleChannels; ++c)
        if (const float* data = audio.channel(c))
            for (uint32_t i = 0; i < audio.frames; ++i)
                result = std::max(result, std::fabs(data[i]));
    return result;
}

void TesselSample::scale(float factor)
{
    for (int c = 0; c < kMaxSampleChannels; ++c)
        if (float* data = audio.channel(c))
            for (uint32_t i = 0; i < audio.frames; ++i)
                data[i] *= factor;
}

void TesselSample::normalise(float target)
{
    if (target == 0.0f)
        target = peak();
    if (!(target > 0.0f) || bits <= 0 || bits > 32)
        return;
    const double fullScale = (bits == 32) ? 1.0 : std::ldexp(1.0, bits - 1) - 1.0;
    scale(static_cast<float>(fullScale / target));
}
