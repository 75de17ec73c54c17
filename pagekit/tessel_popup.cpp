#include "pagekit/tessel_popup.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"

TesselPopup::TesselPopup() : TesselClass(kClassId) {}

TesselPopup::~TesselPopup()
{
    if (image)
        image->forget();
}

void TesselPopup::setButtonGroup(std::unique_ptr<TesselButtonGroup> newGroup)
{
    group = std::move(newGroup);
}

void TesselPopup::setImage(VSTGUI::CBitmap* bitmap)
{
    if (bitmap == image)
        return;
    if (bitmap)
        bitmap->remember();
    if (image)
        image->forget();
    image = bitmap;
}

void TesselPopup::show(int32_t x, int32_t y, VSTGUI::CBitmap* bitmap)
{
    if (!group)
        return;
    setImage(bitmap);
    const int32_t width = image ? image->getWidth() : 0;
    const int32_t height = image ? image->getHeight() : 0;
    rect = CRect(x, y, x + width, y + height);
    shown = true;
}

void TesselPopup::place(int32_t x, int32_t y, TesselUI* page)
{
    if (!group)
        return;
    show(x, y, image);
    owner = page;
    resultIndex = kNoResult;
    resultText.clear();
}

void TesselPopup::click(int32_t buttons, const CPoint& point)
{
    if (!group || !shown)
        return;
    const CPoint inside(point.h - rect.left, point.v - rect.top);
    // A click beside the buttons chooses nothing.
    bool onButton = false;
    for (int32_t i = 0; i < group->getCount(); ++i)
        onButton = onButton || group->getButton(i)->hitTest(inside);
    if (!onButton || !(buttons & (1 | 2 | 4)))
        return;
    const int32_t chosen = *group->onMouse(buttons, inside);
    if (mode == kTextMode)
        resultText = group->getButton(chosen)->getText();
    else
        resultIndex = chosen;
}

void TesselPopup::draw(VSTGUI::CDrawContext* context, bool focused)
{
    if (!shown || !context)
        return;
    if (image)
        image->draw(context, rect);
    if (!group)
        return;
    // The buttons stand relative to the popup.
    const CPoint offset = context->getOffset();
    context->setOffset(CPoint(offset.h + rect.left, offset.v + rect.top));
    group->draw(context, group->value, focused);
    context->setOffset(offset);
}
