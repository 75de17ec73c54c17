#include "platform/headless/headless_window.h"

#include "platform/graphics/damage_list.h"

#include <algorithm>

namespace platform {

class HeadlessWindow final : public Window {
public:
    HeadlessWindow(HeadlessWindowSystem& system, uintptr_t handle, const WindowOptions& options)
        : system_(system), handle_(handle), rect_(options.rect), visible_(options.visible),
          title_(options.title ? options.title : ""), className_(options.className ? options.className : ""),
          image_(options.rect.width(), options.rect.height()),
          handler_(options.handler), tool_(options.tool && options.kind == WindowOptions::Kind::TopLevel)
    {
        if (options.kind == WindowOptions::Kind::Child)
            parent_ = options.parent->handle();
        else if (options.parent)
            owner_ = options.parent->handle();
        invalid_ = image_.bounds();   // the first paint
        above_ = tool_;
    }

    ~HeadlessWindow() override
    {
        if (alive_)
            system_.destroyTree(*this);
    }

    WindowSystem& system() override { return system_; }
    uintptr_t handle() const override { return handle_; }
    bool alive() const override { return alive_; }
    Window* parent() const override { return system_.lookUp(parent_); }
    bool isTopLevel() const override { return parent_ == 0; }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    Rect rect() const override { return rect_; }

    Point screenOrigin() const override
    {
        Point origin{rect_.left, rect_.top};
        if (Window* p = parent()) {
            const Point above = p->screenOrigin();
            origin.x += above.x;
            origin.y += above.y;
        }
        return origin;
    }

    void setRect(const Rect& rect) override
    {
        if (!alive_ || rect == rect_)
            return;
        const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
        rect_ = rect;
        WindowMessage message;
        message.area = rect;
        if (resized) {
            image_ = Image(rect.width(), rect.height());
            invalid_ = image_.bounds();
            message.kind = MessageKind::Resized;
        } else {
            message.kind = MessageKind::Moved;
        }
        system_.send(*this, message);
    }

    void setParent(Window* parent) override
    {
        if (alive_ && parent != this)
            parent_ = parent ? parent->handle() : 0;
    }

    void show(bool visible) override
    {
        const bool appearing = alive_ && visible && !visible_;
        if (appearing)
            invalid_ = image_.bounds();
        visible_ = visible;
        if (appearing && tool_)
            system_.setFocus(this);
    }

    bool isVisible() const override { return alive_ && visible_; }
    void setTitle(const char* title) override { title_ = title ? title : ""; }
    std::string className() const override { return className_; }
    void setIcon(const Image& icon) override { iconSize_ = {icon.width(), icon.height()}; }
    void setKeepAbove(bool above) override { above_ = above; }
    void raise() override {}

    // The screen's size while maximised, the size before it afterwards.
    void setMaximised(bool maximised) override
    {
        if (!alive_ || parent_ != 0 || maximised == maximised_)
            return;
        if (maximised)
            normalRect_ = rect_;
        maximised_ = maximised;
        minimised_ = false;
        setRect(maximised ? Rect{0, 0, HeadlessWindowSystem::kScreenSize.x, HeadlessWindowSystem::kScreenSize.y}
                          : normalRect_);
        WindowMessage message;
        message.kind = MessageKind::StateChanged;
        message.param = maximised ? 1 : 0;
        message.input = system_.live_;
        system_.enqueue(*this, message);
    }

    bool isMaximised() const override { return maximised_; }
    void beginMove() override
    {
        if (alive_ && parent_ == 0)
            moveStart_ = system_.cursorPosition(), ++moves_;
    }
    void minimise() override { minimised_ = alive_ && parent_ == 0; }
    void setDecorated(bool decorated) override { decorated_ = decorated; }
    Image& image() override { return image_; }

    void invalidate(const Rect& area) override
    {
        if (alive_)
            invalid_ = enclosing(invalid_, intersect(area, image_.bounds()));
    }

    void present(const Rect&) override {}

    void setTimer(uint32_t id, uint32_t periodMs) override
    {
        if (alive_)
            timers_[id] = Timer{periodMs, system_.clock_ + periodMs};
    }

    void killTimer(uint32_t id) override { timers_.erase(id); }

    void post(intptr_t param) override
    {
        WindowMessage message;
        message.kind = MessageKind::User;
        message.param = param;
        message.input = system_.live_;
        system_.enqueue(*this, message);
    }

    void takeFocus() override
    {
        if (alive_)
            system_.setFocus(this);
    }

    bool hasFocus() const override { return system_.focus_ == handle_ && alive_; }
    void setCursor(Cursor cursor) override { cursor_ = cursor; }
    Cursor cursor() const override { return cursor_; }
    void acceptDrops(bool accept) override { drops_ = accept; }

    // Visible up to its top-level window.
    bool showing() const
    {
        if (!isVisible())
            return false;
        const auto* p = static_cast<HeadlessWindow*>(parent());
        return !p || p->showing();
    }

    struct Timer {
        uint32_t period;
        uint32_t due;
    };

    HeadlessWindowSystem& system_;
    const uintptr_t handle_;
    uintptr_t parent_ = 0;
    uintptr_t owner_ = 0;   // a top-level window's: the one it stays above
    Rect rect_;
    bool visible_;
    std::string title_;
    std::string className_;
    Point iconSize_;
    bool above_ = false;
    bool maximised_ = false;
    bool minimised_ = false;
    bool decorated_ = true;
    int moves_ = 0;
    Point moveStart_;
    Rect normalRect_;
    Image image_;
    Rect invalid_;
    std::map<uint32_t, Timer> timers_;
    Cursor cursor_ = Cursor::Arrow;
    bool drops_ = false;
    WindowHandler* handler_;
    const bool tool_;
    bool alive_ = true;
};

HeadlessWindowSystem::HeadlessWindowSystem() = default;

HeadlessWindowSystem::~HeadlessWindowSystem() = default;

std::unique_ptr<Window> HeadlessWindowSystem::createWindow(const WindowOptions& options)
{
    if (options.kind == WindowOptions::Kind::Child && (!options.parent || !options.parent->alive()))
        return nullptr;
    if (options.parent && &options.parent->system() != this)
        return nullptr;
    auto window = std::make_unique<HeadlessWindow>(*this, nextHandle_++, options);
    windows_[window->handle()] = window.get();
    if (window->tool_ && window->visible_)
        setFocus(window.get());
    return window;
}

Window* HeadlessWindowSystem::findWindow(uintptr_t handle)
{
    return lookUp(handle);
}

HeadlessWindow* HeadlessWindowSystem::lookUp(uintptr_t handle) const
{
    auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : found->second;
}

InputState HeadlessWindowSystem::inputState()
{
    return handling_.empty() ? live_ : *handling_.back();
}

Window* HeadlessWindowSystem::focusWindow() const
{
    return lookUp(focus_);
}

void HeadlessWindowSystem::setFocus(HeadlessWindow* window)
{
    const uintptr_t next = window ? window->handle() : 0;
    if (next == focus_)
        return;
    HeadlessWindow* previous = lookUp(focus_);
    focus_ = next;
    WindowMessage message;
    if (previous) {
        message.kind = MessageKind::FocusOut;
        send(*previous, message);
    }
    if (HeadlessWindow* now = lookUp(next)) {
        message.kind = MessageKind::FocusIn;
        send(*now, message);
    }
}

void HeadlessWindowSystem::destroyTree(HeadlessWindow& window)
{
    window.alive_ = false;
    windows_.erase(window.handle());
    if (focus_ == window.handle())
        focus_ = 0;
    std::erase_if(hotKeys_, [&](const auto& entry) { return entry.second.target == window.handle(); });
    WindowMessage message;
    message.kind = MessageKind::Destroy;
    message.input = live_;
    if (window.handler_)
        window.handler_->handleMessage(window, message);
    std::vector<HeadlessWindow*> children;
    for (auto& [handle, other] : windows_)
        if (other->parent_ == window.handle())
            children.push_back(other);
    for (HeadlessWindow* child : children)
        if (child->alive_)
            destroyTree(*child);
}

void HeadlessWindowSystem::send(HeadlessWindow& window, WindowMessage& message)
{
    message.input = inputState();
    dispatch(window, message);
}

void HeadlessWindowSystem::enqueue(Window& window, const WindowMessage& message)
{
    queue_.push_back({window.handle(), message});
}

void HeadlessWindowSystem::dispatch(HeadlessWindow& window, WindowMessage& message)
{
    const bool isKey = message.kind == MessageKind::KeyDown || message.kind == MessageKind::KeyUp;
    handling_.push_back(&message.input);
    bool handled = isKey && keyFilter_ && keyFilter_->filterKey(window, message);
    const uintptr_t parentHandle = window.parent_;
    if (!handled && window.alive_ && window.handler_)
        handled = window.handler_->handleMessage(window, message);
    handling_.pop_back();
    // The default processing hands a wheel to the parent, as Windows does.
    if (!handled && message.kind == MessageKind::Wheel)
        if (HeadlessWindow* parent = lookUp(parentHandle))
            dispatch(*parent, message);
}

void HeadlessWindowSystem::pump()
{
    for (size_t n = queue_.size(); n > 0 && !queue_.empty(); --n) {
        Queued next = queue_.front();
        queue_.pop_front();
        HeadlessWindow* pressed = next.message.kind == MessageKind::ButtonDown ? lookUp(next.window) : nullptr;
        if (pressed)
            setFocus(pressed);
        if (HeadlessWindow* window = lookUp(next.window == kFocusWindow ? focus_ : next.window))
            dispatch(*window, next.message);
    }
    paintPending();
    fireTimers();
}

void HeadlessWindowSystem::paintPending()
{
    std::vector<uintptr_t> handles;
    for (auto& [handle, window] : windows_)
        handles.push_back(handle);
    for (uintptr_t handle : handles) {
        HeadlessWindow* window = lookUp(handle);
        if (!window || window->invalid_.empty() || !window->showing())
            continue;
        WindowMessage message;
        message.kind = MessageKind::Paint;
        message.area = window->invalid_;
        window->invalid_ = Rect{};
        send(*window, message);
    }
}

void HeadlessWindowSystem::fireTimers()
{
    std::vector<std::pair<uintptr_t, uint32_t>> due;
    for (auto& [handle, window] : windows_)
        for (auto& [id, timer] : window->timers_)
            if (static_cast<int32_t>(clock_ - timer.due) >= 0)
                due.emplace_back(handle, id);
    for (auto [handle, id] : due) {
        HeadlessWindow* window = lookUp(handle);
        if (!window)
            continue;
        auto timer = window->timers_.find(id);
        if (timer == window->timers_.end())
            continue;
        timer->second.due = clock_ + timer->second.period;
        WindowMessage message;
        message.kind = MessageKind::Timer;
        message.timerId = id;
        send(*window, message);
    }
}

bool HeadlessWindowSystem::timerRunning(const Window& window, uint32_t id) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->timers_.count(id) != 0;
}

bool HeadlessWindowSystem::acceptsDrops(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->drops_;
}

Window* HeadlessWindowSystem::owner(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w ? lookUp(w->owner_) : nullptr;
}

bool HeadlessWindowSystem::keptAbove(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->above_;
}

bool HeadlessWindowSystem::isTool(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->tool_;
}

std::string HeadlessWindowSystem::title(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w ? w->title_ : std::string();
}

int HeadlessWindowSystem::movesBegun(const Window& window, Point* pointer) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    if (w && pointer)
        *pointer = w->moveStart_;
    return w ? w->moves_ : 0;
}

bool HeadlessWindowSystem::minimised(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->minimised_;
}

bool HeadlessWindowSystem::decorated(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w && w->decorated_;
}

std::vector<Window*> HeadlessWindowSystem::children(Window& parent)
{
    // Made later is higher in the stacking order, as handles grow.
    std::vector<Window*> inside;
    for (auto& [handle, window] : windows_)
        if (window->parent_ == parent.handle())
            inside.push_back(window);
    return inside;
}

bool HeadlessWindowSystem::forwardKey(Window& target, const WindowMessage& key)
{
    if (!target.alive() || (key.kind != MessageKind::KeyDown && key.kind != MessageKind::KeyUp))
        return false;
    WindowMessage sent = key;
    sent.key.sent = true;
    enqueue(target, sent);
    return true;
}

Point HeadlessWindowSystem::iconSize(const Window& window) const
{
    const HeadlessWindow* w = lookUp(window.handle());
    return w ? w->iconSize_ : Point{};
}

} // namespace platform
