#pragma once
// The help panel: slides up from the bottom of the editor window over the
// current page with buttons that open the getting-started pages of the help
// and a toggle of "showhelp". It steps its slide once per draw, and the
// editor draws it on every redraw request while it moves. Drawn by the page
// under it (drawOverlays); its mouse comes forwarded in frame coordinates.

#include "editor/core/page_kinds.h"

#include <array>
#include <cstdint>
#include <memory>

namespace VSTGUI {
class COffscreenContext;
}
class TesselButton;
class TesselEditorPageServices;

class TesselHelpUI final : public TesselHelpPage {
public:
    static constexpr int32_t kClassId = 13;
    // Gap between the panel and the bottom of the editor window.
    static constexpr int32_t kBottomGap = 15;
    static constexpr float kSlideInSpeed = -5.0f;
    // Slide-out steps are this / 16 (a quarter of it while a panel of the
    // pattern editor shows), within kMinStep..kMaxStep rows.
    static constexpr float kSlideOutSpeed = 64.0f;
    static constexpr float kMinStep = 0.1f;
    static constexpr float kMaxStep = 10.0f;
    static constexpr int32_t kButtonCount = 5;
    static constexpr int32_t kShowHelpButton = 4;

    // `owner`: the editor whose viewer and preferences the buttons use (none
    // in a page without an editor: the buttons only mark themselves).
    explicit TesselHelpUI(TesselEditorPageServices* owner);
    ~TesselHelpUI() override;

    bool wantsKeys() override { return false; }
    void draw(CDrawContext* context) override;
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;

    void show(bool show, bool animated) override;
    bool isHiding() const override { return speed_ > 0.0f; }
    bool isAnimating() const override { return animating_; }
    void placeIn(int32_t width, int32_t height) override;

    float visibleHeight() const { return visible_; }
    float slideSpeed() const { return speed_; }
    bool buttonPressed(int32_t button) const;
    // The constant alpha of the blend at a visible height: v x v x 255 / (H x H),
    // v rounded to the nearest row, as MulDiv rounds.
    static uint8_t blendAlpha(float visible, int32_t height);

private:
    void step();
    void press(int32_t button);
    void compose();

    TesselEditorPageServices* owner_;
    std::array<std::unique_ptr<TesselButton>, kButtonCount> buttons_;
    CBitmap* inactiveSkin_;
    CBitmap* shownMark_;
    std::unique_ptr<VSTGUI::COffscreenContext> picture_;
    bool animating_ = false;
    float visible_ = 0.0f;
    float speed_ = 0.0f;
};
