#pragma once
// The bitmap fonts the controls draw with, made once and shared: normal
// text, the grey of what cannot be edited, and the highlight drawn on a
// control's colour (the block caret). Cells are 8 pixels wide, or 6 with the
// small font. GUI thread only; freed when the process or library ends.

#include <cstdint>

class TesselFont;

enum class TesselControlFont { Normal, Grey, Highlight };

TesselFont* controlFont(TesselControlFont kind, bool small);
// A font of that id and width the process makes once and keeps until it
// (or the library) ends. GUI thread only.
TesselFont* keptFont(int32_t resourceId, int32_t characterWidth);
