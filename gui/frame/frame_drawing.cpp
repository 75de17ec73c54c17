// How a frame draws: whole on a paint or a request, and afterwards only
// what is dirty, from the editor's idle.

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame/frame.h"

namespace VSTGUI {

std::unique_ptr<CDrawContext> CFrame::createWindowContext()
{
    if (window_ && window_->alive())
        return std::make_unique<CDrawContext>(this, &window_->image(), window_.get());
    return std::make_unique<CDrawContext>(this, nullptr, nullptr);
}

void CFrame::draw(CDrawContext* context)
{
    std::unique_ptr<CDrawContext> own;
    if (!context) {
        own = createWindowContext();
        context = own.get();
    }
    firstDraw_ = false;
    if (background)
        background->draw(context, CRect(0, 0, background->getWidth(), background->getHeight()));
    for (size_t i = 0; i < children_.size(); ++i)
        children_[i]->draw(context);
    if (modalView_)
        modalView_->draw(context);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect)
{
    firstDraw_ = false;
    if (background)
        background->draw(context, updateRect, CPoint(updateRect.left, updateRect.top));
    for (size_t i = 0; i < children_.size(); ++i)
        if (children_[i]->checkUpdate(updateRect))
            children_[i]->drawRect(context, updateRect);
    if (modalView_ && modalView_->checkUpdate(updateRect))
        modalView_->draw(context);
}

void CFrame::draw(CView* view)
{
    std::unique_ptr<CDrawContext> context = createWindowContext();
    if (isChild(view))
        view->draw(context.get());
    else
        draw(context.get());
}

void CFrame::update(CDrawContext* context)
{
    if (!open_)
        return;
    if (modalView_) {
        modalView_->update(context);
    } else if (isDirty()) {
        draw(context);
        setDirty(false);
    } else {
        for (size_t i = 0; i < children_.size(); ++i)
            children_[i]->update(context);
    }
}

void CFrame::idle()
{
    if (!open_ || firstDraw_)
        return;
    bool dirty = modalView_ || isDirty();
    for (size_t i = 0; !dirty && i < children_.size(); ++i)
        dirty = children_[i]->isDirty();
    if (!dirty)
        return;
    std::unique_ptr<CDrawContext> context = createWindowContext();
    update(context.get());
}

} // namespace VSTGUI
