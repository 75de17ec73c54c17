#pragma once
// The base of everything a frame holds: a rectangle in frame coordinates, the
// area that takes the mouse, dirty, mouse and transparency flags and a
// background bitmap, with empty input and focus hooks for subclasses.

#include "gui/geometry.h"
#include "gui/reference_count.h"
#include "platform/vst2_records.h"

#include <cstdint>

class TesselFrameLink;

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class COwnerDraw;

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    // Releases the background.
    ~CView() override;

    // The base draws nothing and is clean afterwards.
    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    // Whether the rectangles overlap; touching edges count.
    virtual bool checkUpdate(const CRect& rect) const;
    virtual void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1);
    // A dirty view draws (through the frame without a context) and is clean.
    virtual void update(CDrawContext* context);
    virtual int32_t notify(CView* sender, const char* message);
    // Takes one reference on the new bitmap, releases the old one.
    virtual void setBackground(CBitmap* bitmap);
    virtual CBitmap* getBackground() const { return background; }
    // -1: not handled.
    virtual int32_t onKeyDown(VstKeyCode& key);
    virtual int32_t onKeyUp(VstKeyCode& key);
    virtual bool onDrop(void** items, int32_t count, int32_t type, CPoint& where);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    virtual void looseFocus(CDrawContext* context = nullptr);
    virtual void takeFocus(CDrawContext* context = nullptr);
    virtual bool isDirty() const { return dirty; }
    virtual void setDirty(bool flag = true) { dirty = flag; }
    virtual void setMouseEnabled(bool flag = true) { mouseEnabled = flag; }
    virtual bool getMouseEnabled() const { return mouseEnabled; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    virtual CRect& getMouseableArea(CRect& rect) const;
    // Inside the mouseable area, edges included.
    virtual bool hitTest(const CPoint& where, int32_t buttons = -1);
    virtual void setTransparency(bool flag) { transparent = flag; }
    virtual bool getTransparency() const { return transparent; }
    virtual void setViewSize(const CRect& rect);
    virtual CRect& getViewSize(CRect& rect) const;
    virtual void setParentView(CView* view) { parentView = view; }
    virtual void setFrame(CFrame* frame) { parentFrame = frame; }
    CFrame* getFrame() const { return parentFrame; }
    // The parent frame's editor; none without a frame.
    virtual TesselFrameLink* getEditor();
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);
    // The cursor relative to the context's window.
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& localToFrame(CPoint& point) const;
    // The handler that measures and draws owner-drawn rows of this view's
    // popup; only option menus have one.
    virtual COwnerDraw* getOwnerDraw() { return nullptr; }

protected:
    CRect size;
    CRect mouseableArea;
    CFrame* parentFrame = nullptr;
    CView* parentView = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool transparent = false;
    CBitmap* background = nullptr;
};

// Measures and draws one owner-drawn popup row.
class COwnerDraw {
public:
    virtual ~COwnerDraw() = default;
    virtual void measure(uintptr_t itemData, CDrawContext* context, int32_t& width, int32_t& height) = 0;
    // state: 1 checked, 2 grayed, 4 selected.
    virtual void draw(uintptr_t itemData, int32_t id, uint32_t state, CDrawContext* context, const CRect& rect) = 0;
};

} // namespace VSTGUI

using VSTGUI::CBitmap;
using VSTGUI::CDrawContext;
using VSTGUI::CFrame;
using VSTGUI::COwnerDraw;
using VSTGUI::CView;
