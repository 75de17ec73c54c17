#pragma once
// The bitmap fonts pages draw their texts with, by resource id: the editor's
// own (loaded into the global slots when it is built), else one the process
// makes once for that id. GUI thread only.

#include "gui/gui_globals.h"

#include <cstdint>

// The editor's fonts (owning; assigning deletes the previous font).
inline std::array<std::unique_ptr<TesselFont>, kBitmapFonts>& bitmapFonts() { return guiGlobals().bitmapFonts; }

// Never null; a font of an unknown id draws nothing.
TesselFont* pageFont(int32_t resourceId, int32_t characterWidth);
