#include "patterneditor/menus/amplify_prompt.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "platform/key_event.h"
#include "resources/palette.h"

namespace {

// The slider's place in the panel.
constexpr int32_t kSliderLeft = 10;
constexpr int32_t kSliderTop = 22;
constexpr int32_t kSliderHeight = 10;
// The panel's size when its skin is missing.
constexpr int32_t kFallbackWidth = 260;
constexpr int32_t kFallbackHeight = 48;

} // namespace

TesselAmplifyPrompt::TesselAmplifyPrompt()
    : slider_(CRect(), 0, kMaximum, kStart), background_(new CBitmap(resources::kAmplifyPrompt))
{
    slider_.setDefaultValue(kStart);
}

TesselAmplifyPrompt::~TesselAmplifyPrompt()
{
    background_->forget();
}

void TesselAmplifyPrompt::open(int32_t pageWidth, int32_t pageHeight)
{
    const int32_t width = background_->getWidth() > 0 ? background_->getWidth() : kFallbackWidth;
    const int32_t height = background_->getHeight() > 0 ? background_->getHeight() : kFallbackHeight;
    const int32_t left = (pageWidth - width) / 2;
    const int32_t top = (pageHeight - height) / 2;
    rect_ = CRect(left, top, left + width, top + height);
    slider_.setRect(CRect(left + kSliderLeft, top + kSliderTop, left + width - kSliderLeft,
                          top + kSliderTop + kSliderHeight));
    slider_.value = kStart;
    shown_ = true;
}

TesselAmplifyPrompt::Answer TesselAmplifyPrompt::onKey(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return kGoesOn;
    if (key.virtualKey == kVkEscape) {
        shown_ = false;
        return kCancelled;
    }
    slider_.onKey(key);
    if (key.virtualKey == kVkEnter) {
        shown_ = false;
        return kAccepted;
    }
    return kGoesOn;
}

void TesselAmplifyPrompt::onMouse(int32_t x, int32_t y, int32_t buttons)
{
    if (buttons & 1)
        slider_.onMouse(buttons, CPoint(x, y));
    else
        slider_.onMouseUp(CPoint(x, y));
}

void TesselAmplifyPrompt::draw(CDrawContext* context)
{
    if (!shown_ || !context)
        return;
    if (background_->getWidth() > 0) {
        background_->draw(context, rect_);
    } else {
        context->setFillColor(CColor{38, 40, 45, 0});
        context->fillRect(rect_);
    }
    slider_.draw(context, slider_.value, true);
}
