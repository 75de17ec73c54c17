// The dialog's items: made from the template, and what the dialog sets and
// reads of them.

#include "gui/dialogs/dialog_view.h"

#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "gui/controls/control_skin.h"
#include "gui/controls/slider.h"
#include "gui/frame/frame.h"
#include "gui/lists/drop_list.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr CColor kButtonFace{196, 196, 190, 0};
constexpr CColor kButtonFrame{110, 110, 106, 0};

// One-line controls keep their strip's height, centred in the template's place.
CRect stripIn(const CRect& place)
{
    const int32_t top = place.top + std::max(0, (place.height() - control_skin::kStripHeight) / 2);
    return CRect(place.left, top, place.right, top + control_skin::kStripHeight);
}

bool before(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

bool DialogItem::takesFocus() const
{
    return enabled && (kind == DialogItemKind::Button || kind == DialogItemKind::DropList ||
                       kind == DialogItemKind::Trackbar || kind == DialogItemKind::CheckBox || edit);
}

DialogView::DialogView(const DialogTemplate& dialog, Notify notify)
    : CView(CRect(0, 0, dialogUnitsToPixelsX(dialog.width), dialogUnitsToPixelsY(dialog.height))),
      notify_(std::move(notify))
{
    for (const DialogItemTemplate& item : dialog.items)
        add(item);
    for (const auto& item : items_)
        if (item->takesFocus()) {
            focus_ = item->id;
            break;
        }
}

DialogView::~DialogView()
{
    for (const auto& item : items_) {
        if (item->list)
            item->list->forget();
        if (item->blankStrip)
            item->blankStrip->forget();
        if (item->icon)
            item->icon->forget();
    }
}

void DialogView::add(const DialogItemTemplate& source)
{
    auto item = std::make_unique<DialogItem>();
    item->id = source.id;
    item->kind = source.kind;
    item->rect = dialogUnitsToPixels(source.place);
    item->text = source.text ? source.text : "";
    item->style = source.style;
    item->enabled = !(source.style & kItemDisabled);
    switch (source.kind) {
    case DialogItemKind::Button:
        item->button = std::make_unique<TesselButton>(item->rect, 0, kButtonFace, kButtonFrame, false);
        break;
    case DialogItemKind::DropList:
        item->rect = stripIn(item->rect);
        remakeList(*item);
        break;
    case DialogItemKind::Trackbar:
        item->rect = stripIn(item->rect);
        item->slider = std::make_unique<TesselSlider>(item->rect, 0, 100, 0, 3, "--", false);
        break;
    case DialogItemKind::Edit:
    case DialogItemKind::MultiLineEdit:
        item->edit = std::make_unique<DialogEditText>(source.kind == DialogItemKind::MultiLineEdit);
        item->edit->place(item->rect);
        item->edit->setText(item->text);
        break;
    case DialogItemKind::Icon:
        if (source.bitmap)
            item->icon = new CBitmap(source.bitmap);
        break;
    default: break;
    }
    items_.push_back(std::move(item));
}

// A fresh list: the toolkit's drop list keeps the text it last showed, which
// an emptied list must not.
void DialogView::remakeList(DialogItem& item)
{
    if (item.list)
        item.list->forget();
    item.list = new TesselDropList(item.rect, nullptr, "");
    item.list->setListener(this);
    item.list->setFrame(getFrame());
    for (size_t i = 0; i < item.entries.size(); ++i)
        item.list->addEntry(item.entries[i].c_str());
    if (item.selection >= 0)
        item.list->setValue(static_cast<float>(item.selection));
}

DialogItem* DialogView::item(int32_t id)
{
    for (const auto& item : items_)
        if (item->id == id && id != -1)
            return item.get();
    return nullptr;
}

void DialogView::setText(int32_t id, const std::string& text)
{
    DialogItem* it = item(id);
    if (it && it->edit) {
        it->edit->setText(text);
        redraw(*it);
        return;
    }
    if (it && it->text != text) {
        it->text = text;
        redraw(*it);
    }
}

std::string DialogView::text(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id && item->edit)
            return item->edit->text();
    for (const auto& item : items_)
        if (item->id == id)
            return item->kind == DialogItemKind::DropList && item->selection >= 0
                       ? item->entries[static_cast<size_t>(item->selection)]
                       : item->text;
    return {};
}

void DialogView::enable(int32_t id, bool enabled)
{
    DialogItem* it = item(id);
    if (!it || it->enabled == enabled)
        return;
    it->enabled = enabled;
    if (!enabled && focus_ == id)
        moveFocus(1);
    redraw(*it);
}

bool DialogView::isEnabled(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id)
            return item->enabled;
    return false;
}

void DialogView::makeLink(int32_t id)
{
    if (DialogItem* it = item(id); it && it->kind == DialogItemKind::Text) {
        it->link = true;
        redraw(*it);
    }
}

void DialogView::clearList(int32_t id)
{
    DialogItem* it = item(id);
    if (!it || it->kind != DialogItemKind::DropList)
        return;
    it->entries.clear();
    it->selection = -1;
    remakeList(*it);
    redraw(*it);
}

int32_t DialogView::addEntry(int32_t id, const std::string& text)
{
    DialogItem* it = item(id);
    if (!it || it->kind != DialogItemKind::DropList)
        return -1;
    auto at = it->entries.end();
    if (it->style & kItemSorted)
        at = std::upper_bound(it->entries.begin(), it->entries.end(), text, before);
    const auto index = static_cast<int32_t>(at - it->entries.begin());
    it->entries.insert(at, text);
    if (it->selection >= index)
        ++it->selection;
    remakeList(*it);
    redraw(*it);
    return index;
}

void DialogView::selectEntry(int32_t id, int32_t index)
{
    DialogItem* it = item(id);
    if (!it || it->kind != DialogItemKind::DropList)
        return;
    it->selection = index >= 0 && index < static_cast<int32_t>(it->entries.size()) ? index : -1;
    if (it->selection >= 0)
        it->list->setValue(static_cast<float>(it->selection));
    redraw(*it);
}

int32_t DialogView::selection(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id)
            return item->selection;
    return -1;
}

int32_t DialogView::findEntry(int32_t id, const std::string& text) const
{
    for (const auto& item : items_)
        if (item->id == id) {
            const auto found = std::find(item->entries.begin(), item->entries.end(), text);
            return found == item->entries.end() ? -1 : static_cast<int32_t>(found - item->entries.begin());
        }
    return -1;
}

void DialogView::setChecked(int32_t id, bool checked)
{
    DialogItem* it = item(id);
    if (!it || it->kind != DialogItemKind::CheckBox || it->checked == checked)
        return;
    it->checked = checked;
    redraw(*it);
}

bool DialogView::isChecked(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id && item->kind == DialogItemKind::CheckBox)
            return item->checked;
    return false;
}

DialogEditText* DialogView::edit(int32_t id)
{
    DialogItem* it = item(id);
    return it ? it->edit.get() : nullptr;
}

CRect DialogView::itemRect(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id)
            return item->rect;
    return CRect();
}

void DialogView::setItemRect(int32_t id, const CRect& rect)
{
    DialogItem* it = item(id);
    if (!it || it->rect == rect)
        return;
    redraw(*it);
    it->rect = rect;
    if (it->edit)
        it->edit->place(rect);
    redraw(*it);
}

void DialogView::setRange(int32_t id, int32_t minimum, int32_t maximum)
{
    DialogItem* it = item(id);
    if (!it || !it->slider || (it->slider->getMinimum() == minimum && it->slider->getMaximum() == maximum))
        return;
    const int32_t at = std::clamp(it->slider->value, minimum, std::max(minimum, maximum));
    it->slider = std::make_unique<TesselSlider>(it->rect, minimum, std::max(minimum, maximum), at, 3, "--", false);
    redraw(*it);
}

void DialogView::setPosition(int32_t id, int32_t position)
{
    DialogItem* it = item(id);
    if (!it || !it->slider)
        return;
    it->slider->value = std::clamp(position, it->slider->getMinimum(), it->slider->getMaximum());
    redraw(*it);
}

int32_t DialogView::position(int32_t id) const
{
    for (const auto& item : items_)
        if (item->id == id && item->slider)
            return item->slider->value;
    return 0;
}

void DialogView::setFocus(int32_t id)
{
    const DialogItem* it = item(id);
    if (!it || !it->takesFocus() || focus_ == id)
        return;
    focus_ = id;
    redrawAll();
}

int32_t DialogView::defaultButton() const
{
    for (const auto& item : items_)
        if (item->id == focus_ && item->kind == DialogItemKind::Button)
            return focus_;
    for (const auto& item : items_)
        if (item->kind == DialogItemKind::Button && (item->style & kItemDefault))
            return item->id;
    return IDOK;
}

void DialogView::redraw(const DialogItem& item)
{
    CFrame* frame = getFrame();
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    if (!window)
        return;
    // Group box labels and link underlines reach a little beyond the place.
    CRect area = item.rect;
    area.left -= 2;
    area.top -= 8;
    area.right += 2;
    area.bottom += 2;
    window->invalidate(area.toPlatform());
}

void DialogView::redrawAll()
{
    if (CFrame* frame = getFrame(); frame && frame->getWindow())
        frame->getWindow()->invalidate(size.toPlatform());
}
