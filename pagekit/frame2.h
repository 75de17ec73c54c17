#pragma once
// The editor window's frame, holding every page. Pages draw themselves
// through their own buffered drawing, so the frame draws nothing; a paint
// asks the pattern editor page to redraw; at double size the pages are
// drawn twice as large, so mouse and wheel points are halved and points
// going to the screen doubled.

#include "gui/frame/frame.h"

#include <cstdint>

class TesselUI;

class CFrame2 : public VSTGUI::CFrame {
public:
    // The base constructor gives it a child window of the system window.
    CFrame2(const CRect& size, platform::Window* systemWindow, TesselFrameLink* editor);
    ~CFrame2() override = default;

    void draw(CDrawContext* context = nullptr) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    void draw(CView* view) override;
    // Only the drop target: the base constructor made the window.
    bool initFrame(platform::Window* systemWindow) override;
    int32_t pageScale() override { return doubleSize() ? 2 : 1; }

    // Draws one page at once, buffered over the pattern editor page; the
    // pattern editor alone for none or a page that is not a child.
    void drawPage(TesselUI* page);

private:
    bool doubleSize();
};
