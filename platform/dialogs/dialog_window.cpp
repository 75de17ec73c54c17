#include "platform/dialogs/dialog_window.h"

#include "platform/graphics/canvas.h"
#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"

#include <algorithm>
#include <time.h>

namespace platform {

namespace {

constexpr Colour kFace = rgb(212, 208, 200);
constexpr Colour kLight = rgb(255, 255, 255);
constexpr Colour kDark = rgb(128, 128, 128);
constexpr Colour kInk = rgb(0, 0, 0);
constexpr Colour kHighlight = rgb(10, 36, 106);
constexpr int32_t kRowHeight = 16;
constexpr long kPassNanoseconds = 10'000'000;

void frame(Canvas& canvas, const Rect& r, Colour topLeft, Colour bottomRight)
{
    canvas.fillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
    canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
    canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

Rect inset(const Rect& r, int32_t by)
{
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

Window* topLevelOf(Window* window)
{
    while (window && !window->isTopLevel())
        window = window->parent();
    return window;
}

} // namespace

DialogWindow::DialogWindow(WindowSystem& system, Window* owner, std::string title, int32_t width, int32_t height)
    : system_(system), owner_(owner), title_(std::move(title)), width_(width), height_(height)
{
    FontRequest request;
    request.face = "Arial";
    request.height = -12;
    font_ = FontCatalog::process().open(request);
}

DialogWindow::~DialogWindow() = default;

size_t DialogWindow::add(Widget widget)
{
    widgets_.push_back(std::move(widget));
    return widgets_.size() - 1;
}

size_t DialogWindow::addLabel(const Rect& rect, std::string text)
{
    return add({Kind::Label, rect, std::move(text)});
}

size_t DialogWindow::addEntry(const Rect& rect, std::string text)
{
    Widget entry{Kind::Entry, rect, std::move(text)};
    entry.caret = entry.text.size();
    return add(std::move(entry));
}

size_t DialogWindow::addList(const Rect& rect, std::vector<std::string> rows, int32_t selected)
{
    Widget list{Kind::List, rect, {}};
    list.rows = std::move(rows);
    const size_t index = add(std::move(list));
    select(index, selected);
    return index;
}

size_t DialogWindow::addToggle(const Rect& rect, std::string text, bool on)
{
    Widget toggle{Kind::Toggle, rect, std::move(text)};
    toggle.on = on;
    return add(std::move(toggle));
}

size_t DialogWindow::addButton(const Rect& rect, std::string text, int32_t result)
{
    Widget button{Kind::Button, rect, std::move(text)};
    button.result = result;
    return add(std::move(button));
}

void DialogWindow::setText(size_t widget, std::string text)
{
    widgets_[widget].text = std::move(text);
    widgets_[widget].caret = widgets_[widget].text.size();
    if (window_)
        window_->invalidate(window_->image().bounds());
}

void DialogWindow::focus(size_t widget)
{
    if (widget < widgets_.size() && focusable(widgets_[widget]))
        focus_ = widget;
}

bool DialogWindow::open()
{
    if (focus_ >= widgets_.size() || !focusable(widgets_[focus_]))
        moveFocus(1);
    Point at{200, 150};
    if (Window* top = topLevelOf(owner_)) {
        const Rect r = top->rect();
        at = {r.left + (r.width() - width_) / 2, r.top + (r.height() - height_) / 3};
    }
    WindowOptions options;
    options.kind = WindowOptions::Kind::TopLevel;
    options.parent = topLevelOf(owner_);
    options.rect = rectOfSize(std::max(at.x, 0), std::max(at.y, 0), width_, height_);
    options.title = title_.c_str();
    options.className = "QuorbelDialog";
    options.handler = this;
    window_ = system_.createWindow(options);
    if (!window_)
        return false;
    window_->setKeepAbove(true);
    window_->takeFocus();
    window_->invalidate(window_->image().bounds());
    return true;
}

int32_t DialogWindow::run()
{
    if (!open())
        return kCancelled;
    const timespec pass{0, kPassNanoseconds};
    while (result_ == kRunning && window_->alive()) {
        system_.pumpModal(window_.get());
        if (result_ == kRunning)
            nanosleep(&pass, nullptr);
    }
    if (result_ == kRunning)
        result_ = kCancelled;
    window_.reset();
    return result_;
}

bool DialogWindow::handleMessage(Window& /*window*/, WindowMessage& message)
{
    switch (message.kind) {
    case MessageKind::Paint:
        paint();
        return true;
    case MessageKind::KeyDown:
        onKey(message.key, message.input);
        return true;
    case MessageKind::ButtonDown:
        if (message.button == kLeftButton)
            onClick(message.point);
        return true;
    case MessageKind::Close:
    case MessageKind::Destroy:
        if (result_ == kRunning)
            result_ = kCancelled;
        return true;
    default:
        return false;
    }
}

void DialogWindow::press(int32_t result)
{
    if (result_ != kRunning)
        return;
    if (result != kCancelled && accept_ && !accept_(result))
        return;
    result_ = result;
}

void DialogWindow::moveFocus(int step)
{
    const size_t count = widgets_.size();
    for (size_t tried = 0; tried < count; ++tried) {
        focus_ = (focus_ + (step > 0 ? 1 : count - 1)) % count;
        if (focusable(widgets_[focus_]))
            return;
    }
}

int32_t DialogWindow::visibleRows(const Widget& widget) const
{
    return std::max(1, (widget.rect.height() - 4) / kRowHeight);
}

void DialogWindow::select(size_t index, int32_t row)
{
    Widget& list = widgets_[index];
    const int32_t count = static_cast<int32_t>(list.rows.size());
    if (count == 0) {
        list.selected = -1;
        return;
    }
    list.selected = std::clamp(row, 0, count - 1);
    const int32_t rows = visibleRows(list);
    if (list.selected < list.firstRow)
        list.firstRow = list.selected;
    else if (list.selected >= list.firstRow + rows)
        list.firstRow = list.selected - rows + 1;
}

void DialogWindow::changed(size_t index)
{
    if (changed_)
        changed_(index);
}

void DialogWindow::onKey(const KeyMessage& key, const InputState& input)
{
    if (result_ != kRunning || widgets_.empty())
        return;
    const bool shift = (input.bits & kShiftHeld) != 0;
    switch (key.windowsKey) {
    case kWinEscape:
        press(kCancelled);
        break;
    case kWinTab:
        moveFocus(shift ? -1 : 1);
        break;
    case kWinReturn:
        if (widgets_[focus_].kind == Kind::Button) {
            press(widgets_[focus_].result);
        } else {
            for (const Widget& w : widgets_)
                if (w.kind == Kind::Button) {
                    press(w.result);
                    break;
                }
        }
        break;
    default: {
        Widget& w = widgets_[focus_];
        if (w.kind == Kind::Entry) {
            switch (key.windowsKey) {
            case kWinLeft: w.caret = w.caret > 0 ? w.caret - 1 : 0; break;
            case kWinRight: w.caret = std::min(w.caret + 1, w.text.size()); break;
            case kWinHome: w.caret = 0; break;
            case kWinEnd: w.caret = w.text.size(); break;
            case kWinBack:
                if (w.caret > 0)
                    w.text.erase(--w.caret, 1);
                changed(focus_);
                break;
            case kWinDelete:
                if (w.caret < w.text.size())
                    w.text.erase(w.caret, 1);
                changed(focus_);
                break;
            default:
                if (key.printable >= 0x20 && key.printable != 0x7F && !(input.bits & kControlHeld)) {
                    w.text.insert(w.caret++, 1, static_cast<char>(key.printable));
                    changed(focus_);
                }
            }
        } else if (w.kind == Kind::List) {
            const int32_t page = visibleRows(w);
            int32_t row = w.selected;
            switch (key.windowsKey) {
            case kWinUp: --row; break;
            case kWinDown: ++row; break;
            case kWinPrior: row -= page; break;
            case kWinNext: row += page; break;
            case kWinHome: row = 0; break;
            case kWinEnd: row = static_cast<int32_t>(w.rows.size()) - 1; break;
            default: return;
            }
            select(focus_, row);
            changed(focus_);
        } else if (key.windowsKey == kWinSpace) {
            if (w.kind == Kind::Toggle) {
                w.on = !w.on;
                changed(focus_);
            } else if (w.kind == Kind::Button) {
                press(w.result);
            }
        }
    }
    }
    if (window_)
        window_->invalidate(window_->image().bounds());
}

void DialogWindow::onClick(Point point)
{
    for (size_t i = 0; i < widgets_.size(); ++i) {
        Widget& w = widgets_[i];
        if (!focusable(w) || !w.rect.contains(point))
            continue;
        focus_ = i;
        switch (w.kind) {
        case Kind::Entry:
            w.caret = w.text.size();
            for (size_t c = 0; c < w.text.size(); ++c)
                if (w.rect.left + 4 + font_->measure(std::string_view(w.text).substr(0, c + 1)) > point.x) {
                    w.caret = c;
                    break;
                }
            break;
        case Kind::List:
            select(i, w.firstRow + (point.y - w.rect.top - 2) / kRowHeight);
            changed(i);
            break;
        case Kind::Toggle:
            w.on = !w.on;
            changed(i);
            break;
        case Kind::Button:
            press(w.result);
            break;
        case Kind::Label:
            break;
        }
        break;
    }
    if (window_)
        window_->invalidate(window_->image().bounds());
}

void DialogWindow::paint()
{
    if (!window_)
        return;
    Canvas canvas(window_->image());
    canvas.fillRect(window_->image().bounds(), kFace);
    for (size_t i = 0; i < widgets_.size(); ++i)
        drawWidget(canvas, widgets_[i], i == focus_);
}

void DialogWindow::drawWidget(Canvas& canvas, const Widget& w, bool focused) const
{
    TextPaint ink;
    ink.colour = kInk;
    const Rect& r = w.rect;
    switch (w.kind) {
    case Kind::Label:
        drawTextInRect(canvas, *font_, w.text, r, TextAlign::left, ink);
        break;
    case Kind::Entry: {
        canvas.fillRect(r, kLight);
        frame(canvas, r, kDark, kFace);
        canvas.setClip(inset(r, 2));
        // The text scrolls so that the caret stays in view.
        const int32_t caretX = font_->measure(std::string_view(w.text).substr(0, w.caret));
        const int32_t shift = std::max(0, caretX - (r.width() - 8));
        drawTextInRect(canvas, *font_, w.text, {r.left + 4 - shift, r.top, r.right + 4096, r.bottom}, TextAlign::left,
                       ink);
        if (focused)
            canvas.fillRect({r.left + 4 - shift + caretX, r.top + 3, r.left + 5 - shift + caretX, r.bottom - 3}, kInk);
        canvas.resetClip();
        break;
    }
    case Kind::List: {
        canvas.fillRect(r, kLight);
        frame(canvas, r, kDark, focused ? kInk : kFace);
        canvas.setClip(inset(r, 2));
        const int32_t rows = visibleRows(w);
        for (int32_t n = 0; n < rows && w.firstRow + n < static_cast<int32_t>(w.rows.size()); ++n) {
            const int32_t row = w.firstRow + n;
            const Rect line{r.left + 2, r.top + 2 + n * kRowHeight, r.right - 2, r.top + 2 + (n + 1) * kRowHeight};
            TextPaint paint = ink;
            if (row == w.selected) {
                canvas.fillRect(line, kHighlight);
                paint.colour = kLight;
            }
            drawTextInRect(canvas, *font_, w.rows[static_cast<size_t>(row)], {line.left + 2, line.top, line.right, line.bottom},
                           TextAlign::left, paint);
        }
        canvas.resetClip();
        break;
    }
    case Kind::Toggle: {
        const Rect box = rectOfSize(r.left, r.top + (r.height() - 13) / 2, 13, 13);
        canvas.fillRect(box, kLight);
        frame(canvas, box, kDark, focused ? kInk : kFace);
        if (w.on)
            canvas.fillRect(inset(box, 3), kInk);
        drawTextInRect(canvas, *font_, w.text, {box.right + 5, r.top, r.right, r.bottom}, TextAlign::left, ink);
        break;
    }
    case Kind::Button:
        frame(canvas, r, kLight, focused ? kInk : kDark);
        drawTextInRect(canvas, *font_, w.text, r, TextAlign::centre, ink);
        break;
    }
}

} // namespace platform
