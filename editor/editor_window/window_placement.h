#pragma once
// Where the editor window goes when it is made: the rectangle it had before
// (saved in this process), else the one the preferences keep, else 10 pixels
// below the host's window, left-aligned with it, at the default size. A kept
// rectangle counts only while more than 20 pixels of it lie inside the
// bounds on every side, so a window left at a screen edge is placed anew.

#include "platform/graphics/geometry.h"

constexpr int32_t kEditorWindowWidth = 723;
constexpr int32_t kEditorWindowHeight = 499;
constexpr int32_t kPlacementMargin = 20;
constexpr int32_t kGapBelowHost = 10;
// A linked window: its top-left this far left of the host's window and below it.
constexpr int32_t kLinkedLeftOffset = 2;
constexpr int32_t kLinkedGapBelow = 4;

struct TesselPlacementRequest {
    // The host's window, in the coordinates of `bounds`.
    platform::Rect host;
    // The screen, or the parent's client area; empty when unknown (then any
    // non-empty rectangle counts).
    platform::Rect bounds;
    // The rectangle the window had; empty when there was none.
    platform::Rect saved;
    // "positionx1" .. "positiony2"; unset when equal.
    platform::Rect preference;
};

enum class TesselPlacementSource { kSaved, kPreference, kBelowHost };

struct TesselPlacement {
    platform::Rect rect;
    TesselPlacementSource source = TesselPlacementSource::kBelowHost;
};

// Whether more than kPlacementMargin pixels of `rect` lie inside `bounds` on every side.
bool overlapsEnough(const platform::Rect& rect, const platform::Rect& bounds);
TesselPlacement placeEditorWindow(const TesselPlacementRequest& request);

// The rectangle moved into the area as far as it fits there; one larger than
// the area keeps its top-left corner (a window's caption) inside. Unmoved
// when the area is empty (unknown).
platform::Rect keptInside(const platform::Rect& rect, const platform::Rect& area);
// A linked window's frame: `below` (just under the host's window) while the
// area has room for it there; else just above the host's window, whose frame
// begins at `hostTop`, rather than over the host's own controls; else as
// near below as the area lets it be.
platform::Rect linkedPlace(const platform::Rect& below, int32_t hostTop, const platform::Rect& area);
