#include "editor/core/splash_page.h"

#include "engine/engine_globals.h"
#include "gui/bitmap.h"
#include "pagekit/editor_services.h"
#include "gui/offscreen_context.h"
#include "gui/version_number.h"
#include "plugin/plugin_globals.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const CColor kFill{56, 64, 72, 0};

} // namespace

TesselSplashUI::TesselSplashUI(TesselEditorServices* editor, std::function<uint32_t()> clock)
    : TesselUI(CRect(), 0, nullptr, editor, kClassId), clock_(std::move(clock)),
      logo_(new CBitmap(resources::kSplashLogo)), hostMark_(new CBitmap(resources::kSplashHostMark))
{
    auto* background = new CBitmap(resources::kSplashBackground);
    setBackground(background);
    background->forget();
    // It stays in the frame over the pattern editor, which takes the clicks
    // (a press while the splash shows starts its fade-out).
    setMouseEnabled(false);
}

TesselSplashUI::~TesselSplashUI()
{
    logo_->forget();
    hostMark_->forget();
}

void TesselSplashUI::start(const CRect& area)
{
    setViewSize(area);
    setShown(true);
    fadeIn_ = 0.0f;
    fadeOut_ = 0.0f;
    fadeStart_ = clock_();
    animating_ = true;
    setDirty();
}

void TesselSplashUI::startFadeOut()
{
    if (!isShown() || isFadingOut())
        return;
    // Even a key before the first frame fades out from a visible level.
    fadeOut_ = std::max(fadeIn_, 1.0f);
    fadeStart_ = clock_();
    animating_ = true;
    setDirty();
}

void TesselSplashUI::finish()
{
    picture_.reset();
    setShown(false);
    fadeIn_ = 0.0f;
    fadeOut_ = 0.0f;
    animating_ = false;
}

uint8_t TesselSplashUI::alpha() const
{
    const float level = fadeOut_ > 0.0f ? fadeOut_ : fadeIn_;
    const double v = std::nearbyint(std::clamp(level, 0.0f, kFullLevel));
    return static_cast<uint8_t>(std::clamp(v * v * 255.0 / 90000.0, 0.0, 255.0));
}

CRect TesselSplashUI::backgroundRect() const
{
    CBitmap* skin = getBackground();
    const int32_t w = skin ? skin->getWidth() : 0;
    const int32_t h = skin ? skin->getHeight() : 0;
    const int32_t x = size.left + (size.width() - w) / 2;
    const int32_t y = size.top + (size.height() - h) / 2;
    return CRect(x, y, x + w, y + h);
}

void TesselSplashUI::stepFade(uint32_t now)
{
    const float step = static_cast<float>(static_cast<int32_t>(now - fadeStart_)) / kStepMs;
    if (fadeOut_ > 0.0f) {
        fadeOut_ -= std::max(step, 0.0f);
        if (fadeOut_ <= 0.0f) {
            fadeOut_ = 0.0f;
            setShown(false);
            picture_.reset();
            animating_ = false;
        }
        fadeIn_ = fadeOut_;
        if (editor)
            editor->redrawPatternEditor();
    } else if (fadeIn_ < kFullLevel) {
        fadeIn_ += std::max(step, 0.0f);
        if (fadeIn_ >= kFullLevel) {
            fadeIn_ = kFullLevel;
            animating_ = false;
            if (editor)
                editor->redrawPatternEditor();
        }
    }
}

// The page's picture at full strength, in page coordinates.
void TesselSplashUI::compose(CDrawContext& into)
{
    const CRect back = backgroundRect().offset(-size.left, -size.top);
    if (CBitmap* skin = getBackground())
        skin->draw(&into, back);
    if (inOwnHost())
        hostMark_->draw(&into, CRect(back.left + 8, back.bottom - 8 - hostMark_->getHeight(),
                                     back.left + 8 + hostMark_->getWidth(), back.bottom - 8));
    const int32_t logoX = (size.width() - logo_->getWidth()) / 2;
    const int32_t logoY = (size.height() - logo_->getHeight()) / 2;
    logo_->drawTransparent(&into, CRect(logoX, logoY, logoX + logo_->getWidth(), logoY + logo_->getHeight()));
    const std::string version = "Version " + formatVersionNumber(engineGlobals().programVersion);
    into.setFontColor(CColor{220, 226, 234, 0});
    into.setFont(0, 12);
    into.drawString(version.c_str(),
                    CRect(back.left, back.bottom - kVersionLine - 7, back.right - kVersionMargin,
                          back.bottom - kVersionLine + 7),
                    false, kRightText);
}

void TesselSplashUI::draw(CDrawContext* context)
{
    const uint32_t now = clock_();
    setDirty(false);
    if (fadeOut_ < 0.0f) {
        fadeOut_ += 1.0f;   // a pass of delay
        return;
    }
    if (!isShown())
        return;
    stepFade(now);
    const uint8_t strength = alpha();
    platform::Canvas* target = context ? context->platformCanvas() : nullptr;
    if (!target || strength == 0 || size.width() <= 0 || size.height() <= 0)
        return;
    const platform::Image* composed = picture();
    if (!composed)
        return;
    const CPoint& shift = context->getOffset();
    const CRect destination = CRect(size).offset(shift.h, shift.v);
    target->blend(*composed, composed->bounds(), destination.toPlatform(), strength);
}

const platform::Image* TesselSplashUI::picture()
{
    // What it shows never changes while it shows: the fade only blends it.
    if (!picture_ || picture_->getWidth() != size.width() || picture_->getHeight() != size.height()) {
        picture_ = std::make_unique<COffscreenContext>(nullptr, size.width(), size.height(), kFill);
        compose(*picture_);
    }
    return picture_->getImage();
}
