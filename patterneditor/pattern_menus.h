#pragma once
// The pattern editor's popup menus and the mouse of its title and status
// strips, which the page calls. Until they are built a stand-in records the
// calls (stand_in_pattern_menus.cpp).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// What the stand-in was asked, oldest first: "context 10 20", "cursor",
// "header 10 20", "commands 10 20".
struct TesselPatternMenusRecord {
    std::vector<std::string> calls;
};

std::unique_ptr<TesselPatternMenus> makePatternMenus(TesselPatternEditorUI& page);
