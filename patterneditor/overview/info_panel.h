#pragma once
// The info panel: a bar that slides up over the bottom of the pattern grid
// and tells what the effect of the cell under the cursor does. It keeps a
// copy of the part of the grid's view it last showed, so that it redraws
// only when the view changed. The page draws the bar (drawBar); the page
// slot draw does nothing.

#include "pagekit/tessel_ui.h"
#include "patterneditor/effect_descriptions.h"
#include "patterneditor/grid/pattern_grid.h"
#include "patterneditor/menus/side_slide.h"

#include <cstdint>

class TesselInfoUI : public TesselUI {
public:
    static constexpr int32_t kClassId = 25;

    TesselInfoUI(TesselEditorServices* editor, const TesselPatternView& model);
    ~TesselInfoUI() override;

    void draw(CDrawContext* context) override { (void)context; }
    bool isDirty() const override;
    bool wantsKeys() override { return false; }

    // Slides in, or out when it is in and not moving.
    void toggle(bool animated = true);
    void show(bool flag, bool animated);
    bool isSliding() const { return slide_.isSliding(); }
    bool isVisible() const { return slide_.isVisible(); }
    bool mostlyShown() const { return slide_.mostlyShown(); }
    bool isIn() const { return slide_.in; }

    // The bar's rectangle (page coordinates) with its bottom edge at
    // `bottom`, where it stands now.
    CRect barRect(int32_t left, int32_t bottom) const;
    // Draws the bar for the cell and moves the slide on.
    void drawBar(CDrawContext* context, int32_t left, int32_t bottom, const TesselSubrowData& cell);
    // The help page a click on the bar asks for.
    const char* helpPageFor(const TesselSubrowData& cell) const;

    const TesselEffectTable& effects() const { return effects_; }

private:
    const TesselPatternView& model_;
    TesselPatternView shownView_;
    TesselEffectTable effects_;
    TesselSlide slide_;
    CBitmap* skin_;
};
