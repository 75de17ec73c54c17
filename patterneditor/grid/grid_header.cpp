// The channel header strips: rendered once per channel into two strips
// (normal and muted) and copied on every draw.
#include "patterneditor/grid/pattern_grid.h"

#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/text.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

using platform::Colour;
using platform::Rect;

constexpr int kShadeLines = 9;
constexpr int kColourStripWidth = 5;
constexpr int kSkinLeft = 6;
constexpr int kSkinRightGap = 5;
constexpr int kSkinCap = 3;
constexpr int kSkinTop = 9;
constexpr int kNameLeft = 7;

// Line k of the shades: from nearly the colour down toward half of it.
Colour shadeLine(Colour c, int k)
{
    const auto shade = [k](uint8_t component) {
        const int half = static_cast<int>(std::lround(component * 64.0 / 127.0));
        return static_cast<uint8_t>(((10 - k) * component + (k + 1) * half) / 11);
    };
    return platform::rgb(shade(c.red), shade(c.green), shade(c.blue));
}

// The muted look: the colour's grey at half strength.
Colour mutedColour(Colour c)
{
    const auto grey = static_cast<uint8_t>((c.red + c.green + c.blue) / 6);
    return platform::rgb(grey, grey, grey);
}

void laySkin(platform::Canvas& canvas, const platform::Image& skin, int left, int right, int top)
{
    if (skin.width() < 3 * kSkinCap)
        return;
    const int start = left + kSkinLeft;
    const int capLeft = right - kSkinRightGap;
    const int height = skin.height();
    canvas.copy(skin, platform::rectOfSize(start, top, kSkinCap, height), {0, 0});
    for (int x = start + kSkinCap; x < capLeft; x += kSkinCap)
        canvas.copy(skin, platform::rectOfSize(x, top, std::min(kSkinCap, capLeft - x), height), {kSkinCap, 0});
    canvas.copy(skin, platform::rectOfSize(capLeft, top, kSkinCap, height), {2 * kSkinCap, 0});
}

} // namespace

void TesselPatternUI::ensureHeaderStrips()
{
    const int width = view.channelWidth * channels_ + 1;
    const int height = view.rowHeight + 13;
    for (TesselBitmapHolder& strip : headers_)
        if (!hasSize(strip, width, height))
            strip = makeGridBitmap(width, height, resources::palette::kBackground);
}

void TesselPatternUI::renderChannelHeader(int channel)
{
    if (!font_ || view.channelWidth <= 0 || channel >= channels_)
        return;
    if (!headers_[0])
        channel = -1;
    ensureHeaderStrips();
    const platform::Image skin = resources::loadBitmap(resources::kChannelHeaderSkin);
    const int first = channel < 0 ? 0 : channel;
    const int last = channel < 0 ? channels_ - 1 : channel;
    const int height = headers_[0]->getHeight();
    for (int c = first; c <= last; ++c) {
        const uint32_t setting = song_.channels[size_t(c)].colour & 0xFFFFFF;
        const Colour own = platform::fromColorRef(setting == kNoChannelColour ? kDefaultChannelColour : setting);
        const int left = c * view.channelWidth;
        const int right = left + view.channelWidth;
        char name[32];
        std::snprintf(name, sizeof name, "%.2d:%.14s", c + 1, song_.channels[size_t(c)].name);
        for (int muted = 0; muted < 2; ++muted) {
            const Colour colour = muted ? mutedColour(own) : own;
            COffscreenContext paint(nullptr, headers_[muted].get(), true);
            platform::Canvas& canvas = *paint.platformCanvas();
            canvas.setClip({left, 0, right, height});
            canvas.fillRect({left, 0, right, height}, resources::palette::kBackground);
            for (int k = 0; k < kShadeLines; ++k)
                canvas.fillRect({left, k, right, k + 1}, shadeLine(colour, k));
            canvas.fillRect({left, kSkinTop, left + kColourStripWidth, height}, colour);
            laySkin(canvas, skin, left, right, kSkinTop);
            canvas.setClip({left, 0, right - kSkinRightGap, height});
            // The name stands on the shaded band: its baseline at the skin's
            // top, where dark ink on the skin's dark edge would lose the
            // letters' feet; never so high that capitals lose their tops.
            const platform::FontMetrics& metrics = font_->metrics();
            const int top = std::max(kSkinTop - metrics.ascent, -metrics.internalLeading);
            platform::drawText(canvas, *font_, name, {left + kNameLeft, top},
                               {muted ? gridColour(kColourMutedInk) : resources::palette::kBackground});
        }
    }
}

void TesselPatternUI::drawChannelHeaders(CDrawContext* context, int x, int y)
{
    if (!headers_[0])
        renderChannelHeader(-1);
    if (!context || !headers_[0] || !headers_[1])
        return;
    const int count = std::min({view.visibleChannels, channels_ - view.firstChannel, 64 - view.firstChannel});
    for (int i = 0; i < count; ++i) {
        const int c = view.firstChannel + i;
        const bool muted = song_.channels[size_t(c)].mute != 0;
        const int left = x + 1 + i * view.channelWidth;
        headers_[muted ? 1 : 0]->draw(context, CRect(left, y, left + view.channelWidth, y + kHeaderHeight),
                                      CPoint(c * view.channelWidth, 0));
    }
}
