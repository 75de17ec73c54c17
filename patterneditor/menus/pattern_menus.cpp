// The pattern editor's popup menus: the main menu, the channel header's and
// the selection's side menu, shown as a drop list at a page point.
#include "patterneditor/menus/pattern_menus_ui.h"

#include "gui/lists/drop_list.h"
#include "pagekit/editor_services.h"
#include "gui/controls/param_display.h"
#include "patterneditor/menus/edit_commands.h"
#include "patterneditor/pattern_editor_ui.h"
#include "shell/command_scheme.h"
#include "shell/usage_log.h"

#include <map>

namespace {

constexpr int32_t kMouseMenu = 132;
constexpr int32_t kSideMenuValue = 4;
constexpr size_t kPairOfRows = 2;

// Hears which (sub)menu a choice came from and turns it into a command id.
class ChoiceListener final : public CControlListener {
public:
    void valueChanged(CDrawContext* /*context*/, CControl* control) override
    {
        const auto found = menus.find(control);
        if (found == menus.end())
            return;
        const int32_t index = static_cast<COptionMenu*>(control)->getCurrent();
        const auto& entries = *found->second;
        if (index >= 0 && size_t(index) < entries.size())
            chosen = entries[size_t(index)].id;
    }

    // Fills a menu with the entries, submenus included.
    void fill(COptionMenu& menu, const std::vector<pattern_menu::Entry>& entries)
    {
        menus[&menu] = &entries;
        menu.setListener(this);
        for (const pattern_menu::Entry& entry : entries) {
            if (!entry.isSubmenu) {
                menu.addEntry(entry.text.c_str());
                continue;
            }
            auto* submenu = new COptionMenu(CRect(), this, 0);
            fill(*submenu, entry.submenu);
            menu.addEntry(submenu, entry.text.c_str());
            submenu->forget();   // the menu holds it now
        }
    }

    std::map<const CControl*, const std::vector<pattern_menu::Entry>*> menus;
    int32_t chosen = 0;
};

} // namespace

int32_t TesselPatternMenusUI::popUp(const std::vector<pattern_menu::Entry>& entries, int32_t x, int32_t y)
{
    ChoiceListener listener;
    auto* list = new TesselDropList(CRect(x, y, x + 1, y + 1), nullptr, "", nullptr, nullptr, VSTGUI::kPopupStyle);
    list->setOwner(&page_, page_.editorServices());
    listener.fill(*list, entries);
    list->popup();
    list->forget();
    return listener.chosen;
}

void TesselPatternMenusUI::showContextMenu(int32_t x, int32_t y)
{
    logUsageAction(kCmdMouseMenu, 0);
    const auto entries =
        pattern_menu::buildEntries(pattern_menu::mainRows(), defaultScheme(), page_.grid().view.volumeMode);
    if (const int32_t id = popUp(entries, x, y))
        runCommand(id);
    page_.setDirty();
}

void TesselPatternMenusUI::runCommand(int32_t id)
{
    logUsageAction(kCmdMouse, id);
    if (page_.link().executeCommand(id)) {
        page_.setDirty();
        return;
    }
    // The grid edits the pattern itself, under the song lock, as the keys do.
    if (!page_.onCommand(id))
        page_.grid().executeEdit(id);
}

void TesselPatternMenusUI::popupMenuAtCursor()
{
    logUsageAction(kCmdKeyboard, kMouseMenu);
    const TesselPatternUI& grid = page_.grid();
    const TesselPatternView& view = grid.view;
    const platform::Point origin = grid.gridOrigin();
    showContextMenu(origin.x + grid.columnX(view.cursorChannel, view.cursorColumn),
                    origin.y + grid.rowY(view.cursorRow, view.cursorSubrow, false));
}

void TesselPatternMenusUI::showHeaderMenu(int32_t x, int32_t y)
{
    const auto rows = pattern_menu::rowsFrom(pattern_menu::kHeaderMenuFirst, kPairOfRows);
    const auto entries = pattern_menu::buildEntries(rows, defaultScheme(), page_.grid().view.volumeMode);
    if (entries.empty())
        return;
    if (const int32_t id = popUp(entries, x, y))
        page_.grid().executeEdit(id);
    page_.setDirty();
}

void TesselPatternMenusUI::popUpCommands(int32_t x, int32_t y)
{
    logUsageAction(kCmdMouseRowMenu, kSideMenuValue);
    const auto rows = pattern_menu::rowsFrom(pattern_menu::kSideMenuFirst, kPairOfRows);
    const auto entries = pattern_menu::buildEntries(rows, defaultScheme(), page_.grid().view.volumeMode);
    if (const int32_t id = popUp(entries, x, y))
        page_.onCommand(id);
    page_.setDirty();
}

std::unique_ptr<TesselPatternMenus> makePatternMenus(TesselPatternEditorUI& page)
{
    return std::make_unique<TesselPatternMenusUI>(page);
}
