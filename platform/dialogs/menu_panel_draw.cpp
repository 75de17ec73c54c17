// The popup menu's look: Windows' classic menu colours, a raised 3D edge,
// etched separators and column lines, grey rows embossed in white.

#include "platform/dialogs/menu_panel.h"

#include "platform/graphics/canvas.h"
#include "platform/graphics/font.h"
#include "platform/graphics/text.h"

namespace platform {

namespace {

constexpr Colour kFace = rgb(212, 208, 200);
constexpr Colour kLight = rgb(255, 255, 255);
constexpr Colour kShadow = rgb(128, 128, 128);
constexpr Colour kDark = rgb(64, 64, 64);
constexpr Colour kText = rgb(0, 0, 0);
constexpr Colour kHighlight = rgb(10, 36, 106);
constexpr Colour kHighlightText = rgb(255, 255, 255);
constexpr int32_t kCheckWidth = 20;
constexpr int32_t kArrowWidth = 20;

void drawTick(Canvas& canvas, int32_t left, int32_t top, Colour ink)
{
    static constexpr int32_t kRise[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int32_t x = 0; x < 7; ++x)
        canvas.fillRect(rectOfSize(left + x, top + kRise[x], 1, 3), ink);
}

void drawArrow(Canvas& canvas, int32_t left, int32_t middle, Colour ink)
{
    for (int32_t x = 0; x < 4; ++x)
        canvas.fillRect({left + x, middle - 3 + x, left + x + 1, middle + 4 - x}, ink);
}

} // namespace

void MenuPanel::drawText(Image& image, const Row& row, const PopupMenu::Row& source, Point shift, Colour ink) const
{
    Canvas canvas(image);
    const Rect r = row.rect.movedBy(shift.x, shift.y);
    const int32_t middle = r.top + r.height() / 2;
    if (source.flags & PopupMenu::kChecked)
        drawTick(canvas, r.left + 6, middle - 3, ink);
    const FontMetrics& metrics = font_->metrics();
    const int32_t top = r.top + (r.height() - metrics.height) / 2;
    TextPaint paint;
    paint.colour = ink;
    const int32_t left = r.left + kCheckWidth;
    platform::drawText(canvas, *font_, row.text.label, {left, top}, paint);
    const int32_t at = row.text.mnemonicAt;
    if (at >= 0 && at < static_cast<int32_t>(row.text.label.size())) {
        const int32_t x = left + font_->measure(std::string_view(row.text.label).substr(0, static_cast<size_t>(at)));
        const int32_t width = font_->advance(static_cast<unsigned char>(row.text.label[static_cast<size_t>(at)]));
        canvas.fillRect(rectOfSize(x, top + metrics.ascent + 1, width, 1), ink);
    }
    if (!row.text.shortcut.empty())
        platform::drawText(canvas, *font_, row.text.shortcut,
                           {r.right - kArrowWidth - font_->measure(row.text.shortcut), top}, paint);
    if (source.submenu)
        drawArrow(canvas, r.right - 12, middle, ink);
}

void MenuPanel::draw(Image& image, int32_t highlighted) const
{
    Canvas canvas(image);
    const int32_t w = image.width();
    const int32_t h = image.height();
    canvas.fillRect(image.bounds(), kFace);
    // The raised edge: light outside on the top and left, dark on the bottom and right.
    canvas.fillRect({1, 1, w - 2, 2}, kLight);
    canvas.fillRect({1, 1, 2, h - 2}, kLight);
    canvas.fillRect({1, h - 2, w - 1, h - 1}, kShadow);
    canvas.fillRect({w - 2, 1, w - 1, h - 1}, kShadow);
    canvas.fillRect({0, h - 1, w, h}, kDark);
    canvas.fillRect({w - 1, 0, w, h}, kDark);
    for (size_t c = 1; c < columnLefts_.size(); ++c) {
        const int32_t x = columnLefts_[c] - 4;
        canvas.fillRect({x, kBorder, x + 1, h - kBorder}, kShadow);
        canvas.fillRect({x + 1, kBorder, x + 2, h - kBorder}, kLight);
    }

    for (int32_t i = 0; i < rowCount(); ++i) {
        const Row& row = rows_[static_cast<size_t>(i)];
        const PopupMenu::Row& source = menu_.rows[static_cast<size_t>(i)];
        const bool lit = i == highlighted;
        if (source.flags & PopupMenu::kOwnerDraw) {
            MenuItemMessage item;
            item.itemData = source.itemData;
            item.id = source.id;
            item.state = (source.flags & PopupMenu::kChecked ? 1u : 0u) | (source.flags & PopupMenu::kGrayed ? 2u : 0u)
                       | (lit ? 4u : 0u);
            item.image = &image;
            item.rect = row.rect;
            if (owner_)
                owner_(item, true);
            continue;
        }
        if (source.flags & PopupMenu::kSeparator) {
            const int32_t y = row.rect.top + row.rect.height() / 2 - 1;
            canvas.fillRect({row.rect.left + 1, y, row.rect.right - 1, y + 1}, kShadow);
            canvas.fillRect({row.rect.left + 1, y + 1, row.rect.right - 1, y + 2}, kLight);
            continue;
        }
        const bool grey = (source.flags & PopupMenu::kGrayed) != 0;
        if (lit)
            canvas.fillRect(row.rect, kHighlight);
        if (grey && !lit)
            drawText(image, row, source, {1, 1}, kLight);
        drawText(image, row, source, {0, 0}, grey ? kShadow : lit ? kHighlightText : kText);
    }
}

} // namespace platform
