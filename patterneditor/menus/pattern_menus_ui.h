#pragma once
// The pattern editor's popup menus, built from the menu table, and the mouse
// of its title and status strips (window buttons, the window drag, the help
// and info toggles, the header menu).

#include "gui/controls/control.h"
#include "patterneditor/menus/pattern_menu_table.h"
#include "patterneditor/menus/pattern_menus.h"

#include <optional>

class TesselPatternMenusUI final : public TesselPatternMenus {
public:
    explicit TesselPatternMenusUI(TesselPatternEditorUI& page) : page_(page) {}

    void showContextMenu(int32_t x, int32_t y) override;
    void popupMenuAtCursor() override;
    void showHeaderMenu(int32_t x, int32_t y) override;
    void popUpCommands(int32_t x, int32_t y) override;
    bool onStripMouse(int32_t x, int32_t y, int32_t buttons) override;

private:
    // Shows the entries at a page point; the chosen command's id, or 0.
    int32_t popUp(const std::vector<pattern_menu::Entry>& entries, int32_t x, int32_t y);
    // A chosen entry of the main menu: global, page or grid command.
    void runCommand(int32_t id);
    bool hitsListButton(int32_t x, int32_t y) const;
    bool windowButtonMouse(int32_t x, int32_t y);
    bool statusStripMouse(int32_t x, int32_t y);
    bool titleStripMouse(int32_t x, int32_t y, int32_t buttons);
    bool headerBandMouse(int32_t x, int32_t y);

    TesselPatternEditorUI& page_;
    std::optional<CPoint> previousClick_;
    bool clickForgotten_ = false;
};
