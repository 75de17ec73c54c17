#pragma once
// The pattern options panel: the current pattern's label (a three-character
// text box), its minor and major highlight steps and its length (three
// sliders). Focus runs slider 1, 2, 3, text box and starts on the text box;
// Enter reports the values to apply, Escape closes the panel.

#include "gui/controls/slider.h"
#include "gui/controls/text_box.h"
#include "patterneditor/menus/pattern_options.h"

#include <array>

class TesselPatternOptionsUI final : public TesselPatternOptions {
public:
    static constexpr int32_t kClassId = 15;
    static constexpr int32_t kFocusTextBox = 3;

    explicit TesselPatternOptionsUI(TesselEditorServices* editor);
    ~TesselPatternOptionsUI() override;

    void open(int32_t x, int32_t y, TesselPattern* pattern) override;
    bool holdsValues() const override { return pattern_ != nullptr; }
    // The label as the text box holds it; none when it is the pattern's own
    // number.
    TesselPatternValues values() const override;
    bool wantsKeys() override { return isShown(); }
    // 1 when Enter asks for the values to be applied.
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // Panel coordinates.
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    void draw(CDrawContext* context) override;

    int32_t focusIndex() const { return focus_; }
    TesselTextBox& labelBox() { return label_; }
    TesselSlider& slider(int i) { return *sliders_[size_t(i)]; }

private:
    TesselControl& focused();
    void close();

    TesselTextBox label_;
    std::array<TesselSlider*, 3> sliders_{};
    int32_t focus_ = kFocusTextBox;
    TesselPattern* pattern_ = nullptr;
};
