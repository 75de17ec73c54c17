#pragma once
// How the grid draws into a draw context: through its clipped canvas, with
// the context's offset added to every coordinate.

#include "gui/draw_context.h"
#include "platform/graphics/canvas.h"

struct TesselDrawTarget {
    platform::Canvas* canvas = nullptr;
    platform::Point offset;

    explicit TesselDrawTarget(CDrawContext* context)
    {
        if (context) {
            canvas = context->platformCanvas();
            offset = context->getOffset().toPlatform();
        }
    }
    bool usable() const { return canvas != nullptr; }
    platform::Point shifted(platform::Point p) const { return {p.x + offset.x, p.y + offset.y}; }
    platform::Rect shiftedRect(const platform::Rect& r) const { return r.movedBy(offset.x, offset.y); }
};
