#pragma once
// The splash page: the product logo and version fading in over the pattern
// editor when the editor window is first made, and out at the first key.
// Levels run 0..300; the page is blended with the alpha v x v x 255 / 90000
// of the level that applies. The fade runs on a monotonic millisecond clock.

#include "pagekit/tessel_ui.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace VSTGUI {
class COffscreenContext;
}

class TesselSplashUI : public TesselUI {
public:
    static constexpr int32_t kClassId = 29;
    static constexpr float kFullLevel = 300.0f;
    // Milliseconds per level step of the fade.
    static constexpr float kStepMs = 35.0f;
    // The version text's line above the background's bottom, and its right margin.
    static constexpr int32_t kVersionLine = 107;
    static constexpr int32_t kVersionMargin = 20;

    // `clock`: monotonic milliseconds (the window system's ticks in the editor).
    TesselSplashUI(TesselEditorServices* editor, std::function<uint32_t()> clock);
    ~TesselSplashUI() override;

    bool wantsKeys() override { return false; }
    // Dirty while it fades, besides the page's own flag.
    bool isDirty() const override { return TesselUI::isDirty() || animating_; }
    // One pass of the fade, then the page blended onto the context.
    void draw(CDrawContext* context) override;

    // Shows the page over `area` and starts the fade-in from nothing.
    void start(const CRect& area);
    // A key while the logo shows: the fade-out starts from the level reached.
    void startFadeOut();
    // Hidden at once, the fade over (the editor window went).
    void finish();
    bool isFadingOut() const { return fadeOut_ > 0.0f; }
    bool isAnimating() const { return animating_; }
    float fadeInLevel() const { return fadeIn_; }
    float fadeOutLevel() const { return fadeOut_; }
    // The constant alpha of the blend at the current levels, 0..255.
    uint8_t alpha() const;
    // Where the background lies in the page: centred.
    CRect backgroundRect() const;

private:
    void stepFade(uint32_t now);
    void compose(CDrawContext& into);
    // The picture at full strength, composed once for the page's size.
    const platform::Image* picture();

    std::function<uint32_t()> clock_;
    CBitmap* logo_;
    CBitmap* hostMark_;
    float fadeIn_ = 0.0f;
    float fadeOut_ = 0.0f;
    uint32_t fadeStart_ = 0;
    bool animating_ = false;
    std::unique_ptr<VSTGUI::COffscreenContext> picture_;
};
