#include "pagekit/tessel_ui.h"

#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/lists/drop_list.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "shell/preferences.h"
#include "resources/resource_ids.h"

TesselUI::TesselUI(const CRect& size, int32_t tag, CBitmap* background, TesselEditorServices* editor,
                   int32_t classId)
    : CControl(size, nullptr, tag, background), TesselClassUI(classId), editor(editor), initialSize(size),
      closeBox(new CBitmap(resources::kCloseBox))
{
    if (editor) {
        plugin = editor->plugin();
        engine = editor->engine();
        song = engine ? &engine->song : nullptr;
    }
    // A page hears clicks anywhere in the frame; the handler sorts them out.
    setMouseableArea(CRect(0, 0, 3200, 1600));
}

TesselUI::~TesselUI()
{
    for (TesselDropList* list : dropLists)
        list->forget();
    if (closeBox)
        closeBox->forget();
}

void TesselUI::adoptDropList(TesselDropList* list)
{
    if (!list)
        return;
    list->setOwner(this, editor);
    dropLists.push_back(list);
}

TesselFrameLink* TesselUI::getEditor()
{
    return editor ? editor : CView::getEditor();
}

void TesselUI::onMouseWheel(int32_t /*x*/, int32_t /*y*/, float /*distance*/) {}

int32_t TesselUI::onMouseDown(int32_t /*x*/, int32_t /*y*/, CDrawContext* /*context*/, int32_t /*buttons*/)
{
    return 0;
}

int32_t TesselUI::onKeyEvent(const TesselKeyEvent& /*key*/)
{
    return 0;
}

int32_t TesselUI::getCurrentPattern()
{
    TesselUI* patternEditor = editor ? editor->basePage() : nullptr;
    return patternEditor && patternEditor != this ? patternEditor->getCurrentPattern() : 0;
}

int32_t TesselUI::getCurrentOrder()
{
    TesselUI* patternEditor = editor ? editor->basePage() : nullptr;
    return patternEditor && patternEditor != this ? patternEditor->getCurrentOrder() : 0;
}

int32_t TesselUI::getCurrentRow()
{
    TesselUI* patternEditor = editor ? editor->basePage() : nullptr;
    return patternEditor && patternEditor != this ? patternEditor->getCurrentRow() : 0;
}

void TesselUI::setFocused(bool flag)
{
    focused = flag;
    if (editor)
        editor->logCurrentFocus();
    setDirty();
}

int32_t TesselUI::getOctave() const
{
    return editor ? editor->octave() : 0;
}

int32_t TesselUI::getCurrentInstrument() const
{
    return editor ? editor->currentInstrument() : 0;
}

int32_t TesselUI::getCurrentSample() const
{
    return editor ? editor->currentSample() : 1;
}

TesselPreferences& TesselUI::getPreferences() const
{
    return pluginPreferences();
}

void TesselUI::setOctave(int32_t octave)
{
    if (!editor)
        return;
    if (octave >= 0 && octave <= 8)
        editor->setOctave(octave);
    editor->showOctave(static_cast<float>(editor->octave()));
    editor->redrawPatternEditor();
}

void TesselUI::selectInstrument(int32_t number)
{
    if (editor)
        editor->setCurrentInstrument(number, false);
}

bool TesselUI::isSidePage(const TesselUI* page) const
{
    if (!editor || !page)
        return false;
    for (TesselUI* side : editor->sidePages())
        if (page == side)
            return true;
    return false;
}

void TesselUI::moveSidePages(const CRect& rect)
{
    if (!editor)
        return;
    const std::array<TesselUI*, kSidePages> pages = editor->sidePages();
    if (!pages.back())
        return;
    for (TesselUI* page : pages)
        if (page)
            page->setViewSize(rect);
}

CFrame2* TesselUI::frame2() const
{
    return editor ? editor->frame2() : nullptr;
}

int32_t TesselUI::pageScale()
{
    if (parentFrame)
        return parentFrame->pageScale();
    CFrame2* frame = frame2();
    return frame ? frame->pageScale() : 1;
}

VSTGUI::CFrame* TesselEditorServices::pagesFrame()
{
    return frame2();
}

bool TesselEditorServices::getViewRect(CRect& rect)
{
    CFrame2* frame = frame2();
    platform::Window* window = frame ? frame->getSystemWindow() : nullptr;
    if (!window || !window->alive())
        return false;
    const platform::Rect client = window->rect();
    rect = CRect(0, 0, client.width(), client.height());
    if (doubleSize()) {
        rect.right = rect.left + rect.width() / 2 + 1;
        rect.bottom = rect.top + rect.height() / 2 + 1;
    }
    return true;
}
