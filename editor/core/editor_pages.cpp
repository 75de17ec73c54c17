// Page switching, what the pages ask of the editor, modal popups and the
// window preferences.

#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/frame2.h"
#include "pagekit/page_globals.h"
#include "patterneditor/overview/toolbar_page.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"

namespace {

constexpr uint8_t kNoPageLogged = 255;

} // namespace

void TesselEditor::switchPage(int32_t number, bool redraw)
{
    if (current_ && currentPageNumber() != kPatternEditorPage) {
        current_->setFocused(false);
        if (frame2_)
            frame2_->removeView(current_, false);
    }
    current_ = pages_.byNumber(number);
    if (number > 0 && frame && !editorWindow_.shown())
        showEditorWindow();
    if (number == kInstrumentListPage && instrument_ == 0) {
        instrument_ = 1;
        if (patternEditor_) {
            patternEditor_->showInstrument(1.0f);
            patternEditor_->setDirty();
        }
        if (instrumentList_)
            instrumentList_->selectFirstInstrument();
    }
    if (current_) {
        current_->setFocused(true);
        current_->setDirty();
        if (number != kPatternEditorPage && frame2_ && !frame2_->isChild(current_))
            frame2_->addView(current_);
    }
    showPageButtons(number);
    currentPageNumber() = number;
    logCurrentFocus();
    if (redraw) {
        drawToolbarNow();
        if (editorWindow_.shown())
            drawNow(current_);
    }
}

void TesselEditor::logCurrentFocus()
{
    const int32_t number = currentPageNumber();
    const int page = number < 0 ? kNoPageLogged : number;
    log_.logFocus(page, 0, current_ && current_->isFocused() ? 1 : 0);
}

bool TesselEditor::windowActive() const
{
    platform::Window* window = editorWindow();
    platform::Window* pages = frame2_ ? frame2_->getWindow() : nullptr;
    return (window && window->hasFocus()) || (pages && pages->hasFocus());
}

bool TesselEditor::basePageDragging() const
{
    return patternEditor_ && patternEditor_->draggingSelection();
}

void TesselEditor::showOctave(float value)
{
    if (patternEditor_)
        patternEditor_->showOctave(value);
}

void TesselEditor::showInstrument(float value)
{
    if (patternEditor_)
        patternEditor_->showInstrument(value);
}

void TesselEditor::drawStatusLine(VSTGUI::CDrawContext* context)
{
    if (patternEditor_)
        patternEditor_->drawStatus(context);
}

void TesselEditor::refreshPage(TesselUI* page)
{
    if (instrumentList_ && page == instrumentList_)
        instrumentList_->selectFirstInstrument();
}

bool TesselEditor::bottomPanelSlidingOut() const
{
    return help_ && help_->isHiding();
}

bool TesselEditor::overlaysHidden() const
{
    return splash_ && splash_->isShown() && !splash_->isFadingOut();
}

void TesselEditor::showPageButtons(int32_t pageNumber)
{
    if (toolbar_)
        toolbar_->showPageButtons(pageNumber);
}

void TesselEditor::beginPopup()
{
    platform::Window* window = editorWindow();
    popupActive_ = true;
    if (window && window->isTopLevel())
        window->setKeepAbove(false);
    redrawPatternEditor();
    if (current_)
        current_->setDirty();
}

void TesselEditor::endPopup()
{
    platform::Window* window = editorWindow();
    popupActive_ = false;
    if (window && window->isTopLevel())
        window->setKeepAbove(pluginPreferences().alwaysOnTop != 0);
    redrawPatternEditor();
    if (current_)
        current_->setDirty();
}

bool TesselEditor::manualKeyMode() const
{
    return getKeyMode() == 1;
}

bool TesselEditor::doubleSize() const
{
    return pluginPreferences().doubleSize != 0;
}

int TesselEditor::getKeyMode() const
{
    return pluginPreferences().keyboardMode;
}

void TesselEditor::setKeyMode(int mode, bool quiet)
{
    if (inOwnHost())
        mode = 0;
    mode = mode == 1 ? 1 : 0;
    if (mode == 1 && frame2_)
        editorWindow_.filterKeys();
    if (!quiet)
        platform::setStatusText(mode == 1 ? "Manual key mode enabled (use Ctrl-Alt-K to toggle)."
                                          : "Manual key mode disabled (use Ctrl-Alt-K to toggle).");
    pluginPreferences().keyboardMode = static_cast<uint8_t>(mode);
}

void TesselEditor::setFastRefresh(bool on)
{
    platform::Window* window = editorWindow();
    pluginPreferences().graphicsPriority = on ? 1 : 0;
    if (!window)
        return;
    if (on)
        window->setTimer(kTimerIdle, kFastIdleMs);
    else
        window->killTimer(kTimerIdle);
}

void TesselEditor::setAlwaysOnTop(bool on)
{
    platform::Window* window = editorWindow();
    pluginPreferences().alwaysOnTop = on ? 1 : 0;
    if (window && window->isTopLevel())
        window->setKeepAbove(on && !popupActive_);
    redrawPatternEditor();
}

void TesselEditor::setWindowsLinked(bool on, bool quiet)
{
    pluginPreferences().linkWindows = on ? 1 : 0;
    editorWindow_.relink();
    if (!quiet)
        platform::setStatusText(on ? "Quorbel windows linked." : "Quorbel windows separated.");
}

void TesselEditor::setIntegrated(bool on, bool quiet)
{
    pluginPreferences().mergeWithHost = on ? 1 : 0;
    if (frame2_) {
        destroyWindow();
        createWindow();
        showEditorWindow();
    }
    if (!quiet)
        platform::setStatusText(on ? "Quorbel editor window integrated with host."
                                   : "Quorbel editor window separated from host.");
}

void TesselEditor::setPatternFont(const TesselFontRecord& font)
{
    pluginPreferences().font = font;
    if (patternEditor_) {
        patternEditor_->layout();
        patternEditor_->fillInstrumentList();
        patternEditor_->setDirty();
    }
}

void TesselEditor::setPatternFontWidth(int32_t width)
{
    pluginPreferences().fontWidth = static_cast<int16_t>(width);
    if (patternEditor_) {
        patternEditor_->layout();
        patternEditor_->fillInstrumentList();
        patternEditor_->setDirty();
    }
}
