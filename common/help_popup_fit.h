#pragma once
// How the help popup fits itself to a key-reference page and keeps itself on
// the monitor.

#include "platform/graphics/geometry.h"

namespace web {
class WebView;
}

namespace help {

// The popup's outer size for the page in the view: the paging line at the
// top ("header") is hidden and the popup's own hint ("navbar") shown, each
// fixing the width (430, then 495); without either the width is the first
// table's; the height is that table's, and the body's margins go around.
// The view's page is laid out again on the way.
platform::Point popupSizeFor(web::WebView& view);

// Where a popup of that rectangle goes: up by as much as its bottom passes
// the work area's, else down by as much as its top lies above it; likewise
// left and right. One larger than the work area is cut to it, its top-left
// kept inside.
platform::Rect keepInside(const platform::Rect& popup, const platform::Rect& workArea);

} // namespace help
