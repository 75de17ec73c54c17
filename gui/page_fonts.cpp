#include "gui/page_fonts.h"

#include "gui/tessel_font.h"
#include "plugin/plugin_globals.h"

#include <map>
#include <memory>

TesselFont* pageFont(int32_t resourceId, int32_t characterWidth)
{
    for (const std::unique_ptr<TesselFont>& font : bitmapFonts())
        if (font && font->getResourceID() == resourceId && font->getCharacterWidth() == characterWidth)
            return font.get();
    static std::map<int32_t, std::unique_ptr<TesselFont>> own;
    std::unique_ptr<TesselFont>& font = own[resourceId];
    if (!font)
        font = std::make_unique<TesselFont>(resourceId, characterWidth);
    return font.get();
}
