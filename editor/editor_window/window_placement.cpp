#include "editor/editor_window/window_placement.h"

bool overlapsEnough(const platform::Rect& rect, const platform::Rect& bounds)
{
    if (rect.empty())
        return false;
    if (bounds.empty())
        return true;
    return rect.left < bounds.right - kPlacementMargin && rect.right > bounds.left + kPlacementMargin
        && rect.top < bounds.bottom - kPlacementMargin && rect.bottom > bounds.top + kPlacementMargin;
}

TesselPlacement placeEditorWindow(const TesselPlacementRequest& request)
{
    if (overlapsEnough(request.saved, request.bounds))
        return {request.saved, TesselPlacementSource::kSaved};
    if (overlapsEnough(request.preference, request.bounds))
        return {request.preference, TesselPlacementSource::kPreference};
    const platform::Rect below = platform::rectOfSize(request.host.left, request.host.bottom + kGapBelowHost,
                                                      kEditorWindowWidth, kEditorWindowHeight);
    return {below, TesselPlacementSource::kBelowHost};
}

platform::Rect keptInside(const platform::Rect& rect, const platform::Rect& area)
{
    if (area.empty())
        return rect;
    int32_t dx = std::min(0, area.right - rect.right);
    int32_t dy = std::min(0, area.bottom - rect.bottom);
    dx = std::max(dx, area.left - rect.left);
    dy = std::max(dy, area.top - rect.top);
    return rect.movedBy(dx, dy);
}

platform::Rect linkedPlace(const platform::Rect& below, int32_t hostTop, const platform::Rect& area)
{
    if (area.empty() || below.bottom <= area.bottom)
        return keptInside(below, area);
    const platform::Rect above = below.movedBy(0, hostTop - kLinkedGapBelow - below.bottom);
    return keptInside(above.top >= area.top ? above : below, area);
}
