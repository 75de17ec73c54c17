// The pattern options panel's stand-in until the panel is built: opened, it
// holds the pattern's own values; Enter applies them unchanged, Escape
// closes it.

#include "model/pattern.h"
#include "patterneditor/pattern_options.h"
#include "platform/key_event.h"

namespace {

constexpr int32_t kClassId = 15;
constexpr int32_t kWidth = 408;
constexpr int32_t kHeight = 103;

class StandIn final : public TesselPatternOptions {
public:
    explicit StandIn(TesselEditorServices* editor) : TesselPatternOptions(CRect(), 0, nullptr, editor, kClassId) {}

    void open(int32_t x, int32_t y, TesselPattern* pattern) override
    {
        setViewSize(CRect(x, y, x + kWidth, y + kHeight));
        if (pattern) {
            values_.label = pattern->label;
            values_.minorStep = pattern->minorStep;
            values_.majorStep = pattern->majorStep;
            values_.length = pattern->length();
        }
        opened_ = true;
        setShown(true);
    }
    bool holdsValues() const override { return opened_; }
    TesselPatternValues values() const override { return values_; }
    bool wantsKeys() override { return isShown(); }
    int32_t onKeyEvent(const TesselKeyEvent& key) override
    {
        if (key.virtualKey == kVkEscape || key.virtualKey == kVkEnter)
            setShown(false);
        return key.virtualKey == kVkEnter ? 1 : 0;
    }
    void draw(CDrawContext* context) override
    {
        if (!isShown() || !context)
            return;
        context->setFillColor(CColor{38, 40, 45, 0});
        context->fillRect(size);
        context->setFontColor(CColor{196, 200, 206, 0});
        context->setFont(0, 12);
        context->drawString("Pattern options", CRect(size.left + 8, size.top + 4, size.right, size.top + 20), false,
                            kLeftText);
        TesselUI::draw(context);
    }

private:
    TesselPatternValues values_;
    bool opened_ = false;
};

} // namespace

TesselPatternOptions* makePatternOptions(TesselEditorServices* editor)
{
    return new StandIn(editor);
}
