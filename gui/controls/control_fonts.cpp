#include "gui/controls/control_fonts.h"

#include "gui/gui_globals.h"
#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

#include <memory>

TesselFont* keptFont(int32_t resourceId, int32_t characterWidth)
{
    std::unique_ptr<TesselFont>& font = guiGlobals().keptFonts[{resourceId, characterWidth}];
    if (!font)
        font = std::make_unique<TesselFont>(resourceId, characterWidth);
    return font.get();
}

TesselFont* controlFont(TesselControlFont kind, bool small)
{
    static constexpr int32_t ids[3][2] = {
        {resources::kFontNormal, resources::kSmallFontNormal},
        {resources::kFontGrey, resources::kSmallFontGrey},
        {resources::kFontWhite, resources::kSmallFontHighlight},
    };
    return keptFont(ids[static_cast<int>(kind)][small ? 1 : 0], small ? 6 : 8);
}
