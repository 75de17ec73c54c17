#include "pagekit/frame2.h"

#include "gui/draw_context.h"
#include "pagekit/editor_services.h"
#include "pagekit/tessel_ui.h"

CFrame2::CFrame2(const CRect& size, platform::Window* systemWindow, TesselFrameLink* editor)
    : CFrame(size, systemWindow, editor)
{
}

bool CFrame2::doubleSize()
{
    TesselFrameLink* editor = getEditor();
    return editor && editor->doubleSize();
}

void CFrame2::draw(CDrawContext* /*context*/) {}

void CFrame2::drawRect(CDrawContext* /*context*/, const CRect& /*updateRect*/)
{
    if (TesselFrameLink* editor = getEditor())
        editor->redrawPatternEditor();
}

void CFrame2::mouse(CDrawContext* context, CPoint& where, int32_t buttons)
{
    if (doubleSize()) {
        where.h /= 2;
        where.v /= 2;
    }
    CFrame::mouse(context, where, buttons);
}

bool CFrame2::onWheel(CDrawContext* context, const CPoint& where, float distance)
{
    CPoint point = where;
    if (doubleSize()) {
        point.h /= 2;
        point.v /= 2;
    }
    return CFrame::onWheel(context, point, distance);
}

void CFrame2::draw(CView* /*view*/) {}

bool CFrame2::initFrame(platform::Window* systemWindow)
{
    if (!systemWindow)
        return false;
    return setDropActive(true);
}

void CFrame2::drawPage(TesselUI* page)
{
    auto* services = dynamic_cast<TesselEditorServices*>(getEditor());
    TesselUI* patternEditor = services ? services->basePage() : nullptr;
    if (!page || !isChild(page))
        page = patternEditor;
    if (!page)
        return;
    std::unique_ptr<CDrawContext> context = createWindowContext();
    TesselUI::drawBuffered(page, context.get(), patternEditor ? patternEditor : page, doubleSize());
}
