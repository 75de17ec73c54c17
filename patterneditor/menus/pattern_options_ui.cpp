#include "patterneditor/menus/pattern_options_ui.h"

#include "common/help_pages.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/page_fonts.h"
#include "model/song/pattern.h"
#include "platform/key_event.h"
#include "resources/resource_ids.h"
#include "shell/usage_log.h"

namespace {

constexpr int32_t kControls = 4;
constexpr int32_t kLabelLength = 3;
constexpr int32_t kLeft = 1;
constexpr int32_t kNumberGap = 8;
constexpr int kNumberFont = 1;   // amber, 8-pixel cells
constexpr int kPanelFocusPage = 15;

// Places from the panel's top-left corner: the text box and the sliders.
constexpr CRect kLabelBox(107, 24, 135, 35);
constexpr CRect kSliderPlaces[3] = {CRect(107, 38, 338, 46), CRect(107, 52, 394, 60), CRect(107, 66, 394, 74)};
struct SliderRange {
    int32_t minimum, maximum, start;
};
constexpr SliderRange kRanges[3] = {{0, 100, 4}, {0, 200, 16}, {1, 256, 64}};
constexpr int32_t kWidth = 408;
constexpr int32_t kHeight = 103;

CRect placed(const CRect& rect, int32_t x, int32_t y)
{
    return CRect(x + rect.left, y + rect.top, x + rect.right, y + rect.bottom);
}

} // namespace

TesselPatternOptionsUI::TesselPatternOptionsUI(TesselEditorServices* editor)
    : TesselPatternOptions(CRect(0, 0, kWidth, kHeight), 0, nullptr, editor, kClassId),
      label_(kLabelBox, kLabelLength, "000", false)
{
    auto* skin = new CBitmap(resources::kPatternOptionsPanel);
    setBackground(skin);
    skin->forget();
    for (size_t i = 0; i < sliders_.size(); ++i)
        sliders_[i] = new TesselSlider(kSliderPlaces[i], kRanges[i].minimum, kRanges[i].maximum, kRanges[i].start, 3,
                                       "---");
}

TesselPatternOptionsUI::~TesselPatternOptionsUI()
{
    for (TesselSlider* slider : sliders_)
        delete slider;
}

void TesselPatternOptionsUI::open(int32_t x, int32_t y, TesselPattern* pattern)
{
    if (!pattern)
        return;
    CBitmap* skin = getBackground();
    const int32_t width = skin && skin->getWidth() > 0 ? skin->getWidth() : kWidth;
    const int32_t height = skin && skin->getHeight() > 0 ? skin->getHeight() : kHeight;
    setViewSize(CRect(x, y, x + width, y + height));
    label_.init(placed(kLabelBox, x, y), kLabelLength, pattern->displayLabel(false), false);
    const int32_t values[3] = {pattern->minorStep, pattern->majorStep, pattern->length()};
    for (size_t i = 0; i < sliders_.size(); ++i) {
        sliders_[i]->setRect(placed(kSliderPlaces[i], x, y));
        sliders_[i]->value = values[i];
        sliders_[i]->dirty = true;
    }
    pattern_ = pattern;
    focus_ = kFocusTextBox;
    setShown(true);
    setDirty();
}

TesselPatternValues TesselPatternOptionsUI::values() const
{
    TesselPatternValues result;
    result.label = label_.name.substr(0, kLabelLength);
    if (pattern_ && result.label == pattern_->displayLabel(true))
        result.label.clear();
    result.minorStep = sliders_[0]->value;
    result.majorStep = sliders_[1]->value;
    result.length = sliders_[2]->value;
    return result;
}

TesselControl& TesselPatternOptionsUI::focused()
{
    if (focus_ == kFocusTextBox)
        return label_;
    return *sliders_[size_t(focus_)];
}

void TesselPatternOptionsUI::close()
{
    TesselControl& control = focused();
    control.onMouseUp(CPoint());
    setShown(false);
}

int32_t TesselPatternOptionsUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp || !isShown())
        return 0;
    const bool shift = key.modifiers & kModShift;
    setDirty();
    switch (key.virtualKey) {
    case kVkEscape: close(); return 0;
    case kVkEnter: close(); return 1;
    case kVkF1:
        if (key.modifiers == 0) {
            if (openHelp)
                openHelp(help::kPatternModes);
            return 0;
        }
        break;
    case kVkUp: focus_ = (focus_ + kControls - 1) % kControls; return 0;
    case kVkDown: focus_ = (focus_ + 1) % kControls; return 0;
    case kVkTab:
        focus_ = shift ? (focus_ + kControls - 1) % kControls : (focus_ + 1) % kControls;
        return 0;
    default: break;
    }
    focused().onKey(key);
    return 0;
}

int32_t TesselPatternOptionsUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    if (!(buttons & kLeft))
        return 0;
    const CPoint at(x + size.left, y + size.top);
    for (int32_t i = 0; i < kControls; ++i) {
        TesselControl& control = i == kFocusTextBox ? static_cast<TesselControl&>(label_) : *sliders_[size_t(i)];
        if (!control.hitTest(at))
            continue;
        focus_ = i;
        if (TesselUsageLog* log = usageLog())
            log->logFocus(kPanelFocusPage, i, 1);
        control.onMouse(buttons, at);
        setDirty();
        return kLeft;
    }
    return 0;
}

void TesselPatternOptionsUI::draw(CDrawContext* context)
{
    if (!isShown() || !context)
        return;
    if (CBitmap* skin = getBackground(); skin && skin->getWidth() > 0) {
        skin->draw(context, size);
    } else {
        context->setFillColor(CColor{38, 40, 45, 0});
        context->fillRect(size);
    }
    label_.drawText(context, label_.name.c_str(), focus_ == kFocusTextBox);
    if (pattern_) {
        const CRect& box = *label_.getRect();
        drawBitmapText(context, pattern_->displayLabel(true).c_str(), box.right + kNumberGap, box.top + 2,
                       bitmapFonts()[kNumberFont].get());
    }
    for (size_t i = 0; i < sliders_.size(); ++i)
        sliders_[i]->draw(context, sliders_[i]->value, focus_ == int32_t(i));
    setDirty(false);
}

TesselPatternOptions* makePatternOptions(TesselEditorServices* editor)
{
    return new TesselPatternOptionsUI(editor);
}
