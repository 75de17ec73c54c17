#include "pagekit/page_globals.h"

#include "gui/offscreen_context.h"

TesselPageGlobals::TesselPageGlobals() = default;
TesselPageGlobals::~TesselPageGlobals() = default;

TesselPageGlobals& pageGlobals()
{
    static TesselPageGlobals globals;
    return globals;
}

void TesselPageGlobals::reset()
{
    currentPageNumber.store(-1);
    pageOffscreen.reset();
}
