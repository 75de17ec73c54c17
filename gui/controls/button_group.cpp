#include "gui/controls/button_group.h"

#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "platform/key_event.h"

#include <algorithm>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

} // namespace

TesselButtonGroup::TesselButtonGroup() : TesselControl(kClassId)
{
    setColour(control_skin::kDefaultColour);
}

TesselButtonGroup::TesselButtonGroup(int32_t x, int32_t y, VSTGUI::CBitmap* background, int32_t value)
    : TesselButtonGroup()
{
    origin = CPoint(x, y);
    extent = CRect(x, y, x, y);
    this->background = background;
    if (background)
        background->remember();
    this->value = value;
}

TesselButtonGroup::~TesselButtonGroup()
{
    if (background)
        background->forget();
}

TesselButton* TesselButtonGroup::getButton(int32_t index) const
{
    return index >= 0 && index < count ? buttons[static_cast<size_t>(index)].get() : nullptr;
}

bool TesselButtonGroup::addButton(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                                  const CColor& faceColour, const CColor& frameColour)
{
    if (count >= kMaxButtons)
        return false;
    const CRect at(left + origin.h, top + origin.v, right + origin.h, bottom + origin.v);
    buttons[static_cast<size_t>(count++)] = std::make_unique<TesselButton>(at, bitmapId, faceColour, frameColour, false);
    extent.right = std::max(extent.right, at.right);
    extent.bottom = std::max(extent.bottom, at.bottom);
    return true;
}

void TesselButtonGroup::setOrigin(int32_t x, int32_t y)
{
    const int32_t dx = x - origin.h;
    const int32_t dy = y - origin.v;
    origin = CPoint(x, y);
    for (int32_t i = 0; i < count; ++i)
        buttons[static_cast<size_t>(i)]->moveBy(dx, dy);
    extent(extent.left + dx, extent.top + dy, extent.right + dx, extent.bottom + dy);
}

int32_t* TesselButtonGroup::onKey(const TesselKeyEvent& key)
{
    using namespace control_skin;
    if (key.keyUp || count == 0)
        return &value;
    switch (key.virtualKey) {
    case kVkSpace:
    case kVkEnter: value = highlight; break;
    case kVkEnd: highlight = count - 1; break;
    case kVkHome: highlight = 0; break;
    case kVkLeft: highlight = (highlight + count - 1) % count; break;
    case kVkRight: highlight = (highlight + 1) % count; break;
    default: break;
    }
    return &value;
}

int32_t* TesselButtonGroup::onMouse(int32_t buttonsDown, const CPoint& point)
{
    if (!(buttonsDown & kMouseButtons))
        return &value;
    for (int32_t i = count - 1; i >= 0; --i)
        if (buttons[static_cast<size_t>(i)]->hitTest(point)) {
            value = i;
            highlight = i;
            break;
        }
    return &value;
}

void TesselButtonGroup::draw(VSTGUI::CDrawContext* context, int32_t newValue, bool focused)
{
    value = newValue;
    for (int32_t i = 0; i < count; ++i)
        buttons[static_cast<size_t>(i)]->drawOverBitmap(context, i == value, focused && i == highlight, background);
}
