#include "gui/controls/control_skin.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "platform/graphics/canvas.h"
#include "resources/resource_ids.h"

#include <algorithm>

namespace control_skin {

namespace {

constexpr int32_t kCapWidth = 2;

const VSTGUI::CBitmap& frameSlices()
{
    static const VSTGUI::CBitmap slices(resources::kFrameSlices);
    return slices;
}

} // namespace

void fill(VSTGUI::CDrawContext* context, const CRect& area, const CColor& colour)
{
    if (!context || area.right <= area.left || area.bottom <= area.top)
        return;
    context->setFillColor(colour);
    context->fillRect(CRect(area.left - 1, area.top - 1, area.right, area.bottom));
}

void keepSized(VSTGUI::CBitmap*& bitmap, int32_t width, int32_t height)
{
    if (bitmap && bitmap->getWidth() == width && bitmap->getHeight() == height)
        return;
    if (bitmap)
        bitmap->forget();
    bitmap = new CBitmap2(32, width, height);
}

void drawFrameStrip(VSTGUI::CBitmap& strip)
{
    const platform::Image& slices = frameSlices().image();
    platform::Canvas canvas(strip.image());
    const int32_t width = strip.getWidth();
    const int32_t height = std::min(strip.getHeight(), slices.height());
    const int32_t middle = slices.width() / 2;
    for (int32_t x = kCapWidth; x < width - kCapWidth; ++x)
        canvas.copy(slices, {x, 0, x + 1, height}, {middle, 0});
    canvas.copy(slices, {0, 0, std::min(kCapWidth, width), height}, {0, 0});
    if (width > kCapWidth)
        canvas.copy(slices, {width - kCapWidth, 0, width, height}, {slices.width() - kCapWidth, 0});
}

void drawRepeatedColumn(VSTGUI::CBitmap& strip, const VSTGUI::CBitmap& source)
{
    platform::Canvas canvas(strip.image());
    const int32_t height = std::min(strip.getHeight(), source.getHeight());
    for (int32_t x = 0; x < strip.getWidth(); ++x)
        canvas.copy(source.image(), {x, 0, x + 1, height}, {0, 0});
}

} // namespace control_skin
