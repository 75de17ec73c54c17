#pragma once
// The bitmap fonts pages draw their texts with, by resource id: the editor's
// own (loaded into the global slots when it is built), else one the process
// makes once for that id. GUI thread only.

#include <cstdint>

class TesselFont;

// Never null; a font of an unknown id draws nothing.
TesselFont* pageFont(int32_t resourceId, int32_t characterWidth);
