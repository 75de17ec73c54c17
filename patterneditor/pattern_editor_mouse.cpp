// The page's mouse: panels over the page first, then the strips, the grid
// (selections and drags, the popup menus) and the header band.
#include "patterneditor/pattern_editor_ui.h"

#include "gui/controls/button.h"
#include "gui/lists/drop_list.h"
#include "pagekit/editor_services.h"
#include "patterneditor/menus/edit_commands.h"
#include "shell/usage_log.h"

namespace {

constexpr int32_t kLeft = 1;
constexpr int32_t kRight = 4;
constexpr int32_t kButtons = 1 | 2 | 4;
constexpr int32_t kMouseMenu = 132;
constexpr int32_t kMouseSideMenu = 290;
// The header band above the row numbers, and the corner that opens the menu.
constexpr int32_t kBandTop = 24;
constexpr int32_t kBandBottom = 38;
constexpr int32_t kBandShiftMaximised = 11;
constexpr int32_t kCornerWidth = 25;
constexpr int kInstrumentButton = 5;
constexpr int kOctaveButton = 6;

void logMouse(int32_t value)
{
    logUsageAction(kCmdMouse, value);
}

} // namespace

void TesselPatternEditorUI::onMouseWheel(int32_t x, int32_t y, float distance)
{
    grid_.scrollRows(x, y, distance);
    publish();
    setDirty();
}

bool TesselPatternEditorUI::gridAreaHolds(int32_t x, int32_t y) const
{
    return x >= 0 && x < size.width() && y >= gridOrigin().y && y < statusTop();
}

int32_t TesselPatternEditorUI::onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons)
{
    const bool pressed = buttons & kButtons;
    const bool fresh = pressed && freshPress;
    int32_t result = 0;
    const auto panelPoint = [x, y](TesselUI& panel, int32_t& px, int32_t& py) {
        CRect area;
        panel.getViewSize(area);
        px = x - area.left;
        py = y - area.top;
        return CPoint(x, y).isInside(area);
    };
    int32_t px = 0;
    int32_t py = 0;

    if (link_->splashCovers()) {
        if (fresh)
            link_->fadeSplash();
        return 0;
    }
    if (pressed && options_->wantsMouse() && panelPoint(*options_, px, py)) {
        options_->onMouseDown(px, py, context, buttons);
    } else if (fresh && menus_->onStripMouse(x, y, buttons)) {
    } else if (undo_->isShown()) {
    } else if (overview_ && overview_->isShown() &&
               ((panelPoint(*overview_, px, py) && pressed) || overview_->isDragging())) {
        // While its title strip drags it, the panel hears the release too.
        overview_->onMouseDown(px, py, context, buttons);
    } else if (grid_.amplifyPromptOpen() || grid_.isMouseSelecting()) {
        result = grid_.dragSelection(x, y, buttons, fresh);
    } else if (fresh && info_->isVisible() && CPoint(x, y).isInside(info_->barRect(0, infoBarBottom()))) {
        if (buttons & kLeft)
            link_->openHelpPage(info_->helpPageFor(grid_.cellAtCursor()));
    } else if (editor && editor->currentPage() == this && gridAreaHolds(x, y)) {
        if (buttons & kLeft) {
            result = grid_.dragSelection(x, y, buttons, fresh);
        } else if (fresh && (buttons & kRight)) {
            if (x < gridOrigin().x && grid_.selection.active) {
                logMouse(kMouseSideMenu);
                menus_->popUpCommands(x, y);
            } else {
                logMouse(kMouseMenu);
                menus_->showContextMenu(x, y);
            }
        } else if (!pressed) {
            result = grid_.dragSelection(x, y, buttons, false);
        }
    } else if (fresh && (buttons & kLeft) && stripsShown()) {
        result = headerMouse(x, y, buttons);
    }
    if (pressed || result)
        publish();
    if (pressed)
        setDirty();
    return result;
}

// A left press outside the grid with the strips shown: the volume column
// switch, the corner menu and the window buttons.
int32_t TesselPatternEditorUI::headerMouse(int32_t x, int32_t y, int32_t /*buttons*/)
{
    const int32_t shift = link_->windowMaximised() ? kBandShiftMaximised : 0;
    const int32_t bandTop = kBandTop - shift;
    if (x <= gridOrigin().x && y >= bandTop && y <= kBandBottom - shift) {
        grid_.executeEdit(edit_commands::kCycleEditMode);
        return kLeft;
    }
    if (x < kCornerWidth && y < bandTop) {
        logMouse(kMouseMenu);
        menus_->showContextMenu(0, bandTop);
        return kLeft;
    }
    for (int i = 0; i < kWindowButtons; ++i) {
        TesselButton* button = buttons_[size_t(i)];
        if (!button->hitTest(CPoint(x, y)))
            continue;
        button->setState(!button->getState());
        if (TesselUsageLog* log = usageLog())
            log->logFocus(1, i, 1);
        if (i == kInstrumentButton)
            instrumentList_->popup();
        else if (i == kOctaveButton)
            octaveList_->popup();
        return kLeft;
    }
    return 0;
}
