#pragma once
// A bitmap font: a strip of 16 x 16 glyph cells, one character per cell,
// each a fixed number of pixels wide.

#include "gui/bitmap.h"

class TesselFont : public VSTGUI::CBitmap {
public:
    TesselFont(int32_t resourceId, int32_t characterWidth) : CBitmap(resourceId), characterWidth_(characterWidth) {}
    ~TesselFont() override = default;

    int32_t getCharacterWidth() const { return characterWidth_; }

private:
    int32_t characterWidth_;
};
