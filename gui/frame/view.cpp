#include "gui/frame/view.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame/frame.h"
#include "platform/window.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView()
{
    if (background)
        background->forget();
}

void CView::draw(CDrawContext* /*context*/)
{
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/)
{
    draw(context);
}

bool CView::checkUpdate(const CRect& rect) const
{
    return rect.left <= size.right && size.left <= rect.right && rect.top <= size.bottom && size.top <= rect.bottom;
}

void CView::mouse(CDrawContext* /*context*/, CPoint& /*where*/, int32_t /*buttons*/) {}

void CView::update(CDrawContext* context)
{
    if (!isDirty())
        return;
    if (context)
        draw(context);
    else if (parentFrame)
        parentFrame->draw(this);
    setDirty(false);
}

int32_t CView::notify(CView* /*sender*/, const char* /*message*/)
{
    return 0;
}

void CView::setBackground(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (background)
        background->forget();
    background = bitmap;
}

int32_t CView::onKeyDown(VstKeyCode& /*key*/)
{
    return -1;
}

int32_t CView::onKeyUp(VstKeyCode& /*key*/)
{
    return -1;
}

bool CView::onDrop(void** /*items*/, int32_t /*count*/, int32_t /*type*/, CPoint& /*where*/)
{
    return false;
}

bool CView::onWheel(CDrawContext* /*context*/, const CPoint& /*where*/, float /*distance*/)
{
    return false;
}

void CView::looseFocus(CDrawContext* /*context*/) {}

void CView::takeFocus(CDrawContext* /*context*/) {}

CRect& CView::getMouseableArea(CRect& rect) const
{
    rect = mouseableArea;
    return rect;
}

bool CView::hitTest(const CPoint& where, int32_t /*buttons*/)
{
    return where.isInside(mouseableArea);
}

void CView::setViewSize(const CRect& rect)
{
    size = rect;
    setDirty();
}

CRect& CView::getViewSize(CRect& rect) const
{
    rect = size;
    return rect;
}

TesselFrameLink* CView::getEditor()
{
    return parentFrame ? parentFrame->getEditor() : nullptr;
}

bool CView::removed(CView* /*parent*/)
{
    return true;
}

bool CView::attached(CView* /*parent*/)
{
    return true;
}

void CView::getMouseLocation(CDrawContext* context, CPoint& point)
{
    point = {};
    platform::WindowSystem* system = context ? context->getWindowSystem() : nullptr;
    if (!system)
        return;
    const platform::Point cursor = system->cursorPosition();
    const CPoint origin = context->getScreenOffset();
    point = CPoint(cursor.x - origin.h, cursor.y - origin.v);
}

CPoint& CView::localToFrame(CPoint& point) const
{
    return point.offset(size.left, size.top);
}

} // namespace VSTGUI
