#pragma once
// A horizontal value slider with a numeric readout: keys step the value or
// type it digit by digit, the mouse places it along the track, and a fill bar
// runs from the default value to the value. A minimum of -1 lets -1 stand
// for "none", shown by the label.

#include "gui/controls/tessel_control.h"

#include <cstdint>
#include <string>

class TesselSlider : public TesselControl {
public:
    static constexpr int32_t kClassId = 3;

    // digits: 2 or 3 in the readout. The fill bar starts at the minimum
    // until setDefaultValue.
    TesselSlider(const CRect& rect, int32_t minimum, int32_t maximum, int32_t value, int32_t digits = 3,
                 const char* label = "--", bool readoutLeft = true);
    ~TesselSlider() override;

    // Digits type a value; Enter commits it; Backspace and Delete set -1
    // when the minimum allows it; Home, End, Left and Right (with Shift by
    // 5) step it. The value.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // A press or drag on the track places the value.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    // Commits typed digits.
    void onMouseUp(const CPoint& point) override;
    void draw(VSTGUI::CDrawContext* context, int32_t value, bool focused) override;
    CRect* getRect() override { return &rect; }

    void setRect(const CRect& newRect);
    void setDefaultValue(int32_t point) { defaultValue = point; dirty = true; }
    // For lists whose rows lie 8 pixels apart: the face is one row high, on
    // black without the framed strip, the readout on its top line.
    void setCompact(bool on) { compact = on; dirty = true; }
    int32_t faceHeight() const;
    int32_t getMinimum() const { return minimum; }
    int32_t getMaximum() const { return maximum; }
    bool isTyping() const { return typedDigits > 0; }

    // Where the track starts in the face and how wide it is.
    int32_t trackStart() const;
    int32_t trackWidth() const;
    // The face's x of a value on the track.
    int32_t trackPosition(int32_t v) const;
    // What the readout shows: typed digits, the label or the value.
    std::string readout(bool& typed) const;

private:
    // A usable track: a range and some width.
    bool hasTrack() const { return maximum != minimum && trackWidth() > 0; }
    void typeDigit(int32_t digit);
    void commit();
    void rebuildFace(bool focused);

    int32_t minimum;
    int32_t maximum;
    CRect rect;
    int16_t typedDigits = 0;
    int32_t typedValue = 0;
    std::string label;
    int32_t defaultValue;
    int32_t digits;
    bool readoutLeft;
    int32_t drawnValue = 0;
    int16_t drawnTyped = 0;
    bool compact = false;
};
