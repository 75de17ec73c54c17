#pragma once
// The toolkit's frame as the editor base uses it. Until the toolkit exists
// a frame holds no views: it draws nothing and takes no input.

#include "platform/vst2_records.h"

class CDrawContext;

struct CPoint {
    int32_t h = 0;
    int32_t v = 0;
};

class CFrame {
public:
    virtual ~CFrame() = default;

    // Redraws the dirty views once the window has been drawn.
    virtual void idle() {}
    // 1 when a view took the key, -1 when none did.
    virtual int32_t onKeyDown(VstKeyCode& /*key*/) { return -1; }
    virtual int32_t onKeyUp(VstKeyCode& /*key*/) { return -1; }
    virtual bool onWheel(CDrawContext* /*context*/, const CPoint& /*where*/, float /*distance*/) { return false; }
    virtual void draw(CDrawContext* /*context*/ = nullptr) {}
};
