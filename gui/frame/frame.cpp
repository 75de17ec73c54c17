#include "gui/frame/frame.h"

#include "gui/clipboard.h"
#include "gui/draw_context.h"
#include "gui/frame/drop_target.h"

#include <algorithm>
#include <new>

namespace VSTGUI {

CFrame::CFrame(const CRect& size, platform::Window* systemWindow, TesselFrameLink* editor)
    : CView(size), editor_(editor)
{
    // The base version, also for subclasses: every frame gets its window here.
    CFrame::initFrame(systemWindow);
}

CFrame::~CFrame()
{
    setDropActive(false);
    removeAll(true);
    if (window_)
        tessel_clipboard::removeSource(&window_->system());
    window_.reset();
}

bool CFrame::initFrame(platform::Window* systemWindow)
{
    systemWindow_ = systemWindow;
    if (!systemWindow)
        return false;
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::Child;
    options.parent = systemWindow;
    options.rect = {0, 0, size.width(), size.height()};
    options.title = "Window";
    options.handler = this;
    window_ = systemWindow->system().createWindow(options);
    if (!window_)
        return false;
    tessel_clipboard::addSource(&window_->system());
    setDropActive(true);
    return true;
}

platform::WindowSystem* CFrame::getWindowSystem() const
{
    if (window_)
        return &window_->system();
    return systemWindow_ ? &systemWindow_->system() : nullptr;
}

int32_t CFrame::getMouseButtons() const
{
    platform::WindowSystem* system = getWindowSystem();
    return system ? static_cast<int32_t>(system->inputState().bits & 63u) : 0;
}

bool CFrame::addView(CView* view)
{
    if (!view)
        return false;
    try {
        if (children_.size() == children_.capacity())
            children_.reserve(children_.capacity() + 20);
        children_.push_back(view);
    } catch (const std::bad_alloc&) {
        return false;
    }
    view->setFrame(this);
    view->attached(this);
    return true;
}

bool CFrame::removeView(CView* view, bool withForget)
{
    auto found = std::find(children_.begin(), children_.end(), view);
    if (found == children_.end())
        return false;
    children_.erase(found);
    view->removed(this);
    if (withForget)
        view->forget();
    return true;
}

bool CFrame::removeAll(bool withForget)
{
    if (CView* edit = editView_) {
        editView_ = nullptr;
        edit->looseFocus();
    }
    std::vector<CView*> leaving;
    leaving.swap(children_);
    for (CView* view : leaving) {
        view->removed(this);
        if (withForget)
            view->forget();
    }
    return true;
}

bool CFrame::isChild(CView* view) const
{
    return view && std::find(children_.begin(), children_.end(), view) != children_.end();
}

CView* CFrame::getView(int32_t index) const
{
    return index >= 0 && index < getNbViews() ? children_[static_cast<size_t>(index)] : nullptr;
}

bool CFrame::setModalView(CView* view)
{
    if (view && modalView_ && view != modalView_)
        return false;
    modalView_ = view;
    if (view)
        view->setFrame(this);
    return true;
}

void CFrame::setEditView(CView* view)
{
    CView* previous = editView_;
    editView_ = view;
    if (previous && previous != view)
        previous->looseFocus();
}

bool CFrame::setDropActive(bool active)
{
    if (!dropActive_ && !active)
        return true;
    if (!window_)
        return false;
    window_->acceptDrops(active);
    dropActive_ = active;
    if (!active)
        dropTarget_.reset();
    else if (!dropTarget_)
        dropTarget_ = std::make_unique<UDropTarget>(this);
    return true;
}

uint32_t CFrame::getTicks() const
{
    platform::WindowSystem* system = getWindowSystem();
    return editor_ && system ? system->ticks() : 0;
}

CView* CFrame::getViewAt(const CPoint& where) const
{
    for (auto view = children_.rbegin(); view != children_.rend(); ++view) {
        CRect area;
        if (where.isInside((*view)->getMouseableArea(area)))
            return *view;
    }
    return nullptr;
}

bool CFrame::getCurrentLocation(CPoint& where) const
{
    platform::WindowSystem* system = getWindowSystem();
    const platform::Point cursor = system ? system->cursorPosition() : platform::Point{};
    const platform::Point origin = window_ ? window_->screenOrigin() : platform::Point{};
    where = CPoint(cursor.x - origin.x, cursor.y - origin.y);
    return true;
}

void CFrame::mouse(CDrawContext* context, CPoint& where, int32_t buttons)
{
    // A click anywhere ends an open menu's focus.
    if (CView* edit = editView_) {
        editView_ = nullptr;
        edit->looseFocus(context);
    }
    if (buttons == -1)
        buttons = context ? context->getMouseButtons() : getMouseButtons();
    if (modalView_) {
        if (modalView_->hitTest(where, buttons))
            modalView_->mouse(context, where, buttons);
        return;
    }
    for (int32_t i = below(getNbViews()); i >= 0; i = below(i)) {
        CView* view = children_[static_cast<size_t>(i)];
        if (view->getMouseEnabled() && view->hitTest(where, buttons)) {
            view->mouse(context, where, buttons);
            return;
        }
    }
}

int32_t CFrame::below(int32_t index) const
{
    return std::min(index, getNbViews()) - 1;
}

int32_t CFrame::routeKey(VstKeyCode& key, int32_t (CView::*slot)(VstKeyCode&))
{
    int32_t result = editView_ ? (editView_->*slot)(key) : -1;
    if (result == -1 && modalView_)
        result = (modalView_->*slot)(key);
    for (int32_t i = below(getNbViews()); result == -1 && i >= 0; i = below(i))
        result = (children_[static_cast<size_t>(i)]->*slot)(key);
    return result;
}

int32_t CFrame::onKeyDown(VstKeyCode& key)
{
    return routeKey(key, &CView::onKeyDown);
}

int32_t CFrame::onKeyUp(VstKeyCode& key)
{
    return routeKey(key, &CView::onKeyUp);
}

bool CFrame::onDrop(void** items, int32_t count, int32_t type, CPoint& where)
{
    if (modalView_ || editView_)
        return false;
    for (int32_t i = below(getNbViews()); i >= 0; i = below(i)) {
        CView* view = children_[static_cast<size_t>(i)];
        CRect viewSize;
        if (view->getMouseEnabled() && where.isInside(view->getViewSize(viewSize))
            && view->onDrop(items, count, type, where))
            return true;
    }
    return false;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance)
{
    CView* view = modalView_ ? modalView_ : getViewAt(where);
    if (!view)
        return false;
    std::unique_ptr<CDrawContext> own;
    if (!context) {
        own = createWindowContext();
        context = own.get();
    }
    return view->onWheel(context, where, distance);
}

} // namespace VSTGUI
