// The headless system's modal pass and its drags: what a display's dialog
// loop and drop source do, driven by tests.

#include "platform/headless/headless_window.h"

namespace platform {

namespace {

bool isInput(MessageKind kind)
{
    switch (kind) {
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
    case MessageKind::MouseMove:
    case MessageKind::ButtonDown:
    case MessageKind::ButtonUp:
    case MessageKind::Wheel:
    case MessageKind::HotKey:
        return true;
    default:
        return false;
    }
}

bool within(const Window* window, const Window* modal)
{
    for (; window && modal; window = window->parent())
        if (window == modal)
            return true;
    return false;
}

} // namespace

void HeadlessWindowSystem::pumpModal(Window* modal)
{
    for (size_t n = queue_.size(); n > 0 && !queue_.empty(); --n) {
        Queued next = queue_.front();
        queue_.pop_front();
        const uintptr_t handle = next.window == kFocusWindow ? focus_ : next.window;
        HeadlessWindow* window = lookUp(handle);
        if (!window)
            continue;
        if (isInput(next.message.kind) && !within(findWindow(handle), modal))
            continue;
        if (next.message.kind == MessageKind::ButtonDown)
            setFocus(window);
        dispatch(*window, next.message);
    }
    paintPending();
    fireTimers();
    if (modal && modalUser_) {
        // A copy: the user may replace itself.
        const std::function<void(Window&)> user = modalUser_;
        user(*modal);
    }
}

DropEffect HeadlessWindowSystem::dragOver(Window& window, Point client, const DragMessage& offer, uint32_t inputBits)
{
    HeadlessWindow* target = lookUp(window.handle());
    if (!target || !acceptsDrops(window))
        return DropEffect::None;
    const Point origin = window.screenOrigin();
    cursor_ = {origin.x + client.x, origin.y + client.y};
    DragMessage drag = offer;
    drag.files.clear();
    drag.text.clear();
    for (MessageKind kind : {MessageKind::DragEnter, MessageKind::DragOver}) {
        WindowMessage message;
        message.kind = kind;
        message.point = client;
        message.input.bits = inputBits;
        message.drag = &drag;
        drag.effect = DropEffect::None;
        dispatch(*target, message);
        if (!lookUp(window.handle()))
            return DropEffect::None;
    }
    return drag.effect;
}

DropEffect HeadlessWindowSystem::drop(Window& window, Point client, const DragMessage& data, uint32_t inputBits)
{
    HeadlessWindow* target = lookUp(window.handle());
    if (!target || !acceptsDrops(window))
        return DropEffect::None;
    const Point origin = window.screenOrigin();
    cursor_ = {origin.x + client.x, origin.y + client.y};
    DragMessage drag = data;
    drag.effect = DropEffect::None;
    WindowMessage message;
    message.kind = MessageKind::Drop;
    message.point = client;
    message.input.bits = inputBits;
    message.drag = &drag;
    dispatch(*target, message);
    return drag.effect;
}

void HeadlessWindowSystem::dragLeave(Window& window)
{
    HeadlessWindow* target = lookUp(window.handle());
    if (!target || !acceptsDrops(window))
        return;
    DragMessage drag;
    WindowMessage message;
    message.kind = MessageKind::DragLeave;
    message.drag = &drag;
    dispatch(*target, message);
}

} // namespace platform
