#pragma once
// The bitmap fonts pages draw their texts with, by resource id: the editor's
// own (loaded into the global slots when it is built), else one the process
// makes once for that id. GUI thread only.

#include <array>
#include <cstdint>
#include <memory>

class TesselFont;

// The editor's fonts, owning pointers it fills; assigning deletes the
// previous font.
constexpr int kBitmapFonts = 13;
std::array<std::unique_ptr<TesselFont>, kBitmapFonts>& bitmapFonts();

// Never null; a font of an unknown id draws nothing.
TesselFont* pageFont(int32_t resourceId, int32_t characterWidth);
