#include "gui/lists/list_box.h"

#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "platform/key_event.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

int lowered(int character)
{
    return std::tolower(static_cast<unsigned char>(character));
}

} // namespace

TesselListBox::TesselListBox(const CRect& rect)
    : TesselControl(kClassId), rect(rect), icons(new CBitmap(resources::kListIcons)),
      scrollbar(CRect(rect.width() - kScrollbarWidth, 0, rect.width(), rect.height()))
{
    scrollbar.setCounts(1, visibleRows());
    setColour(control_skin::kDefaultColour);
}

TesselListBox::~TesselListBox()
{
    icons->forget();
}

void TesselListBox::setColour(uint32_t rgba)
{
    TesselControl::setColour(rgba);
    scrollbar.setColour(rgba);
    dirty = true;
}

std::string TesselListBox::selectedText() const
{
    if (selection < 0 || selection >= entryCount())
        return {};
    return entries[static_cast<size_t>(selection)].name;
}

void TesselListBox::keepSelectionInView()
{
    selection = std::clamp(selection, 0, std::max(entryCount() - 1, 0));
    const int32_t oldTop = top;
    if (selection < top)
        top = selection;
    const int32_t lastVisible = std::max(visibleRows() - 1, 0);
    if (top + lastVisible < selection)
        top = selection - lastVisible;
    if (top != oldTop)
        dirty = true;
    value = selection;
}

void TesselListBox::setSelection(int32_t index)
{
    selection = index;
    keepSelectionInView();
}

void TesselListBox::layout()
{
    scrollbar.setCounts(entryCount(), visibleRows());
    top = std::clamp(top, 0, scrollbar.lastPosition());
    keepSelectionInView();
    dirty = true;
}

void TesselListBox::setMessage(const std::string& text)
{
    if (text != message)
        dirty = true;
    message = text;
}

int32_t* TesselListBox::onKey(const TesselKeyEvent& key)
{
    using namespace control_skin;
    if (key.keyUp)
        return &value;
    const int32_t count = entryCount();
    switch (key.virtualKey) {
    case kVkEnd: selection = count - 1; break;
    case kVkHome: selection = 0; break;
    case kVkUp: --selection; break;
    case kVkDown: ++selection; break;
    case kVkPageUp: selection -= kPageRows; break;
    case kVkPageDown: selection += kPageRows; break;
    case kVkEnter: break;
    default:
        if (key.character != 0) {
            // The next entry starting with the character; no wrap-around.
            const int wanted = lowered(key.character);
            for (int32_t i = selection + 1; i < count; ++i) {
                const std::string& name = entries[static_cast<size_t>(i)].name;
                if (!name.empty() && lowered(name[0]) == wanted) {
                    selection = i;
                    break;
                }
            }
        }
        break;
    }
    keepSelectionInView();
    return &value;
}

int32_t* TesselListBox::onMouse(int32_t buttons, const CPoint& point)
{
    const CPoint local(point.h - rect.left, point.v - rect.top);
    if (!scrollbar.isDragging())
        scrollbar.setPosition(top);
    if (scrollbar.trackMouse(local, buttons)) {
        if (scrollbar.getPosition() != top) {
            top = scrollbar.getPosition();
            dirty = true;
        }
        return &value;
    }
    // A release or a move with no button down selects nothing.
    if (!(buttons & kMouseButtons))
        return &value;
    selection = local.v / kRowHeight + top;
    keepSelectionInView();
    return &value;
}
