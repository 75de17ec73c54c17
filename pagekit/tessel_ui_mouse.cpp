// The mouse handler all pages share. Only the button bits count as a press:
// a modifier key held alone starts nothing.

#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "pagekit/tessel_ui.h"
#include "pagekit/page_globals.h"
#include "shell/usage_log.h"
#include "pagekit/page_numbers.h"

namespace {

constexpr int32_t kButtons = 1 | 2 | 4;
constexpr int32_t kLeft = 1;

// Where the current title-strip drag took hold, in page coordinates.
CPoint dragOrigin;

struct PageButton {
    CRect strip;
    int32_t page;
};
// The toolbar's page buttons, edges included.
constexpr PageButton kPageButtons[] = {
    {CRect(0, 0, 89, 13), kSampleListPage},  {CRect(90, 0, 194, 13), kInstrumentListPage},
    {CRect(195, 0, 277, 13), kInfoPage},     {CRect(509, 0, 595, 13), kOrderListPage},
    {CRect(596, 0, 697, 13), kPreferencesPage},
};

} // namespace

void TesselUI::mouse(CDrawContext* context, CPoint& where, int32_t buttons)
{
    CFrame2* frame = frame2();
    if (!editor || editor->inputBlocked() || !frame || !frame->isOpen())
        return;
    if (buttons == -1)
        buttons = context ? context->getMouseButtons() : 0;
    const bool pressed = (buttons & kButtons) != 0;

    if (pressed) {
        platform::Window* window = frame->getSystemWindow();
        if (window && window->alive() && !window->hasFocus())
            window->takeFocus();
    }
    freshPress = !(lastButtons & kButtons) && pressed;
    lastButtons = buttons;
    const CPoint pagePoint(where.h - size.left, where.v - size.top);
    if (TesselUsageLog* log = usageLog())
        log->logMouse(pagePoint.h, pagePoint.v, buttons);

    if (toolbarStrip && !dragging && (buttons & kLeft) && freshPress)
        switchFromToolbar(pagePoint);
    if (forwardToDraggingPatternEditor(context, where, buttons) || forwardToHelpPage(context, where, buttons))
        return;

    if (hitCloseBox(pagePoint, buttons)) {
        shown = false;
    } else {
        if (draggable && dragByTitle(pagePoint, buttons))
            return;
        if (isInside(where)) {
            onMouseDown(pagePoint.h, pagePoint.v, context, buttons);
        } else if (pressed) {
            if (TesselUI* patternEditor = editor->basePage()) {
                patternEditor->freshPress = freshPress;
                patternEditor->onMouseDown(where.h, where.v, context, buttons);
            }
        }
        if (pressed)
            editor->logCurrentFocus();
    }
    if (freshPress && (buttons & kLeft))
        setDirty();
}

void TesselUI::switchFromToolbar(const CPoint& pagePoint)
{
    int32_t number = kNoPage;
    for (const PageButton& button : kPageButtons)
        if (pagePoint.isInside(button.strip))
            number = button.page;
    TesselUI* target = editor->pageByNumber(number);
    TesselUI* current = editor->currentPage();
    if (!target || target == current)
        return;
    CFrame2* frame = frame2();

    if (current && current != editor->basePage()) {
        current->setFocused(false);
        frame->removeView(current, false);
    }
    editor->setCurrentPage(target);
    if (editor->isOpen() && !editor->isWindowVisible())
        editor->showEditorWindow();
    target->setFocused(true);
    target->setDirty();
    if (!frame->isChild(target))
        frame->addView(target);

    if (number == kInstrumentListPage && editor->currentInstrument() == 0) {
        editor->setCurrentInstrument(1, false);
        editor->showInstrument(1.0f);
        editor->redrawPatternEditor();
        if (TesselUI* now = editor->currentPage(); now && now != editor->basePage())
            now->setDirty();
        editor->refreshPage(target);
    }

    editor->showPageButtons(number);
    currentPageNumber() = number;
    editor->logCurrentFocus();
    redrawNow(editor->toolbarPage());
    if (editor->isWindowVisible())
        redrawNow(target);
}

bool TesselUI::forwardToDraggingPatternEditor(CDrawContext* context, CPoint& where, int32_t buttons)
{
    TesselUI* patternEditor = editor->basePage();
    if (!patternEditor || !(buttons & kButtons) || !editor->basePageDragging())
        return false;
    patternEditor->freshPress = freshPress;
    patternEditor->onMouseDown(where.h, where.v, context, buttons);
    return true;
}

bool TesselUI::forwardToHelpPage(CDrawContext* context, CPoint& where, int32_t buttons)
{
    TesselUI* help = editor->bottomPanel();
    if (!help || !help->shown || !help->isInside(where) || editor->bottomPanelSlidingOut())
        return false;
    help->freshPress = freshPress;
    help->onMouseDown(where.h, where.v, context, buttons);
    if (help->isDirty())
        redrawNow(this);
    return true;
}

bool TesselUI::hitCloseBox(const CPoint& pagePoint, int32_t buttons) const
{
    const int32_t width = size.width();
    return (buttons & kLeft) && !dragging && shown
        && pagePoint.isInside(CRect(width - kCloseBoxWidth, 0, width, kCloseBoxHeight));
}

bool TesselUI::dragByTitle(const CPoint& pagePoint, int32_t buttons)
{
    if (!(buttons & kButtons))
        dragging = false;
    if (freshPress && pagePoint.isInside(CRect(0, 0, size.width(), kTitleStripHeight))) {
        dragging = true;
        dragOrigin = pagePoint;
    }
    if (!dragging)
        return false;
    CRect moved = size;
    moved.offset(pagePoint.h - dragOrigin.h, pagePoint.v - dragOrigin.v);
    if (moved != size) {
        if (isSidePage(this)) {
            moveSidePages(moved);
        } else {
            const CPoint framePoint(size.left + pagePoint.h, size.top + pagePoint.v);
            setViewSize(moved);
            warpPointerTo(framePoint);
            setDirty();
        }
    }
    return true;
}

void TesselUI::warpPointerTo(const CPoint& framePoint)
{
    CFrame2* frame = frame2();
    platform::Window* window = frame ? frame->getSystemWindow() : nullptr;
    if (!window || !window->alive())
        return;
    const platform::Point origin = window->screenOrigin();
    const int32_t scale = pageScale();
    window->system().warpPointer({origin.x + scale * framePoint.h, origin.y + scale * framePoint.v});
}
