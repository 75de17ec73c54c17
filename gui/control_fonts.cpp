#include "gui/control_fonts.h"

#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

TesselFont* controlFont(TesselControlFont kind, bool small)
{
    static TesselFont* const fonts[3][2] = {
        {new TesselFont(resources::kFontNormal, 8), new TesselFont(resources::kSmallFontNormal, 6)},
        {new TesselFont(resources::kFontGrey, 8), new TesselFont(resources::kSmallFontGrey, 6)},
        {new TesselFont(resources::kFontWhite, 8), new TesselFont(resources::kSmallFontHighlight, 6)},
    };
    return fonts[static_cast<int>(kind)][small ? 1 : 0];
}
