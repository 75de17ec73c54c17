#include "editor/help/help_page.h"
#include "shell/preferences.h"

#include "common/help_pages.h"
#include "common/help_viewer.h"
#include "editor/core/page_factory.h"
#include "editor/core/editor_page_services.h"
#include "gui/bitmap.h"
#include "gui/controls/button.h"
#include "pagekit/editor_services.h"
#include "gui/offscreen_context.h"
#include "patterneditor/pattern_editor_ui.h"
#include "plugin/plugin_globals.h"
#include "shell/usage_log.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kLeftButton = 1;
constexpr float kSlideInShare = 0.25f;
constexpr const char* kSearchQuery = "culture";

// The button faces in order; the show-at-start toggle has none (the panel
// draws its box and the mark shows its state).
constexpr int32_t kFaces[TesselHelpUI::kButtonCount] = {resources::kHelpContents, resources::kHelpSearch,
                                                        resources::kHelpGettingStarted, resources::kHelpFurther, 0};

struct ButtonPage {
    const char* page;
    help::HelpCommand command;
};
constexpr ButtonPage kButtonPages[4] = {
    {help::kWelcome, help::HelpCommand::contents},
    {help::kWelcome, help::HelpCommand::search},
    {help::kGettingStarted, help::HelpCommand::topic},
    {help::kFurther, help::HelpCommand::topic},
};

CRect placeOf(const resources::SkinPlace& place)
{
    return CRect(place.left, place.top, place.right, place.bottom);
}

} // namespace

TesselHelpUI::TesselHelpUI(TesselEditorPageServices* owner)
    : TesselHelpPage(CRect(), 0, nullptr, owner, kClassId), owner_(owner),
      inactiveSkin_(new CBitmap(resources::kHelpPanelInactive)), shownMark_(new CBitmap(resources::kHelpShownMark))
{
    auto* skin = new CBitmap(resources::kHelpPanel);
    setBackground(skin);
    skin->forget();
    for (int32_t i = 0; i < kButtonCount; ++i)
        buttons_[size_t(i)] = std::make_unique<TesselButton>(placeOf(resources::kHelpPanelButtons[i]), kFaces[i],
                                                             CColor{}, CColor{}, false);
    setViewSize(CRect(0, 0, skin->getWidth(), skin->getHeight()));
}

TesselHelpUI::~TesselHelpUI()
{
    inactiveSkin_->forget();
    shownMark_->forget();
}

void TesselHelpUI::placeIn(int32_t /*width*/, int32_t height)
{
    CBitmap* skin = getBackground();
    setViewSize(CRect(0, height - kBottomGap - skin->getHeight(), skin->getWidth(), height - kBottomGap));
    setMouseableArea(size);
}

void TesselHelpUI::show(bool flag, bool animated)
{
    logUsageAction(kCmdShowHelpBar, flag ? 1 : 0);
    if (flag) {
        for (auto& button : buttons_)
            button->setState(false);
        speed_ = animated ? kSlideInSpeed : 0.0f;
        if (!animated)
            visible_ = static_cast<float>(size.height());
        setShown(true);
        animating_ = animated;
    } else if (isShown()) {
        animating_ = true;
        speed_ = kSlideOutSpeed;
    }
    setDirty();
}

bool TesselHelpUI::buttonPressed(int32_t button) const
{
    return button >= 0 && button < kButtonCount && buttons_[size_t(button)]->getState();
}

uint8_t TesselHelpUI::blendAlpha(float visible, int32_t height)
{
    if (height <= 0)
        return 0;
    const int64_t v = std::lround(std::clamp(visible, 0.0f, static_cast<float>(height)));
    const int64_t full = int64_t(height) * height;
    return static_cast<uint8_t>((v * v * 255 + full / 2) / full);
}

int32_t TesselHelpUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    // Forwarded from the page under, in frame coordinates.
    if (!isShown() || isHiding() || !freshPress || !(buttons & kLeftButton))
        return 0;
    const CPoint at(x - size.left, y - size.top);
    int32_t hit = -1;
    for (int32_t i = 0; i < kButtonCount; ++i) {
        const bool inside = buttons_[size_t(i)]->hitTest(at);
        buttons_[size_t(i)]->setState(inside);
        if (inside)
            hit = i;
    }
    setDirty();
    if (hit >= 0)
        press(hit);
    return 1;
}

void TesselHelpUI::press(int32_t button)
{
    TesselPreferences& preferences = pluginPreferences();
    if (button == kShowHelpButton) {
        preferences.showHelp = preferences.showHelp ? 0 : 1;
        if (owner_)
            owner_->savePreferences();
        return;
    }
    if (!owner_)
        return;
    owner_->leaveTopmostForHelp();
    const ButtonPage& target = kButtonPages[button];
    owner_->openHelpViewer(target.page, target.command,
                           target.command == help::HelpCommand::search ? kSearchQuery : "");
}

void TesselHelpUI::step()
{
    const float height = static_cast<float>(size.height());
    if (speed_ > 0.0f) {
        auto* patternEditor = editor ? dynamic_cast<TesselPatternEditorUI*>(editor->basePage()) : nullptr;
        const float share = patternEditor && patternEditor->coveringPanelHeight() > 0 ? 4.0f : 16.0f;
        visible_ = std::max(visible_ - std::clamp(speed_ / share, kMinStep, kMaxStep), 0.0f);
        if (visible_ <= 0.0f) {
            setShown(false);
            animating_ = false;
            speed_ = 0.0f;
        }
        if (editor)
            editor->redrawPatternEditor();
    } else if (visible_ < height) {
        visible_ = std::min(visible_ + std::clamp((height - visible_) * kSlideInShare, kMinStep, kMaxStep), height);
        if (visible_ >= height) {
            animating_ = false;
            speed_ = 0.0f;
        }
    } else {
        animating_ = false;
        speed_ = 0.0f;
    }
}

// The whole panel at full strength, in page coordinates.
void TesselHelpUI::compose()
{
    const int32_t w = size.width();
    const int32_t h = size.height();
    if (!picture_ || picture_->getImage()->width() != w || picture_->getImage()->height() != h)
        picture_ = std::make_unique<COffscreenContext>(nullptr, w, h);
    const bool inactive = owner_ && !owner_->windowActive();
    CBitmap* skin = inactive ? inactiveSkin_ : getBackground();
    skin->draw(picture_.get(), CRect(0, 0, w, h));
    for (int32_t i = 0; i < kButtonCount; ++i)
        if (kFaces[i])
            buttons_[size_t(i)]->drawOverBitmap(picture_.get(), buttons_[size_t(i)]->getState(), false, skin);
    if (getPreferences().showHelp) {
        const CRect mark = placeOf(resources::kHelpShownMarkPlace);
        shownMark_->draw(picture_.get(), CRect(mark.left, mark.top, mark.left + shownMark_->getWidth(),
                                               mark.top + shownMark_->getHeight()));
    }
}

void TesselHelpUI::draw(CDrawContext* context)
{
    setDirty(false);
    if (!isShown() || size.width() <= 0 || size.height() <= 0)
        return;
    compose();
    if (animating_)
        step();
    if (!isShown())
        return;
    const int32_t rows = static_cast<int32_t>(std::lround(visible_));
    platform::Canvas* target = context ? context->platformCanvas() : nullptr;
    if (!target || rows <= 0)
        return;
    const CPoint& shift = context->getOffset();
    const platform::Rect source{0, 0, size.width(), rows};
    const platform::Rect destination{size.left + shift.h, size.bottom - rows + shift.v, size.right + shift.h,
                                     size.bottom + shift.v};
    target->blend(*picture_->getImage(), source, destination, blendAlpha(visible_, size.height()));
}

TesselHelpPage* makeHelpPage(TesselEditorPageServices* editor)
{
    return new TesselHelpUI(editor);
}
