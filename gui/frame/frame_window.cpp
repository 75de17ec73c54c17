// The frame's window procedure: window messages become view calls, key
// messages the editor's key events.

#include "gui/draw_context.h"
#include "gui/frame/drop_target.h"
#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"

namespace VSTGUI {

namespace {

// One notch of 120 is 1.0.
constexpr float kWheelStep = 0.008333334f;

} // namespace

bool CFrame::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    using platform::MessageKind;
    // A fault in a view ends this message, not the host.
    try {
        switch (message.kind) {
        case MessageKind::Destroy:
            open_ = false;
            systemWindow_ = nullptr;
            return false;
        case MessageKind::Paint: {
            CDrawContext context(this, &window.image(), &window);
            const CRect area(message.area);
            context.limitTo(area);
            drawRect(&context, area);
            return true;
        }
        case MessageKind::KeyDown:
        case MessageKind::KeyUp:
            handleKey(message);
            return true;
        case MessageKind::MouseMove:
        case MessageKind::ButtonDown:
        case MessageKind::ButtonUp: {
            CDrawContext context(this, &window.image(), &window);
            CPoint where(message.point);
            mouse(&context, where, -1);
            return true;
        }
        case MessageKind::Wheel: {
            CDrawContext context(this, &window.image(), &window);
            const platform::Point origin = window.screenOrigin();
            const CPoint where(message.point.x - origin.x, message.point.y - origin.y);
            onWheel(&context, where, static_cast<float>(message.wheelDelta) * kWheelStep);
            return false;   // the default processing hands it to the parent window
        }
        case MessageKind::MeasureItem:
        case MessageKind::DrawItem:
            if (message.item)
                handleOwnerDraw(window, *message.item, message.kind == MessageKind::DrawItem);
            return true;
        case MessageKind::DragEnter:
        case MessageKind::DragOver:
        case MessageKind::DragLeave:
        case MessageKind::Drop:
            handleDrag(message);
            return true;
        default:
            return false;
        }
    } catch (...) {
        return true;
    }
}

void CFrame::handleDrag(platform::WindowMessage& message)
{
    using platform::MessageKind;
    if (!dropTarget_ || !message.drag)
        return;
    platform::DragMessage& drag = *message.drag;
    switch (message.kind) {
    case MessageKind::DragEnter: drag.effect = dropTarget_->dragEnter(drag, message.input.bits); break;
    case MessageKind::DragOver: drag.effect = dropTarget_->dragOver(message.input.bits); break;
    case MessageKind::DragLeave: dropTarget_->dragLeave(); break;
    default:
        drag.effect = dropTarget_->dragEnter(drag, message.input.bits);
        dropTarget_->drop(drag, message.input.bits);
    }
}

void CFrame::handleKey(const platform::WindowMessage& message)
{
    if (!editor_ || editor_->manualKeyMode() || message.key.repeatCount != 1)
        return;
    const TesselKeyEvent key = platform::keyEventFor(message.key, message.input.keyboard());
    if (key.virtualKey == 0 && key.character == 0)
        return;
    if (key.keyUp)
        editor_->handleKeyUp(key);
    else
        editor_->handleKeyDown(key);
}

void CFrame::handleOwnerDraw(platform::Window& window, platform::MenuItemMessage& item, bool drawing)
{
    COwnerDraw* handler = editView_ ? editView_->getOwnerDraw() : nullptr;
    if (!handler || item.itemData == 0)
        return;
    if (!drawing) {
        CDrawContext context(this, &window.image(), &window);
        handler->measure(item.itemData, &context, item.width, item.height);
        return;
    }
    if (!item.image)
        return;
    CDrawContext context(nullptr, item.image, nullptr);
    context.setClipRect(CRect(item.image->bounds()));
    CRect rect(item.rect);
    rect.bottom += 1;
    handler->draw(item.itemData, item.id, item.state, &context, rect);
}

} // namespace VSTGUI
