// The text box's face: a framed strip (or a fill of the colour) with the
// text from its first visible character and, when focused, a block caret or
// the whole text highlighted.

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/text_box.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

#include <algorithm>

namespace {

constexpr int32_t kCapWidth = 2;
constexpr int32_t kTextInset = 2;
// Never equal to a text: the first draw after a new background redraws.
constexpr const char* kRedraw = "XXREDRAWXX";

VSTGUI::CBitmap& frameSlices()
{
    // By value: freed when the library unloads.
    static VSTGUI::CBitmap slices(resources::kFrameSlices);
    return slices;
}

void replace(VSTGUI::CBitmap*& bitmap, int32_t width, int32_t height)
{
    if (bitmap && bitmap->getWidth() == width && bitmap->getHeight() == height)
        return;
    if (bitmap)
        bitmap->forget();
    bitmap = new CBitmap2(32, width, height);
}

} // namespace

void TesselTextBox::makeBackground(int32_t width)
{
    replace(faceBackground, width, kFaceHeight);
    replace(face, width, kFaceHeight);
    platform::Canvas canvas(faceBackground->image());
    if (!framed) {
        canvas.fillRect(faceBackground->image().bounds(), colour.toPlatform());
        return;
    }
    const platform::Image& slices = frameSlices().image();
    const int32_t middle = std::max(width - 2 * kCapWidth, 0);
    canvas.copy(slices, {0, 0, std::min(kCapWidth, width), kFaceHeight}, {0, 0});
    for (int32_t x = 0; x < middle; ++x)
        canvas.copy(slices, {kCapWidth + x, 0, kCapWidth + x + 1, kFaceHeight}, {kCapWidth, 0});
    if (width >= 2 * kCapWidth)
        canvas.copy(slices, {width - kCapWidth, 0, width, kFaceHeight}, {kCapWidth + 1, 0});
}

void TesselTextBox::drawText(VSTGUI::CDrawContext* context, const char* text, bool focused)
{
    if (!context)
        return;
    clampToText();
    const int32_t width = std::max<int32_t>(rect.right - rect.left, 1);
    if (dirty || !faceBackground || !face || faceBackground->getWidth() != width) {
        makeBackground(width);
        lastDrawnText = kRedraw;
    }
    const std::string shown = text ? text : "";
    if (shown != lastDrawnText || caret != drawnCaret || focused || drawnFocus || dirty) {
        platform::Canvas(face->image()).copy(faceBackground->image(), face->image().bounds(), {0, 0});
        VSTGUI::COffscreenContext faceContext(context, face, true);
        const int32_t cell = cellWidth();
        const size_t first = std::min(static_cast<size_t>(firstVisible), shown.size());
        const int32_t fits = width / cell + 1;
        const CColor block = colour;
        if (focused && !editable) {
            drawBitmapText(&faceContext, shown.c_str() + first, kTextInset, kTextInset,
                           controlFont(TesselControlFont::Highlight, smallFont), &block, fits);
        } else {
            TesselFont* font = controlFont(editable ? TesselControlFont::Normal : TesselControlFont::Grey, smallFont);
            drawBitmapText(&faceContext, shown.c_str() + first, kTextInset, kTextInset, font, nullptr, fits);
        }
        if (focused && editable) {
            const size_t at = static_cast<size_t>(caret);
            const unsigned char under = at < shown.size() ? static_cast<unsigned char>(shown[at]) : ' ';
            drawBitmapChar(&faceContext, under, (caret - firstVisible) * cell + kTextInset, kTextInset,
                           controlFont(TesselControlFont::Highlight, smallFont), &block);
        }
        lastDrawnText = shown;
        drawnCaret = caret;
        drawnFocus = focused;
        dirty = false;
    }
    const int32_t inset = framed ? 0 : 2;
    face->draw(context, CRect(rect.left + inset, rect.top + inset, rect.left + inset + width,
                              rect.top + inset + kFaceHeight));
}

void TesselTextBox::draw(VSTGUI::CDrawContext* context, int32_t number, bool focused)
{
    if (numberMode && number != value) {
        value = number;
        name = numberText(number);
    }
    drawText(context, numberText(number).c_str(), focused);
    logValue(focused);
}
