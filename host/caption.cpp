#include "host/caption.h"

#include "host/host_bitmaps.h"
#include "platform/graphics/canvas.h"

#include <algorithm>

namespace host {

namespace {

constexpr int kSliderWidth = 77;
constexpr int kSliderTrackHeight = 18;
constexpr int kMinimiseWidth = 15;
constexpr int kRestoreEnd = 35;

} // namespace

bool insideEdges(const platform::Rect& r, platform::Point at)
{
    return at.x >= r.left && at.x <= r.right && at.y >= r.top && at.y <= r.bottom;
}

platform::Rect CaptionLayout::edges(int left, int top, int right, int bottom) const
{
    const int shift = maximised ? kNoCaptionShift : 0;
    return {left - shift, top, right - shift, bottom};
}

CaptionPart CaptionLayout::hit(platform::Point at) const
{
    if (maximised && insideEdges(systemButtons(), at))
        return CaptionPart::SystemButtons;
    if (insideEdges(settings(), at))
        return CaptionPart::Settings;
    if (insideEdges(exportButton(), at))
        return CaptionPart::Export;
    if (insideEdges(slider(), at))
        return CaptionPart::Slider;
    return CaptionPart::Strip;
}

SystemButton CaptionLayout::systemButtonAt(int x) const
{
    const int d = x - (width - kNoCaptionShift);
    if (d < kMinimiseWidth)
        return SystemButton::Minimise;
    return d < kRestoreEnd ? SystemButton::Restore : SystemButton::Close;
}

float sliderVolume(int x, int x0)
{
    return static_cast<float>(x - x0 - 1) / 75.0f;
}

int filledWidth(float volume)
{
    return std::clamp(static_cast<int>(static_cast<double>(volume) * kSliderWidth + 0.0001), 0, kSliderWidth);
}

void drawCaption(platform::Image& image, const CaptionLayout& layout, float volume)
{
    platform::Canvas canvas(image);
    const platform::Image strip = loadHostBitmap(kCaptionStripBitmap);
    canvas.stretch(strip, strip.bounds(), {0, 0, image.width(), kCaptionHeight});
    if (layout.maximised) {
        const platform::Image buttons = loadHostBitmap(kSystemButtonsBitmap);
        const platform::Rect at = layout.systemButtons();
        canvas.copy(buttons, platform::rectOfSize(at.left, at.top, buttons.width(), buttons.height()), {0, 0});
    }
    for (const auto& [id, place] : {std::pair{kSettingsButtonBitmap, layout.settings()},
                                    std::pair{kExportButtonBitmap, layout.exportButton()}}) {
        const platform::Image button = loadHostBitmap(id);
        canvas.copy(button, platform::rectOfSize(place.left, place.top, button.width(), button.height()), {0, 0});
    }
    const platform::Image slider = loadHostBitmap(kVolumeSliderBitmap);
    const platform::Rect track = layout.slider();
    canvas.copy(slider, platform::rectOfSize(track.left, track.top, kSliderWidth, kSliderTrackHeight),
                {0, kSliderTrackHeight});
    canvas.copy(slider, platform::rectOfSize(track.left, track.top, filledWidth(volume), kSliderTrackHeight), {0, 0});
}

} // namespace host
