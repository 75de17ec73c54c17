// The dialog's mouse and keys: presses, drags and releases worked out from
// the buttons held, the focus moved with Tab, Return for the default button
// and Escape for Cancel; each change told to the dialog procedure.

#include "gui/dialogs/dialog_view.h"

#include "gui/controls/button.h"
#include "gui/controls/slider.h"
#include "gui/frame/frame.h"
#include "gui/lists/drop_list.h"
#include "platform/key_event.h"

namespace {

constexpr int32_t kLeft = 1;

} // namespace

DialogItem* DialogView::itemAt(const CPoint& where)
{
    // Later items lie on top; group boxes take no clicks.
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->kind != DialogItemKind::GroupBox && where.isInside((*it)->rect))
            return it->get();
    return nullptr;
}

void DialogView::mouse(CDrawContext* /*context*/, CPoint& where, int32_t buttons)
{
    const bool down = (buttons & kLeft) != 0;
    const bool wasDown = (lastButtons_ & kLeft) != 0;
    lastButtons_ = buttons;
    DialogItem* held = pressed_ != -1 ? item(pressed_) : nullptr;
    if (down && !wasDown) {
        if (DialogItem* at = itemAt(where); at && at->enabled)
            pressDown(*at, where, buttons);
    } else if (down && held) {
        if (held->kind == DialogItemKind::Button) {
            const bool inside = where.isInside(held->rect);
            if (inside != pressedInside_) {
                pressedInside_ = inside;
                redraw(*held);
            }
        } else if (held->slider) {
            const int32_t before = held->slider->value;
            held->slider->onMouse(buttons, where);
            trackChanged(*held, before);
        }
    } else if (!down && wasDown) {
        pressed_ = -1;
        if (held && held->slider)
            held->slider->onMouseUp(where);
        if (held && held->kind == DialogItemKind::Button) {
            redraw(*held);
            if (pressedInside_)
                press(*held);
        }
    } else if (!down) {
        hover(where);
    }
}

void DialogView::pressDown(DialogItem& item, const CPoint& where, int32_t buttons)
{
    if (item.takesFocus())
        setFocus(item.id);
    switch (item.kind) {
    case DialogItemKind::Text:
        if (item.link)
            notify_(WM_COMMAND, commandParam(item.id, STN_CLICKED), item.id);
        break;
    case DialogItemKind::Button:
        pressed_ = item.id;
        pressedInside_ = true;
        redraw(item);
        break;
    case DialogItemKind::DropList:
        if (!item.entries.empty()) {
            item.list->setFrame(getFrame());
            item.list->popup();
        }
        break;
    case DialogItemKind::Trackbar: {
        pressed_ = item.id;
        const int32_t before = item.slider->value;
        item.slider->onMouse(buttons, where);
        trackChanged(item, before);
        break;
    }
    case DialogItemKind::CheckBox: toggle(item); break;
    case DialogItemKind::Edit:
    case DialogItemKind::MultiLineEdit:
        item.edit->press(where);
        redraw(item);
        break;
    default: break;
    }
}

void DialogView::toggle(DialogItem& item)
{
    item.checked = !item.checked;
    redraw(item);
    press(item);
}

bool DialogView::onWheel(CDrawContext* /*context*/, const CPoint& where, float distance)
{
    DialogItem* at = itemAt(where);
    if (!at || !at->edit || !at->edit->multiLine() || distance == 0.0f)
        return false;
    at->edit->scrollLines(distance > 0.0f ? -3 : 3);
    redraw(*at);
    return true;
}

void DialogView::hover(const CPoint& where)
{
    bool onLink = false;
    for (const auto& item : items_) {
        if (!item->link)
            continue;
        const bool inside = where.isInside(item->rect);
        onLink = onLink || inside;
        if (inside != item->hovered) {
            item->hovered = inside;
            redraw(*item);
        }
    }
    if (CFrame* frame = getFrame(); frame && frame->getWindow())
        frame->getWindow()->setCursor(onLink ? platform::Cursor::Hand : platform::Cursor::Arrow);
}

void DialogView::press(DialogItem& item)
{
    notify_(WM_COMMAND, commandParam(item.id, BN_CLICKED), item.id);
}

void DialogView::listChanged(DialogItem& item)
{
    const int32_t now = item.list->getCurrent();
    if (now < 0 || now == item.selection)
        return;
    item.selection = now;
    redraw(item);
    notify_(WM_COMMAND, commandParam(item.id, CBN_SELCHANGE), item.id);
}

void DialogView::trackChanged(DialogItem& item, int32_t before)
{
    if (item.slider->value == before)
        return;
    redraw(item);
    notify_(WM_HSCROLL, commandParam(TB_THUMBTRACK, static_cast<uint16_t>(item.slider->value)), item.id);
}

void DialogView::valueChanged(CDrawContext* /*context*/, CControl* control)
{
    for (const auto& item : items_)
        if (item->list && static_cast<CControl*>(item->list) == control) {
            listChanged(*item);
            return;
        }
}

void DialogView::moveFocus(int step)
{
    std::vector<int32_t> order;
    for (const auto& item : items_)
        if (item->takesFocus())
            order.push_back(item->id);
    if (order.empty()) {
        focus_ = -1;
        return;
    }
    const auto count = static_cast<int32_t>(order.size());
    int32_t at = -1;
    for (int32_t i = 0; i < count; ++i)
        if (order[static_cast<size_t>(i)] == focus_)
            at = i;
    at = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
    focus_ = order[static_cast<size_t>(at)];
    if (DialogItem* now = item(focus_); now && now->edit)
        now->edit->selectAll();
    redrawAll();
}

bool DialogView::onKey(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return false;
    DialogItem* focused = item(focus_);
    const bool lineBreaks = focused && focused->enabled && focused->edit && focused->edit->multiLine();
    switch (key.virtualKey) {
    case kVkEscape: notify_(WM_COMMAND, commandParam(IDCANCEL, BN_CLICKED), IDCANCEL); return true;
    case kVkReturn:
        if (lineBreaks)
            break;
        notify_(WM_COMMAND, commandParam(defaultButton(), BN_CLICKED), defaultButton());
        return true;
    case kVkTab: moveFocus((key.modifiers & kModShift) ? -1 : 1); return true;
    default: break;
    }
    if (!focused || !focused->enabled)
        return false;
    switch (focused->kind) {
    case DialogItemKind::Edit:
    case DialogItemKind::MultiLineEdit:
        if (!focused->edit->onKey(key))
            return false;
        redraw(*focused);
        return true;
    case DialogItemKind::CheckBox:
        if (key.virtualKey != kVkSpace)
            return false;
        toggle(*focused);
        return true;
    case DialogItemKind::Button:
        if (key.virtualKey == kVkSpace || key.virtualKey == kVkEnter) {
            press(*focused);
            return true;
        }
        return false;
    case DialogItemKind::DropList:
        if (focused->entries.empty())
            return false;
        focused->list->setFrame(getFrame());
        focused->list->onKey(key);
        listChanged(*focused);
        return true;
    case DialogItemKind::Trackbar: {
        const int32_t before = focused->slider->value;
        focused->slider->onKey(key);
        trackChanged(*focused, before);
        return true;
    }
    default: return false;
    }
}
