#pragma once
// The vertical bar of lists, trees and pages: a track in the shade with a
// thumb in the colour showing which share of the items is visible, dragged
// with the mouse. Its owner draws it and offers it the mouse first.

#include "gui/controls/tessel_control.h"

#include <cstdint>

class TesselScrollbar : public TesselControl {
public:
    static constexpr int32_t kClassId = 1;

    TesselScrollbar();
    explicit TesselScrollbar(const CRect& rect);

    // A bar takes no keys and no plain clicks: its owner calls trackMouse.
    int32_t* onKey(const TesselKeyEvent& key) override;
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    CRect* getRect() override { return &rect; }
    void setRect(const CRect& newRect) { rect = newRect; }

    // The track, and the thumb at that first visible item. With no items or
    // no height the thumb fills the track.
    void drawBar(VSTGUI::CDrawContext* context, int32_t firstVisible);
    // A press inside the bar starts a drag; while a button stays down the
    // position follows the pointer; the release ends it. True when the bar
    // took the event (the press, the drag and its release).
    bool trackMouse(const CPoint& point, int32_t buttons);

    void setCounts(int32_t totalItems, int32_t visibleItems);
    void setPosition(int32_t first) { position = first; }
    int32_t getPosition() const { return position; }
    int32_t getTotal() const { return total; }
    int32_t getVisible() const { return visible; }
    bool isDragging() const { return dragging; }
    // The last position a drag may reach: max(0, total - visible).
    int32_t lastPosition() const;

private:
    int32_t position = 0;
    int32_t visible = 0;
    int32_t total = 0;
    CRect rect;
    bool dragging = false;
    int32_t dragStartY = 0;
    int32_t dragStartPosition = 0;
    int32_t dragButtons = 0;
};
