#include "gui/gui_globals.h"

#include "gui/tessel_font.h"

TesselGuiGlobals::TesselGuiGlobals() = default;
TesselGuiGlobals::~TesselGuiGlobals() = default;

TesselGuiGlobals& guiGlobals()
{
    static TesselGuiGlobals globals;
    return globals;
}

void TesselGuiGlobals::reset()
{
    for (std::unique_ptr<TesselFont>& font : bitmapFonts)
        font.reset();
}
