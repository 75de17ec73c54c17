#include "gui/control_fonts.h"

#include "gui/page_fonts.h"
#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

TesselFont* controlFont(TesselControlFont kind, bool small)
{
    // Looked up on each call: the editor's fonts go with it.
    static constexpr int32_t ids[3][2] = {
        {resources::kFontNormal, resources::kSmallFontNormal},
        {resources::kFontGrey, resources::kSmallFontGrey},
        {resources::kFontWhite, resources::kSmallFontHighlight},
    };
    return pageFont(ids[static_cast<int>(kind)][small ? 1 : 0], small ? 6 : 8);
}
