#pragma once
// The sample page's six file buttons: one skin with all of them up, one with
// all of them pressed; the pressed one shows its face from the second while
// the mouse holds it.

#include "gui/geometry.h"

#include <cstdint>

namespace VSTGUI {
class CBitmap;
class CDrawContext;
} // namespace VSTGUI

class TesselSampleFileButtons {
public:
    enum Button : int32_t { kNone = -1, kBrowse, kSave, kCut, kCopy, kPaste, kDelete };

    TesselSampleFileButtons();
    ~TesselSampleFileButtons();
    TesselSampleFileButtons(const TesselSampleFileButtons&) = delete;
    TesselSampleFileButtons& operator=(const TesselSampleFileButtons&) = delete;

    // The button under a page point, edges included; kNone beside them.
    static int32_t buttonAt(const CPoint& point);
    // The face shown pressed; kNone for all up.
    void setPressed(int32_t button) { pressed_ = button; }
    int32_t pressed() const { return pressed_; }
    void draw(VSTGUI::CDrawContext* context) const;

private:
    VSTGUI::CBitmap* up_;
    VSTGUI::CBitmap* down_;
    int32_t pressed_ = kNone;
};
