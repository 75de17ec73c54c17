#pragma once
// A view with a float value in a range, a tag and a listener that hears of
// changed values. The base of the parameter display, the option menu and the
// page base.

#include "gui/frame/view.h"

#include <cstdint>

namespace VSTGUI {

class CControl;

class CControlListener {
public:
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // Non-zero: the listener took a click made with a modifier held.
    virtual int32_t controlModifierClicked(CDrawContext* context, CControl* control, int32_t buttons);

protected:
    ~CControlListener() = default;
};

class CControl : public CView {
public:
    // Two clicks within this many milliseconds make a double click.
    static constexpr int32_t kDoubleClickMs = 400;

    // Takes one reference on the background; mouse-enabled, not transparent.
    CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);
    ~CControl() override;

    void draw(CDrawContext* context) override = 0;
    // Dirty, or the value moved since it was last drawn.
    bool isDirty() const override;
    // true: counts as changed (old value -1, or 0 when the value is -1);
    // false: the value as it is now was drawn.
    void setDirty(bool flag = true) override;

    // Runs the frame's editor's paced idle.
    virtual void doIdleStuff();
    virtual void setValue(float newValue) { value = newValue; }
    virtual float getValue() const { return value; }
    virtual void setMin(float newMin) { vmin = newMin; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float newMax) { vmax = newMax; }
    virtual float getMax() const { return vmax; }
    virtual void setOldValue(float newOld) { oldValue = newOld; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float newDefault) { defaultValue = newDefault; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(int32_t newTag) { tag = newTag; }
    int32_t getTag() const { return tag; }
    virtual void setBackOffset(const CPoint& offset) { backOffset = offset; }
    // The background offset becomes the size's top-left.
    virtual void copyBackOffset();
    virtual void setWheelInc(float increment) { wheelInc = increment; }
    virtual float getWheelInc() const { return wheelInc; }
    // Into min..max.
    virtual void bounceValue();

    CControlListener* getListener() const { return listener; }
    void setListener(CControlListener* newListener) { listener = newListener; }
    int32_t getDoubleClickDelta() const { return doubleClickDelta; }

protected:
    CControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    int32_t lastTicks = -1;
    int32_t doubleClickDelta = kDoubleClickMs;
    CPoint backOffset;
};

} // namespace VSTGUI

using VSTGUI::CControl;
using VSTGUI::CControlListener;
