#pragma once
// Characters of one font placed at whole-pixel positions and drawn in one
// call per colour: fixed-step text (ExtTextOut with a spacing table) without
// kerning, for pages that draw many cells at once.

#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"

#include <vector>

namespace platform {

class GlyphRun {
public:
    void clear() { glyphs_.clear(); }
    bool empty() const { return glyphs_.empty(); }
    size_t size() const { return glyphs_.size(); }

    // The character's cell has its top-left corner at topLeft; characters
    // the font does not draw (controls) are skipped.
    void add(const Font& font, unsigned char c, Point topLeft);

    // Every character added, in the colour, inside the canvas's clip.
    void draw(Canvas& canvas, const Font& font, Colour colour) const;

private:
    // Laid out as Cairo's glyph record.
    struct Glyph {
        unsigned long index;
        double x;
        double y;
    };
    std::vector<Glyph> glyphs_;
};

} // namespace platform
