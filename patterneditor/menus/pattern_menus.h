#pragma once
// The pattern editor's popup menus and the mouse of its title and status
// strips, which the page calls.

#include <cstdint>
#include <memory>

class TesselPatternEditorUI;

class TesselPatternMenus {
public:
    virtual ~TesselPatternMenus() = default;
    // The main popup menu at a page point; at the cursor cell (';').
    virtual void showContextMenu(int32_t x, int32_t y) = 0;
    virtual void popupMenuAtCursor() = 0;
    // The channel header's menu, and the selection's side menu.
    virtual void showHeaderMenu(int32_t x, int32_t y) = 0;
    virtual void popUpCommands(int32_t x, int32_t y) = 0;
    // True when the title strip or the status strip took the mouse event.
    virtual bool onStripMouse(int32_t x, int32_t y, int32_t buttons) = 0;
};

std::unique_ptr<TesselPatternMenus> makePatternMenus(TesselPatternEditorUI& page);
