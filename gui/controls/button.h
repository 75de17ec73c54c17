#pragma once
// A push or toggle button of the pages: a face drawn over the page's
// background from a bitmap (one face, or an upper and a lower face in a
// two-frame bitmap) or as a bevelled face in two colours, with a keyboard
// highlight. The face is cached and rebuilt only when its look changes.

#include "gui/controls/tessel_control.h"

#include <cstdint>

class TesselButton : public TesselControl {
public:
    static constexpr int32_t kClassId = 4;

    // An empty rectangle, default colours, no bitmap.
    TesselButton();
    // Bitmap id 0: no bitmap. Bevelled.
    TesselButton(const CRect& rect, int32_t bitmapId, const CColor& faceColour, const CColor& frameColour,
                 bool state);
    ~TesselButton() override;

    // Space or Enter toggle the state; the state.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // A press toggles the state.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    CRect* getRect() override { return &rect; }

    // The face for that look over the background behind the button (the
    // bitmap or context in the button's coordinates), then onto the target.
    void drawOverBitmap(VSTGUI::CDrawContext* target, bool down, bool highlighted, VSTGUI::CBitmap* background);
    void drawOverContext(VSTGUI::CDrawContext* target, bool down, bool highlighted, VSTGUI::CDrawContext* background);

    bool getState() const { return state; }
    void setState(bool on);
    // Moves the button; its cached face goes.
    void moveBy(int32_t dx, int32_t dy);
    // The group's text mode reads it.
    const std::string& getText() const { return name; }
    void setText(const std::string& text) { name = text; }
    bool isTwoFrame() const { return twoFrame; }

private:
    // True when the cached face no longer shows this look over that background.
    bool faceChanged(bool down, bool highlighted, const void* background);
    void drawFace(bool highlighted);
    void drawBitmapFace(bool highlighted);
    void drawColourFace(bool highlighted);
    void toggle();

    bool state = false;
    bool downLook = true;
    CRect rect;
    bool highlightedLook = false;
    bool twoFrame = false;
    VSTGUI::CBitmap* bitmap = nullptr;
    CColor faceColour;
    CColor frameColour;
    bool bevelled = false;
    // The background the cached face was drawn over.
    const void* drawnBackground = nullptr;
};
