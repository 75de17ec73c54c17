// The drop list's keys and face.

#include "gui/lists/drop_list.h"

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "platform/key_event.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kTextInset = 2;
constexpr int32_t kUnframedInset = 2;

} // namespace

TesselDropList::TesselDropList(const CRect& rect, TesselEntrySource* source, const char* initialText,
                               CBitmap* background, CBitmap* scrollBitmap, int32_t style)
    : TesselControl(kClassId), COptionMenu(rect, nullptr, 0, background, scrollBitmap, style), source(source)
{
    if (initialText)
        std::snprintf(text, sizeof text, "%s", initialText);
    setColour(control_skin::kDefaultColour);
}

TesselDropList::~TesselDropList() = default;

int32_t TesselDropList::currentIndex() const
{
    return std::max(getCurrent(), 0);
}

void TesselDropList::setValue(float newValue)
{
    COptionMenu::setValue(newValue);
    if (getCurrent() >= 0)
        TesselControl::value = getCurrent();
}

void TesselDropList::select(int32_t index)
{
    setValue(static_cast<float>(index));
}

int32_t* TesselDropList::onKey(const TesselKeyEvent& key)
{
    const int32_t count = getNbEntries();
    if (key.keyUp || count == 0)
        return &(TesselControl::value);
    switch (key.virtualKey) {
    case kVkSpace:
    case kVkRight: select((currentIndex() + 1) % count); break;
    case kVkLeft: select((currentIndex() + count - 1) % count); break;
    case kVkEnter: popup(); break;
    default: break;
    }
    return &(TesselControl::value);
}

int32_t* TesselDropList::onMouse(int32_t buttons, const CPoint& /*point*/)
{
    if (buttons & (1 | 2 | 4))
        popup();
    return &(TesselControl::value);
}

void TesselDropList::draw(CDrawContext* context, int32_t newValue, bool focused)
{
    const int32_t width = size.width();
    if (width <= 0)
        return;
    if (TesselControl::dirty || !faceBackground || faceBackground->getWidth() != width) {
        control_skin::keepSized(faceBackground, width, control_skin::kStripHeight);
        control_skin::keepSized(face, width, control_skin::kStripHeight);
        if (background)
            control_skin::drawRepeatedColumn(*faceBackground, *background);
        else
            control_skin::drawFrameStrip(*faceBackground);
        TesselControl::dirty = true;
    }
    if (newValue != drawnValue || focused != drawnFocus || TesselControl::dirty) {
        COptionMenu::setValue(static_cast<float>(newValue));
        TesselControl::value = newValue;
        rebuildFace(focused);
    }
    if (!context)
        return;
    const int32_t inset = framed ? 0 : kUnframedInset;
    face->draw(context, CRect(size.left + inset, size.top + inset, size.left + inset + width,
                              size.top + inset + control_skin::kStripHeight));
}

void TesselDropList::draw(CDrawContext* context)
{
    draw(context, TesselControl::value, false);
}

void TesselDropList::rebuildFace(bool focused)
{
    face->image() = faceBackground->image().clone();
    char entry[kMaxEntryLength + 1] = {};
    if (getEntry(TesselControl::value, entry))
        std::memcpy(text, entry, sizeof entry);
    COffscreenContext faceContext(nullptr, face, true);
    const TesselControlFont kind = focused ? TesselControlFont::Highlight : TesselControlFont::Normal;
    drawBitmapText(&faceContext, text, kTextInset, kTextInset, controlFont(kind, smallFont));
    drawnValue = TesselControl::value;
    drawnFocus = focused;
    TesselControl::dirty = false;
    logValue(focused);
}
