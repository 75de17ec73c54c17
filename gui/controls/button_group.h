#pragma once
// Up to eight buttons of which one is chosen, with a keyboard highlight,
// drawn over a shared background: the pages' file buttons, the waveform
// choice and the choices of in-page popups.

#include "gui/controls/button.h"
#include "gui/controls/tessel_control.h"

#include <array>
#include <cstdint>
#include <memory>

class TesselButtonGroup : public TesselControl {
public:
    static constexpr int32_t kClassId = 4;
    static constexpr int32_t kMaxButtons = 8;

    TesselButtonGroup();
    // Holds one reference on the background.
    TesselButtonGroup(int32_t x, int32_t y, VSTGUI::CBitmap* background, int32_t value);
    ~TesselButtonGroup() override;

    // Space and Enter choose the highlighted button, Home and End highlight
    // the first and the last, Left and Right move the highlight round. The
    // chosen index.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // A press on a button (the last one holding the point) chooses and
    // highlights it.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(extent); }
    // Each button over the background, down when chosen, highlighted when
    // the group has the focus and it holds the highlight.
    void draw(VSTGUI::CDrawContext* context, int32_t value, bool focused) override;
    CRect* getRect() override { return &extent; }

    // A button at the rectangle moved by the origin; false, nothing added,
    // when the group is full.
    bool addButton(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t bitmapId,
                   const CColor& faceColour, const CColor& frameColour);
    // Moves every button and the extent by the change of origin.
    void setOrigin(int32_t x, int32_t y);

    int32_t getCount() const { return count; }
    int32_t getHighlight() const { return highlight; }
    void setHighlight(int32_t index) { highlight = index; }
    TesselButton* getButton(int32_t index) const;

private:
    int32_t highlight = 0;
    CPoint origin;
    std::array<std::unique_ptr<TesselButton>, kMaxButtons> buttons;
    CRect extent;
    int16_t count = 0;
    VSTGUI::CBitmap* background = nullptr;
};
