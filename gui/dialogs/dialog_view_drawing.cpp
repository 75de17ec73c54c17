// The dialog's face: the background, texts and group boxes drawn here, the
// controls drawing themselves; what cannot be used is greyed.

#include "gui/dialogs/dialog_view.h"

#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "gui/controls/control_skin.h"
#include "gui/controls/slider.h"
#include "gui/draw_context.h"
#include "gui/lists/drop_list.h"
#include "gui/text_lines.h"
#include "platform/graphics/font.h"

#include <algorithm>

namespace {

constexpr uint8_t kGreyAlpha = 150;
constexpr int32_t kGroupLabelInset = 8;
constexpr int32_t kCheckSize = 13;
constexpr CColor kPaper{255, 255, 255, 0};
constexpr CColor kShadow{128, 128, 128, 0};

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
    case DialogItemKind::Text: drawText(context, item); break;
    case DialogItemKind::GroupBox: drawGroupBox(context, item); break;
    case DialogItemKind::Button: drawButton(context, item); break;
    case DialogItemKind::DropList: drawDropList(context, item); break;
    case DialogItemKind::Trackbar:
        item.slider->draw(context, item.slider->value, item.enabled && focus_ == item.id);
        if (!item.enabled)
            greyOut(context, item.rect);
        break;
    case DialogItemKind::CheckBox: drawCheckBox(context, item); break;
    case DialogItemKind::Edit:
    case DialogItemKind::MultiLineEdit: item.edit->draw(context, focus_ == item.id, item.enabled); break;
    case DialogItemKind::Icon:
        if (item.icon)
            item.icon->drawTransparent(context, item.rect);
        break;
    case DialogItemKind::OwnerDrawn: drawOwnerDrawn(context, item); break;
    }
}

// One line vertically centred; where the place holds more than one line the
// text wraps at word ends from its top.
void DialogView::drawText(CDrawContext* context, const DialogItem& item)
{
    const bool underline = item.link && item.hovered;
    context->setFont(kTextFont, 0, underline ? kUnderlineFace : 0);
    context->setFontColor(!item.enabled ? kGreyInk : item.link ? kLinkInk : kInk);
    const VSTGUI::CHoriTxtAlign align = (item.style & kItemRightAligned) ? kRightText : kLeftText;
    const platform::Font& font = context->font();
    const int32_t lineHeight = std::max(font.metrics().height, 1);
    if (item.rect.height() < 2 * lineHeight) {
        context->drawString(item.text.c_str(), item.rect, false, align);
        return;
    }
    const std::vector<TextLine> lines = breakIntoLines(font, item.text, item.rect.width() - 2, true);
    int32_t top = item.rect.top;
    for (const TextLine& line : lines) {
        if (top >= item.rect.bottom)
            break;
        const std::string piece = item.text.substr(line.start, line.end - line.start);
        context->drawString(piece.c_str(), CRect(item.rect.left, top, item.rect.right, top + lineHeight), false,
                            align);
        top += lineHeight;
    }
}

void DialogView::drawCheckBox(CDrawContext* context, const DialogItem& item)
{
    const int32_t top = item.rect.top + (item.rect.height() - kCheckSize) / 2;
    const CRect box(item.rect.left, top, item.rect.left + kCheckSize, top + kCheckSize);
    control_skin::fill(context, box, kShadow);
    control_skin::fill(context, CRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1),
                       item.enabled ? kPaper : kFace);
    if (item.checked) {
        // A tick of three strokes, two pixels thick.
        context->setFrameColor(item.enabled ? kInk : kGreyInk);
        for (int32_t d = 0; d < 2; ++d) {
            context->moveTo(CPoint(box.left + 3, box.top + 6 + d));
            context->lineTo(CPoint(box.left + 5, box.top + 8 + d));
            context->lineTo(CPoint(box.left + 10, box.top + 3 + d));
        }
    }
    context->setFont(kTextFont);
    context->setFontColor(item.enabled ? kInk : kGreyInk);
    const CRect label(box.right + 4, item.rect.top, item.rect.right, item.rect.bottom);
    context->drawString(item.text.c_str(), label, false, kLeftText);
    if (focus_ == item.id && item.enabled) {
        const int32_t width = std::min(context->font().measure(item.text) + 3, label.width());
        context->setLineStyle(kLineOnOffDash);
        context->setFrameColor(kInk);
        context->drawRect(CRect(label.left - 1, label.top, label.left + width, label.bottom - 1));
        context->setLineStyle(kLineSolid);
    }
}

// A sunken frame; its inside is the dialog's to draw.
void DialogView::drawOwnerDrawn(CDrawContext* context, const DialogItem& item)
{
    const CRect& r = item.rect;
    control_skin::fill(context, r, kShadow);
    control_skin::fill(context, CRect(r.left + 1, r.top + 1, r.right, r.bottom), kPaper);
    DialogDrawItem draw;
    draw.id = item.id;
    draw.context = context;
    draw.rect = CRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    if (draw.rect.width() > 0 && draw.rect.height() > 0)
        notify_(WM_DRAWITEM, static_cast<uintptr_t>(item.id), reinterpret_cast<intptr_t>(&draw));
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
