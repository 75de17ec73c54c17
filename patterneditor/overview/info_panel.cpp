#include "patterneditor/overview/info_panel.h"

#include "common/help_pages.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "resources/resource_ids.h"

namespace {

constexpr int32_t kFallbackWidth = 480;
constexpr int32_t kFallbackHeight = 30;
constexpr int32_t kTextLeft = 8;
constexpr int32_t kTitleTop = 3;
constexpr int32_t kDetailTop = 16;
constexpr int32_t kLineHeight = 12;
constexpr CColor kTitleInk{236, 196, 118, 0};
constexpr CColor kDetailInk{196, 200, 206, 0};

} // namespace

TesselInfoUI::TesselInfoUI(TesselEditorServices* editor, const TesselPatternView& model)
    : TesselUI(CRect(), 0, nullptr, editor, kClassId), model_(model), skin_(new CBitmap(resources::kInfoPanel))
{
    fillEffectDescriptions(effects_);
    const int32_t width = skin_->getWidth() > 0 ? skin_->getWidth() : kFallbackWidth;
    const int32_t height = skin_->getHeight() > 0 ? skin_->getHeight() : kFallbackHeight;
    setViewSize(CRect(0, 0, width, height));
    slide_.setHeight(height);
    draggable = false;
}

TesselInfoUI::~TesselInfoUI()
{
    skin_->forget();
}

bool TesselInfoUI::isDirty() const
{
    return TesselUI::isDirty() || slide_.isSliding() || !model_.sameView(shownView_);
}

void TesselInfoUI::toggle(bool animated)
{
    if (slide_.in && !slide_.isSliding())
        show(false, animated);
    else if (!slide_.in)
        show(true, animated);
}

void TesselInfoUI::show(bool flag, bool animated)
{
    slide_.show(flag, animated);
    setShown(slide_.isVisible() || flag);
    setDirty();
}

CRect TesselInfoUI::barRect(int32_t left, int32_t bottom) const
{
    const int32_t top = bottom - slide_.height + slide_.hidden;
    return CRect(left, top, left + size.width(), top + slide_.height);
}

void TesselInfoUI::drawBar(CDrawContext* context, int32_t left, int32_t bottom, const TesselSubrowData& cell)
{
    shownView_ = model_;
    setDirty(false);
    if (!context || !slide_.isVisible()) {
        slide_.step();
        setShown(slide_.isVisible());
        return;
    }
    const CRect bar = barRect(left, bottom);
    CRect clip;
    context->getClipRect(clip);
    context->setClipRect(CRect(left, bar.top, bar.right, bottom));
    if (skin_->getWidth() > 0) {
        skin_->draw(context, bar);
    } else {
        context->setFillColor(CColor{38, 40, 45, 0});
        context->fillRect(bar);
    }
    const TesselEffectSummary summary = describeEffect(effects_, cell.effect.command, cell.effect.parameter);
    context->setFont(4, 11);
    context->setFontColor(kTitleInk);
    context->drawString(summary.title.c_str(),
                        CRect(bar.left + kTextLeft, bar.top + kTitleTop, bar.right - 4, bar.top + kTitleTop + kLineHeight),
                        false, kLeftText);
    context->setFontColor(kDetailInk);
    context->drawString(summary.detail.c_str(),
                        CRect(bar.left + kTextLeft, bar.top + kDetailTop, bar.right - 4,
                              bar.top + kDetailTop + kLineHeight),
                        false, kLeftText);
    context->setClipRect(clip);
    slide_.step();
    setShown(slide_.isVisible());
}

const char* TesselInfoUI::helpPageFor(const TesselSubrowData& cell) const
{
    const std::string key = effectKey(cell.effect.command, cell.effect.parameter);
    if (cell.effect.command == '.' || !effects_.find(key))
        return help::kEffectList;
    return help::effectHelpPage(static_cast<unsigned char>(cell.effect.command), cell.effect.parameter);
}
