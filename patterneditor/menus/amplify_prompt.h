#pragma once
// The amplify prompt of the pattern grid: a small panel centred in the page
// with a slider of percent (0..200, starting at 100). Enter accepts the
// value, Escape closes the panel; other keys and the mouse go to the slider.

#include "gui/controls/slider.h"
#include "gui/geometry.h"
#include "resources/resource_ids.h"

#include <cstdint>
#include <memory>

struct TesselKeyEvent;
namespace VSTGUI {
class CBitmap;
class CDrawContext;
} // namespace VSTGUI

class TesselAmplifyPrompt {
public:
    static constexpr int32_t kSliderId = 3;
    static constexpr int32_t kMaximum = 200;
    static constexpr int32_t kStart = 100;
    enum Answer : int32_t { kGoesOn = 0, kAccepted = 1, kCancelled = -1 };

    TesselAmplifyPrompt();
    ~TesselAmplifyPrompt();
    TesselAmplifyPrompt(const TesselAmplifyPrompt&) = delete;
    TesselAmplifyPrompt& operator=(const TesselAmplifyPrompt&) = delete;

    // Shown centred in a page of that size, the slider back at 100.
    void open(int32_t pageWidth, int32_t pageHeight);
    void close() { shown_ = false; }
    bool isShown() const { return shown_; }

    Answer onKey(const TesselKeyEvent& key);
    // Page coordinates; only the left button places the value.
    void onMouse(int32_t x, int32_t y, int32_t buttons);
    void draw(VSTGUI::CDrawContext* context);

    int32_t percent() const { return slider_.value; }
    const CRect& rect() const { return rect_; }

private:
    TesselSlider slider_;
    VSTGUI::CBitmap* background_;
    CRect rect_;
    bool shown_ = false;
};
