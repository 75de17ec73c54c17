// The drop list's popup: refilled from its source, shown under the control
// where the page shows it, bracketed for the editor, and a choice handed to
// the (sub)menu that holds it.

#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"
#include "gui/lists/drop_list.h"
#include "platform/dialogs/popup_menu.h"
#include "platform/window.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Command ids above this come from elsewhere than the menu.
constexpr int32_t kLastCommandId = 0xFFFF;

} // namespace

void TesselDropList::refill()
{
    // The current entry stays current, so the popup marks it and a
    // dismissal leaves it.
    const int32_t kept = TesselControl::value;
    removeAllEntry();
    source->fillEntries(*this);
    const int32_t count = getNbEntries();
    if (count == 0)
        return;
    select(std::clamp(kept, 0, count - 1));
}

CFrame* TesselDropList::popupFrame() const
{
    if (owner && owner->getFrame())
        return owner->getFrame();
    if (ownerEditor && ownerEditor->pagesFrame())
        return ownerEditor->pagesFrame();
    return parentFrame;
}

CPoint TesselDropList::popupPoint(CFrame& frame) const
{
    CRect page;
    if (owner)
        owner->getViewSize(page);
    const int32_t scale = frame.pageScale();
    const CPoint origin(frame.getWindow()->screenOrigin());
    const int32_t edge = (style & VSTGUI::kPopupStyle) ? size.top : size.bottom;
    return CPoint(origin.h + scale * (page.left + size.left), origin.v + scale * (page.top + edge));
}

void TesselDropList::popup()
{
    if (source)
        refill();
    CFrame* frame = popupFrame();
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    if (!window || !window->alive())
        return;
    setFrame(frame);
    TesselFrameLink* editor = frame->getEditor();
    if (editor && editor->popupActive())
        return;

    // A listener may drop the list: it lives until the popup is done.
    remember();
    std::vector<IdRange> ranges;
    const platform::PopupMenu menu = buildPopup(0, &ranges);
    if (editor)
        editor->beginPopup();
    if (ownerEditor)
        ownerEditor->logCurrentFocus();
    const int32_t chosen = window->system().trackPopup(*window, menu, popupPoint(*frame).toPlatform(),
                                                       (style & kRightButtonStyle) != 0);

    const IdRange* holder = nullptr;
    if (chosen >= 0 && chosen <= kLastCommandId)
        for (const IdRange& range : ranges)
            if (chosen >= range.firstId && chosen < range.firstId + range.menu->getNbEntries())
                holder = &range;
    if (holder) {
        COptionMenu* menuHolding = holder->menu;
        menuHolding->setValue(static_cast<float>(chosen - holder->firstId));
        if (CControlListener* listener = menuHolding->getListener()) {
            std::unique_ptr<CDrawContext> context = frame->createWindowContext();
            listener->valueChanged(context.get(), menuHolding);
        }
    }
    if (editor)
        editor->endPopup();
    forget();
}
