#include "gui/controls/scrollbar.h"

#include "gui/controls/control_skin.h"
#include "gui/draw_context.h"

#include <algorithm>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

// a * b / c without overflow for any counts a list may hold.
int32_t scaled(int32_t a, int32_t b, int32_t c)
{
    return static_cast<int32_t>(static_cast<int64_t>(a) * b / c);
}

} // namespace

TesselScrollbar::TesselScrollbar() : TesselControl(kClassId)
{
    setColour(control_skin::kDefaultColour);
}

TesselScrollbar::TesselScrollbar(const CRect& rect) : TesselScrollbar()
{
    this->rect = rect;
}

int32_t* TesselScrollbar::onKey(const TesselKeyEvent& /*key*/)
{
    return nullptr;
}

int32_t* TesselScrollbar::onMouse(int32_t /*buttons*/, const CPoint& /*point*/)
{
    return nullptr;
}

void TesselScrollbar::setCounts(int32_t totalItems, int32_t visibleItems)
{
    total = std::max(totalItems, 0);
    visible = std::max(visibleItems, 0);
}

int32_t TesselScrollbar::lastPosition() const
{
    return std::max(0, total - visible);
}

void TesselScrollbar::drawBar(VSTGUI::CDrawContext* context, int32_t firstVisible)
{
    position = firstVisible;
    const int32_t h = rect.height();
    if (!context || h <= 0)
        return;
    control_skin::fill(context, rect, shade);
    int32_t from = rect.top;
    int32_t to = rect.bottom;
    if (total > 0) {
        from = rect.top + scaled(position, h, total);
        to = rect.top + std::min(h, scaled(position + visible, h, total));
    }
    control_skin::fill(context, CRect(rect.left, std::max(from, rect.top), rect.right, to), colour);
}

bool TesselScrollbar::trackMouse(const CPoint& point, int32_t buttons)
{
    const int32_t held = buttons & kMouseButtons;
    // The drag lasts while a button that started it stays down.
    if (!held || (dragging && !(held & dragButtons))) {
        const bool ended = dragging;
        dragging = false;
        return ended;
    }
    const int32_t h = rect.height();
    if (!dragging) {
        // An empty or flat bar has nothing to drag.
        if (!hitTest(point) || total <= 0 || h <= 0)
            return false;
        dragging = true;
        dragStartY = point.v;
        dragStartPosition = position;
        dragButtons = held;
        return true;
    }
    position = dragStartPosition + scaled(point.v - dragStartY, total - 1, h);
    position = std::clamp(position, 0, lastPosition());
    return true;
}
