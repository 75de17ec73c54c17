#pragma once
// Where the grid draws: an image, the offset that a draw context adds to
// every coordinate, and its clip in image coordinates. A draw context, or an
// offscreen one, hands its image, offset and clip over as this.

#include "platform/canvas.h"

#include <optional>

struct TesselDrawTarget {
    platform::Image* image = nullptr;
    platform::Point offset;
    std::optional<platform::Rect> clip;   // none: the whole image

    bool usable() const { return image && !image->empty(); }
    // A canvas over the image with the clip applied.
    platform::Canvas canvas() const
    {
        platform::Canvas c(*image);
        if (clip)
            c.setClip(*clip);
        return c;
    }
    platform::Point shifted(platform::Point p) const { return {p.x + offset.x, p.y + offset.y}; }
    platform::Rect shiftedRect(const platform::Rect& r) const { return r.movedBy(offset.x, offset.y); }
};
