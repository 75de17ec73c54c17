// The view's part of the window's messages: painting, the mouse over the
// page and its scroll bar, the wheel, and following a clicked link.

#include "common/web_view.h"

#include "common/help_address.h"
#include "common/help_pages.h"
#include "common/web_container.h"
#include "platform/graphics/canvas.h"
#include "platform/posted_message.h"
#include "platform/system/helper_process.h"

#include <algorithm>

namespace web {

namespace {

using platform::MessageKind;
using platform::Point;
using platform::Rect;

constexpr int32_t kMinimumThumb = 20;
constexpr int32_t kWheelStep = 48;   // three lines of text a notch
constexpr platform::Colour kPaper = platform::rgb(255, 255, 255);
constexpr platform::Colour kTrack = platform::rgb(232, 234, 238);
constexpr platform::Colour kThumb = platform::rgb(160, 166, 176);

} // namespace

bool WebView::handleMessage(platform::WindowMessage& message)
{
    switch (message.kind) {
    case MessageKind::Paint:
        paint(message.area);
        return false;
    case MessageKind::User:
        if (platform::postedMessage(message.param) != kPageCompleteNotice)
            return false;
        loading_ = false;
        return true;
    case MessageKind::Wheel: {
        const Point origin = window_.screenOrigin();
        if (!area_.contains({message.point.x - origin.x, message.point.y - origin.y}))
            return false;
        scrollBy(-message.wheelDelta * kWheelStep / 120);
        return true;
    }
    case MessageKind::MouseMove:
    case MessageKind::ButtonDown:
    case MessageKind::ButtonUp:
        return onMouse(message);
    default:
        return false;
    }
}

bool WebView::onMouse(const platform::WindowMessage& message)
{
    const Point at = message.point;
    const bool inside = area_.contains(at);
    litehtml::position::vector redraw;
    if (!inside) {
        if (pointerInside_ && document_) {
            document_->on_mouse_leave(redraw);
            window_.setCursor(platform::Cursor::Arrow);
        }
        pointerInside_ = false;
        if (!redraw.empty())
            invalidate();
        return false;
    }
    pointerInside_ = true;
    if (!document_)
        return true;
    const int32_t x = at.x - area_.left;
    const int32_t y = at.y - area_.top;
    if (scrolls() && scrollBar().contains(at)) {
        window_.setCursor(platform::Cursor::Arrow);
        if (message.kind == MessageKind::ButtonDown && message.button == platform::kLeftButton) {
            const Rect thumb = scrollThumb();
            if (at.y < thumb.top)
                scrollBy(-area_.height());
            else if (at.y >= thumb.bottom)
                scrollBy(area_.height());
        }
        return true;
    }
    if (message.kind == MessageKind::MouseMove) {
        document_->on_mouse_over(x, y + scrollY_, x, y, redraw);
        window_.setCursor(container_->cursor());
    } else if (message.button == platform::kLeftButton) {
        if (message.kind == MessageKind::ButtonDown)
            document_->on_lbutton_down(x, y + scrollY_, x, y, redraw);
        else
            document_->on_lbutton_up(x, y + scrollY_, x, y, redraw);
    }
    if (!redraw.empty())
        invalidate();
    followClickedLink();
    return true;
}

void WebView::followClickedLink()
{
    const std::optional<std::string> href = container_->takeClickedLink();
    if (!href)
        return;
    const help::Link link = help::resolveLink(page_, *href);
    switch (link.kind) {
    case help::LinkKind::app:
    case help::LinkKind::web:
        follow(*href, true);
        break;
    case help::LinkKind::page:
        if (archivePath_.empty())
            break;
        if (help::samePage(link.page, page_) && !link.fragment.empty()) {
            scrollToFragment(link.fragment);
            break;
        }
        follow(help::formatAddress(archivePath_, link.page) + (link.fragment.empty() ? "" : "#" + link.fragment),
               true);
        break;
    case help::LinkKind::none:
        break;
    }
}

Rect WebView::scrollBar() const
{
    return {area_.right - kScrollBarWidth, area_.top, area_.right, area_.bottom};
}

Rect WebView::scrollThumb() const
{
    const Rect bar = scrollBar();
    const int64_t whole = std::max(documentHeight(), 1);
    const int32_t length = std::clamp(int32_t(int64_t(bar.height()) * bar.height() / whole), kMinimumThumb,
                                      std::max(bar.height(), kMinimumThumb));
    const int32_t travel = std::max(bar.height() - length, 0);
    const int32_t hidden = std::max(documentHeight() - area_.height(), 1);
    const int32_t top = bar.top + int32_t(int64_t(travel) * scrollY_ / hidden);
    return {bar.left + 2, top, bar.right - 2, top + length};
}

void WebView::paint(const Rect& damaged)
{
    platform::Image& image = window_.image();
    const Rect clip = intersect(intersect(damaged, area_), image.bounds());
    if (clip.empty())
        return;
    platform::Canvas canvas(image);
    canvas.setClip(clip);
    canvas.fillRect(area_, kPaper);
    if (document_) {
        DrawTarget target;
        target.image = &image;
        target.clip = scrolls() ? intersect(clip, {area_.left, area_.top, area_.right - kScrollBarWidth, area_.bottom})
                                : clip;
        const litehtml::position box(target.clip.left, target.clip.top, target.clip.width(), target.clip.height());
        container_->setDrawTarget(&target);
        if (!target.clip.empty())
            document_->draw(reinterpret_cast<litehtml::uint_ptr>(&target), area_.left, area_.top - scrollY_, &box);
        container_->setDrawTarget(nullptr);
    }
    if (scrolls()) {
        canvas.fillRect(scrollBar(), kTrack);
        canvas.fillRect(scrollThumb(), kThumb);
    }
}

} // namespace web
