// The menus' and strips' stand-in until they are built: it records what the
// page asks and takes no strip click.

#include "patterneditor/pattern_menus.h"

#include <cstdio>

namespace {

class StandIn final : public TesselPatternMenus, public TesselPatternMenusRecord {
public:
    void showContextMenu(int32_t x, int32_t y) override { note("context", x, y); }
    void popupMenuAtCursor() override { calls.emplace_back("cursor"); }
    void showHeaderMenu(int32_t x, int32_t y) override { note("header", x, y); }
    void popUpCommands(int32_t x, int32_t y) override { note("commands", x, y); }
    bool onStripMouse(int32_t /*x*/, int32_t /*y*/, int32_t /*buttons*/) override { return false; }

private:
    void note(const char* what, int32_t x, int32_t y)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d %d", what, static_cast<int>(x), static_cast<int>(y));
        calls.emplace_back(text);
    }
};

} // namespace

std::unique_ptr<TesselPatternMenus> makePatternMenus(TesselPatternEditorUI& /*page*/)
{
    return std::make_unique<StandIn>();
}
