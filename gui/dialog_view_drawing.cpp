// The dialog's face: the background, texts and group boxes drawn here, the
// controls drawing themselves; what cannot be used is greyed.

#include "gui/dialog_view.h"

#include "gui/bitmap.h"
#include "gui/button.h"
#include "gui/control_skin.h"
#include "gui/draw_context.h"
#include "gui/drop_list.h"
#include "gui/slider.h"
#include "platform/font.h"

namespace {

constexpr uint8_t kGreyAlpha = 150;
constexpr int32_t kGroupLabelInset = 8;

} // namespace

void DialogView::draw(CDrawContext* context)
{
    if (!context)
        return;
    control_skin::fill(context, size, kFace);
    for (const auto& item : items_)
        drawItem(context, *item);
    setDirty(false);
}

void DialogView::drawItem(CDrawContext* context, DialogItem& item)
{
    switch (item.kind) {
    case DialogItemKind::Text: {
        const bool underline = item.link && item.hovered;
        context->setFont(kTextFont, 0, underline ? kUnderlineFace : 0);
        context->setFontColor(!item.enabled ? kGreyInk : item.link ? kLinkInk : kInk);
        context->drawString(item.text.c_str(), item.rect, false,
                            (item.style & kItemRightAligned) ? kRightText : kLeftText);
        break;
    }
    case DialogItemKind::GroupBox: drawGroupBox(context, item); break;
    case DialogItemKind::Button: drawButton(context, item); break;
    case DialogItemKind::DropList: drawDropList(context, item); break;
    case DialogItemKind::Trackbar:
        item.slider->draw(context, item.slider->value, item.enabled && focus_ == item.id);
        if (!item.enabled)
            greyOut(context, item.rect);
        break;
    }
}

void DialogView::drawGroupBox(CDrawContext* context, const DialogItem& item)
{
    context->setFont(kTextFont);
    const platform::Font& font = context->font();
    const int32_t textHeight = font.metrics().height;
    const int32_t middle = item.rect.top + textHeight / 2;
    context->setFrameColor(kFrameLine);
    context->drawRect(CRect(item.rect.left, middle, item.rect.right - 1, item.rect.bottom - 1));
    // The label sits in a gap of the top edge.
    const int32_t labelLeft = item.rect.left + kGroupLabelInset;
    const int32_t labelRight = labelLeft + font.measure(item.text) + 2;
    control_skin::fill(context, CRect(labelLeft - 2, middle, labelRight + 2, middle + 1), kFace);
    context->setFontColor(item.enabled ? kInk : kGreyInk);
    context->drawString(item.text.c_str(), CRect(labelLeft, item.rect.top, labelRight, item.rect.top + textHeight),
                        false, kLeftText);
}

void DialogView::drawButton(CDrawContext* context, DialogItem& item)
{
    const bool down = pressed_ == item.id && pressedInside_;
    const bool highlighted = item.enabled && defaultButton() == item.id;
    item.button->drawOverBitmap(context, down, highlighted, nullptr);
    context->setFont(kTextFont);
    context->setFontColor(item.enabled ? kInk : kGreyInk);
    CRect label = item.rect;
    if (down)
        label.offset(1, 1);
    context->drawString(item.text.c_str(), label, false, kCenterText);
    if (focus_ == item.id && item.enabled) {
        context->setLineStyle(kLineOnOffDash);
        context->setFrameColor(kInk);
        context->drawRect(CRect(item.rect.left + 3, item.rect.top + 3, item.rect.right - 4, item.rect.bottom - 4));
        context->setLineStyle(kLineSolid);
    }
}

void DialogView::drawDropList(CDrawContext* context, DialogItem& item)
{
    const bool focused = item.enabled && focus_ == item.id;
    if (item.selection >= 0) {
        item.list->draw(context, item.selection, focused);
    } else {
        // Nothing chosen: the empty strip.
        if (!item.blankStrip || item.blankStrip->getWidth() != item.rect.width()) {
            control_skin::keepSized(item.blankStrip, item.rect.width(), control_skin::kStripHeight);
            control_skin::drawFrameStrip(*item.blankStrip);
        }
        item.blankStrip->draw(context, item.rect);
        if (focused) {
            context->setFrameColor(control_skin::kHighlight);
            context->drawRect(CRect(item.rect.left, item.rect.top, item.rect.right - 1, item.rect.bottom - 1));
        }
    }
    if (!item.enabled)
        greyOut(context, item.rect);
}

void DialogView::greyOut(CDrawContext* context, const CRect& rect)
{
    platform::Canvas* canvas = context->platformCanvas();
    if (!canvas)
        return;
    const platform::Image veil(1, 1, kFace.toPlatform());
    const CPoint offset = context->getOffset();
    canvas->blend(veil, veil.bounds(), CRect(rect).offset(offset.h, offset.v).toPlatform(), kGreyAlpha);
}
