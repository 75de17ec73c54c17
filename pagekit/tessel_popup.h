#pragma once
// An in-page popup: an image with a button group over a page (the sample
// page's normalise choice, the instrument page's swap choice). Its page
// places it, forwards clicks to it and reads the result: the chosen
// button's index, or its text in text mode.

#include "gui/controls/button_group.h"
#include "gui/tessel_class.h"
#include "shell/usage_log_events.h"

#include <cstdint>
#include <memory>
#include <string>

class TesselUI;

class TesselPopup : public TesselClass {
public:
    static constexpr int32_t kClassId = 4;
    // The result while no choice is made.
    static constexpr int32_t kNoResult = -2;
    static constexpr int32_t kTextMode = 1;

    TesselPopup();
    ~TesselPopup();
    TesselPopup(const TesselPopup&) = delete;
    TesselPopup& operator=(const TesselPopup&) = delete;

    // The popup takes the group; its buttons are placed relative to the
    // popup's top-left, over the image.
    void setButtonGroup(std::unique_ptr<TesselButtonGroup> group);
    TesselButtonGroup* getButtonGroup() const { return group.get(); }
    // Holds one reference.
    void setImage(VSTGUI::CBitmap* bitmap);
    void setMode(int32_t newMode) { mode = newMode; }
    bool isTextMode() const { return mode == kTextMode; }

    // At (x, y) with the image's size, shown; nothing without a group.
    void show(int32_t x, int32_t y, VSTGUI::CBitmap* bitmap);
    // As show with the popup's own image, for that page, the result cleared.
    void place(int32_t x, int32_t y, TesselUI* page);
    void hide() { shown = false; }
    bool isShown() const { return shown; }

    // A click in page coordinates: the group takes it relative to the popup
    // and its choice becomes the result.
    void click(int32_t buttons, const CPoint& point);
    // The image and the buttons over it.
    void draw(VSTGUI::CDrawContext* context, bool focused);

    bool hitTest(const CPoint& point) const { return shown && point.isInside(rect); }
    const CRect& getRect() const { return rect; }
    TesselUI* getOwner() const { return owner; }
    int32_t resultIndex = kNoResult;
    std::string resultText;

    OMBRIX::iDATA logRecord{0.0f};

private:
    VSTGUI::CBitmap* image = nullptr;
    std::unique_ptr<TesselButtonGroup> group;
    int32_t mode = 0;
    CRect rect;
    bool shown = false;
    TesselUI* owner = nullptr;
};
