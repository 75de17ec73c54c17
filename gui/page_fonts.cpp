#include "gui/page_fonts.h"

#include "gui/controls/control_fonts.h"
#include "gui/tessel_font.h"

TesselFont* pageFont(int32_t resourceId, int32_t characterWidth)
{
    for (const std::unique_ptr<TesselFont>& font : bitmapFonts())
        if (font && font->getResourceID() == resourceId && font->getCharacterWidth() == characterWidth)
            return font.get();
    return keptFont(resourceId, characterWidth);
}
