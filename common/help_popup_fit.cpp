#include "common/help_popup_fit.h"

#include "common/web_view.h"

#include <algorithm>

namespace help {

namespace {

// The widths the two popup elements stand for, and what the height leaves
// for the frame the popup's window once had (taken off, then given back).
constexpr int32_t kWidthWithoutHeader = 430;
constexpr int32_t kWidthWithNavbar = 495;
constexpr int32_t kFrameAllowance = 15;

// One axis of keepInside.
void keepInside(int32_t& low, int32_t& high, int32_t areaLow, int32_t areaHigh)
{
    int32_t shift = 0;
    if (high > areaHigh)
        shift = areaHigh - high;
    else if (low < areaLow)
        shift = areaLow - low;
    low += shift;
    high += shift;
    low = std::max(low, areaLow);
    high = std::min(high, areaHigh);
}

} // namespace

platform::Point popupSizeFor(web::WebView& view)
{
    const web::Margins margins = view.bodyMargins();
    int32_t width = 0;
    if (view.setElementDisplay("header", "none"))
        width = kWidthWithoutHeader;
    if (view.setElementDisplay("navbar", "inline"))
        width = kWidthWithNavbar;
    const platform::Rect table = view.firstTableBox();
    if (width == 0)
        width = table.width();
    const int32_t height = table.height() - kFrameAllowance;
    return {width + margins.left + margins.right, height + margins.top + margins.bottom + kFrameAllowance};
}

platform::Rect keepInside(const platform::Rect& popup, const platform::Rect& workArea)
{
    if (workArea.empty())
        return popup;
    platform::Rect placed = popup;
    keepInside(placed.top, placed.bottom, workArea.top, workArea.bottom);
    keepInside(placed.left, placed.right, workArea.left, workArea.right);
    return placed;
}

} // namespace help
