#pragma once
// Inside the platform layer only: the handles behind an Image, and the rule
// that keeps Cairo and the direct writers (pixman, own loops) in step. Cairo
// may hold writes back until flushed, and caches what it read until told the
// memory changed; each side settles the other before it touches the pixels.

#include "platform/graphics/image.h"

#include <cairo.h>
#include <pixman.h>

namespace platform {

struct Image::Surface {
    cairo_surface_t* cairo = nullptr;
    pixman_image_t* pixman = nullptr;
    cairo_t* context = nullptr;   // made on the first Cairo drawing, then kept
    bool cairoDrew = false;
    bool directWrote = false;

    ~Surface();

    // Before pixman or own code reads the pixels.
    void settleForReading()
    {
        if (cairoDrew) {
            cairo_surface_flush(cairo);
            cairoDrew = false;
        }
    }
    // Before pixman or own code writes them.
    void settleForWriting()
    {
        settleForReading();
        directWrote = true;
    }
    // Before Cairo draws; callers bracket their use with cairo_save/restore.
    cairo_t* forCairo();
};

inline uint32_t* pixelData(const Image& image)
{
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image.surface()->cairo));
}

// Exact for 8-bit components: Cairo scales them back to the same bytes.
inline void cairoSetColour(cairo_t* cr, Colour c)
{
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

inline void cairoClip(cairo_t* cr, const Rect& clip)
{
    cairo_rectangle(cr, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(cr);
}

} // namespace platform
