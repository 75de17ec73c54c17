// The mouse of the pattern editor's strips: the window buttons, the status
// strip's logo and toggles, the title strip's window drag and maximise,
// and the channel header's menu over a selection of whole channels.
#include "patterneditor/menus/pattern_menus_ui.h"

#include "gui/controls/button.h"
#include "model/song/pattern.h"
#include "patterneditor/pattern_editor_ui.h"
#include "shell/usage_log.h"

#include <algorithm>

namespace {

constexpr int32_t kLeft = 1;
constexpr int32_t kRight = 4;
constexpr int32_t kControl = 16;
constexpr int kFeedbackButton = 4;
constexpr int kLinkButton = 7;
constexpr int kTitleButtons = 5;   // 0..4 act here, and 7
constexpr int32_t kLogoWidth = 200;
constexpr int32_t kHelpToggleLeft = 21;
constexpr int32_t kTitleStripBottom = 15;
constexpr int32_t kHeaderBandTop = 27;
constexpr int32_t kHeaderBandBottom = 37;
constexpr int32_t kHeaderBandShiftMaximised = 11;
constexpr int32_t kMouseHeaderMenu = 293;

void logFocus(int item)
{
    if (TesselUsageLog* log = usageLog())
        log->logFocus(1, item, 1);
}

} // namespace

bool TesselPatternMenusUI::onStripMouse(int32_t x, int32_t y, int32_t buttons)
{
    if (buttons & kLeft) {
        bool taken = false;
        if (page_.stripsShown() && page_.windowButton(kFeedbackButton)->hitTest(CPoint(x, y))) {
            TesselButton* button = page_.windowButton(kFeedbackButton);
            button->setState(!button->getState());
            logFocus(kFeedbackButton);
            page_.link().sendFeedback();
            taken = true;
        } else if (!hitsListButton(x, y)) {
            taken = windowButtonMouse(x, y) || statusStripMouse(x, y) || titleStripMouse(x, y, buttons);
        }
        if (taken)
            page_.setDirty();
        // Linking the windows forgets the click it was.
        if (clickForgotten_)
            previousClick_.reset();
        else
            previousClick_ = CPoint(x, y);
        clickForgotten_ = false;
        return taken;
    }
    if (buttons & kRight)
        return headerBandMouse(x, y);
    return false;
}

// The instrument and octave lists' buttons: their lists open from the
// page's header band, and a press on them never drags the window.
bool TesselPatternMenusUI::hitsListButton(int32_t x, int32_t y) const
{
    for (int i = kTitleButtons; i < kLinkButton; ++i)
        if (page_.windowButton(i)->hitTest(CPoint(x, y)))
            return true;
    return false;
}

bool TesselPatternMenusUI::windowButtonMouse(int32_t x, int32_t y)
{
    TesselPatternEditorLink& link = page_.link();
    if (link.inOwnHost())
        return false;
    for (int i = 0; i < TesselPatternEditorUI::kWindowButtons; ++i) {
        TesselButton* button = page_.windowButton(i);
        if (!button->hitTest(CPoint(x, y)))
            continue;
        if (!page_.stripsShown())
            return false;
        const bool state = !button->getState();
        button->setState(state);
        logFocus(i);
        switch (i) {
        case 0: link.setAlwaysOnTop(state); break;
        case 1: link.setWindowMaximised(state); break;
        case 2:
            link.hideEditorWindow();
            button->setState(false);
            break;
        case 3: link.toggleKeyMode(); break;
        case kLinkButton:
            link.setWindowsLinked(state);
            clickForgotten_ = true;
            break;
        default: break;
        }
        return true;
    }
    return false;
}

bool TesselPatternMenusUI::statusStripMouse(int32_t x, int32_t y)
{
    if (!page_.stripsShown() || y < page_.statusTop())
        return false;
    TesselPatternEditorLink& link = page_.link();
    CRect area;
    page_.getViewSize(area);
    if (link.showsLogo() && x >= area.width() - kLogoWidth)
        link.openWebPage();
    else if (x > kHelpToggleLeft)
        link.toggleHelpPage();
    else
        page_.infoPanel().toggle();
    return true;
}

bool TesselPatternMenusUI::titleStripMouse(int32_t x, int32_t y, int32_t buttons)
{
    TesselPatternEditorLink& link = page_.link();
    if (link.inOwnHost() || y >= kTitleStripBottom)
        return false;
    const bool elsewhere = previousClick_ && (previousClick_->h != x || previousClick_->v != y);
    if (elsewhere && !link.windowMaximised()) {
        TesselButton* linkButton = page_.windowButton(kLinkButton);
        if (linkButton->getState()) {
            linkButton->setState(false);
            link.setWindowsLinked(false);
        }
        link.dragEditorWindow();
        return true;
    }
    if (buttons & kControl) {
        const bool maximise = !link.windowMaximised();
        page_.windowButton(1)->setState(maximise);
        link.setWindowMaximised(maximise);
        return true;
    }
    return false;
}

bool TesselPatternMenusUI::headerBandMouse(int32_t x, int32_t y)
{
    const TesselPattern* pattern = page_.pattern();
    const TesselSelection& selection = page_.grid().selection;
    if (!pattern || !selection.active)
        return false;
    const int32_t first = std::min(selection.start.row, selection.end.row);
    const int32_t last = std::max(selection.start.row, selection.end.row);
    if (first != 0 || last < pattern->length() - 1)
        return false;
    const int32_t shift = page_.link().windowMaximised() ? kHeaderBandShiftMaximised : 0;
    if (x <= page_.gridOrigin().x || y < kHeaderBandTop - shift || y > kHeaderBandBottom - shift)
        return false;
    logUsageAction(kCmdMouse, kMouseHeaderMenu);
    showHeaderMenu(x, y);
    return true;
}
