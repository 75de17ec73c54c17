// The slider's face: the framed strip, the fill bar from the default value
// to the value, the tick at the default value, the focus frame and the
// readout.

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/controls/slider.h"
#include "gui/offscreen_context.h"
#include "platform/graphics/canvas.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t kBarTop = 2;
constexpr int32_t kBarBottom = 9;
constexpr int32_t kTextTop = 2;
// The compact face: one 8-pixel row.
constexpr int32_t kCompactHeight = 8;
constexpr int32_t kCompactBarTop = 1;
constexpr int32_t kCompactBarBottom = 7;

CColor halfway(const CColor& a, const CColor& b)
{
    return CColor{static_cast<uint8_t>((a.red + b.red) / 2), static_cast<uint8_t>((a.green + b.green) / 2),
                  static_cast<uint8_t>((a.blue + b.blue) / 2), 0};
}

} // namespace

std::string TesselSlider::readout(bool& typed) const
{
    char text[32];
    typed = typedDigits > 0;
    if (typed) {
        std::snprintf(text, sizeof text, digits == 3 ? "%.3d" : "%.2d", typedValue);
        return text;
    }
    if ((minimum == -1 && value < 0) || (label != "--" && value == minimum))
        return label;
    std::snprintf(text, sizeof text, digits == 3 && value >= 0 ? "%.3d" : "%.2d", value);
    return text;
}

int32_t TesselSlider::faceHeight() const
{
    return compact ? kCompactHeight : control_skin::kStripHeight;
}

void TesselSlider::draw(VSTGUI::CDrawContext* context, int32_t newValue, bool focused)
{
    // Digits typed stay pending while the slider keeps the focus.
    if (typedDigits > 0 && !focused)
        commit();
    else if (typedDigits == 0)
        value = newValue;
    const int32_t width = rect.width();
    const int32_t height = faceHeight();
    if (width <= 0)
        return;
    if (dirty || !faceBackground || faceBackground->getWidth() != width || faceBackground->getHeight() != height) {
        control_skin::keepSized(faceBackground, width, height);
        control_skin::keepSized(face, width, height);
        if (compact)
            platform::Canvas(faceBackground->image()).fillRect(faceBackground->image().bounds(), platform::Colour{});
        else
            control_skin::drawFrameStrip(*faceBackground);
        dirty = true;
    }
    if (dirty || value != drawnValue || focused != drawnFocus || typedDigits != drawnTyped)
        rebuildFace(focused);
    if (context)
        face->draw(context, CRect(rect.left, rect.top, rect.left + width, rect.top + height));
}

void TesselSlider::rebuildFace(bool focused)
{
    face->image() = faceBackground->image().clone();
    COffscreenContext faceContext(nullptr, face, true);
    const int32_t start = trackStart();
    const int32_t width = trackWidth();
    const int32_t barTop = compact ? kCompactBarTop : kBarTop;
    const int32_t barBottom = compact ? kCompactBarBottom : kBarBottom;
    if (hasTrack()) {
        const int32_t from = trackPosition(defaultValue);
        if (!(minimum == -1 && value == -1)) {
            const int32_t to = trackPosition(value);
            control_skin::fill(&faceContext, CRect(std::min(from, to), barTop, std::max(from, to), barBottom),
                               halfway(colour, shade));
        }
        control_skin::fill(&faceContext, CRect(from, barTop, from + 1, barBottom), colour);
    }
    if (focused) {
        faceContext.setFrameColor(control_skin::kHighlight);
        faceContext.drawRect(CRect(start - 1, barTop - 1, start + width, barBottom));
        logValue(true);
    }
    bool typed = false;
    const std::string text = readout(typed);
    const int32_t x = readoutLeft ? 2 : start + width + 3;
    TesselFont* font = controlFont(typed ? TesselControlFont::Highlight : TesselControlFont::Normal, false);
    drawBitmapText(&faceContext, text.c_str(), x, compact ? 0 : kTextTop, font);
    drawnValue = value;
    drawnFocus = focused;
    drawnTyped = typedDigits;
    dirty = false;
}
