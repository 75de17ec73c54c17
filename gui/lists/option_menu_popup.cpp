// The option menu's popup: a click opens it, the window layer shows it, and
// a choice reaches the submenu that holds it and the listener.

#include "gui/bitmap.h"
#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"
#include "gui/lists/option_menu.h"
#include "platform/dialogs/popup_menu.h"
#include "platform/window.h"

#include <memory>

namespace VSTGUI {

namespace {

// Deeper trees are cut off: a menu that holds itself would never end.
constexpr int kMaxDepth = 16;

constexpr int32_t kModifierBits = 8 | 16 | 32 | 64;
constexpr int32_t kOpeningBits = 1 | 4 | 64;

} // namespace

void COptionMenu::mouse(CDrawContext* context, CPoint& /*where*/, int32_t buttons)
{
    if (!getMouseEnabled() || !parentFrame || !context)
        return;
    if (buttons == -1)
        buttons = context->getMouseButtons();
    lastButton_ = buttons;
    if (listener && (buttons & kModifierBits) && listener->controlModifierClicked(context, this, buttons))
        return;
    if (!(buttons & kOpeningBits))
        return;
    if (pressedBackground_) {
        char text[kMaxEntryLength + 1] = {};
        getCurrent(text);
        drawText(context, text, pressedBackground_);
    }
    parentFrame->setEditView(this);
    takeFocus(context);
}

void COptionMenu::looseFocus(CDrawContext* /*context*/)
{
    popupOpen_ = false;
}

platform::PopupMenu COptionMenu::buildPopup(int32_t firstId, std::vector<IdRange>* ranges)
{
    platform::PopupMenu popup;
    std::vector<IdRange> own;
    buildInto(popup, firstId, ranges ? *ranges : own, 0);
    return popup;
}

int32_t COptionMenu::buildInto(platform::PopupMenu& popup, int32_t nextId, std::vector<IdRange>& ranges, int depth)
{
    using Row = platform::PopupMenu::Row;
    ranges.push_back({this, nextId});
    const int32_t firstId = nextId;
    nextId += getNbEntries();
    const bool ownerDrawn = ownerDraw_ != nullptr;
    const bool breaks = getNbEntries() < kColumnBreakLimit && itemsPerColumn_ > 0;
    int32_t submenuIndex = 0;
    int32_t item = 0;
    for (int32_t i = 0; i < getNbEntries(); ++i) {
        const std::string& text = entries_[static_cast<size_t>(i)];
        Row row;
        row.id = firstId + i;
        if (isSeparator(text)) {
            row.flags = platform::PopupMenu::kSeparator;
        } else if (isSubmenu(text)) {
            COptionMenu* submenu = getSubMenu(submenuIndex++);
            if (!submenu || depth + 1 >= kMaxDepth)
                continue;   // left out, its id unused
            row.submenu = std::make_shared<platform::PopupMenu>();
            nextId = submenu->buildInto(*row.submenu, nextId, ranges, depth + 1);
            row.text = text.substr(2);
        } else if (text.starts_with("-G")) {
            row.flags = platform::PopupMenu::kGrayed;
            row.text = text.substr(2);
        } else if (isTitle(text)) {
            row.flags = platform::PopupMenu::kDisabled;
            row.text = text.substr(2);
        } else {
            row.text = text;
            const bool checked = (style & kCheckStyle) ? checks_[static_cast<size_t>(i)] != 0
                                                       : (style & kCheckCurrent) && i == current_;
            if (checked)
                row.flags = platform::PopupMenu::kChecked;
        }
        if (ownerDrawn) {
            row.flags |= platform::PopupMenu::kOwnerDraw;
            // The owner gets the entry's text, as its item data.
            row.itemData = reinterpret_cast<uintptr_t>(text.c_str() + (isSeparator(text) || text[0] != '-' ? 0 : 2));
        }
        if (breaks && item > 0 && item % itemsPerColumn_ == 0)
            row.flags |= platform::PopupMenu::kColumnBreak;
        ++item;
        popup.rows.push_back(std::move(row));
    }
    return nextId;
}

void COptionMenu::takeFocus(CDrawContext* context)
{
    if (!parentFrame)
        return;
    // A listener may forget this menu: it lives until the popup is done.
    remember();
    runPopup(context);
    forget();
}

void COptionMenu::runPopup(CDrawContext* context)
{
    CFrame* frame = parentFrame;
    lastResult_ = -1;
    lastSubmenu_ = nullptr;

    TesselFrameLink* editor = frame->getEditor();
    platform::Window* owner = frame->getWindow();
    std::vector<IdRange> ranges;
    int32_t chosen = -1;
    // One popup at a time: one asked for while another is up chooses nothing.
    if (owner && owner->alive() && !(editor && editor->popupActive())) {
        CPoint origin;
        if (context)
            origin = context->getScreenOffset();
        else
            origin = CPoint(owner->screenOrigin());
        const int32_t scale = frame->pageScale();
        const CPoint at(origin.h + scale * size.left, origin.v + scale * ((style & kPopupStyle) ? size.top : size.bottom));
        const platform::PopupMenu popup = buildPopup(0, &ranges);
        popupOpen_ = true;
        if (editor)
            editor->beginPopup();
        chosen = owner->system().trackPopup(*owner, popup, at.toPlatform(), (lastButton_ & 4) != 0);
        if (editor)
            editor->endPopup();
    }
    popupOpen_ = false;
    frame->setEditView(nullptr);

    if (chosen < 0 && !pressedBackground_)
        return;
    std::unique_ptr<CDrawContext> own;
    if (!context) {
        own = frame->createWindowContext();
        context = own.get();
    }
    if (pressedBackground_)
        setDirty();
    if (chosen < 0)
        return;

    const IdRange* holder = nullptr;
    for (const IdRange& range : ranges)
        if (chosen >= range.firstId && chosen < range.firstId + range.menu->getNbEntries())
            holder = &range;
    if (!holder)
        return;
    lastResult_ = chosen;
    lastSubmenu_ = holder->menu;
    COptionMenu* submenu = holder->menu;
    submenu->setValue(static_cast<float>(chosen - holder->firstId));
    if (listener)
        listener->valueChanged(context, submenu);
}

} // namespace VSTGUI
