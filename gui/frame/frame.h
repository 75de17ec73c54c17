#pragma once
// The top-level view holder: a child window in a system window whose
// messages become view calls (paint, mouse, wheel, owner-drawn menu rows) and
// whose keys become the editor's key events. Children are kept in the order
// added; the last added is on top. A modal view, while set, gets the mouse,
// keys and updates first; the edit view (an open option menu) loses its focus
// on any mouse message. GUI thread only.

#include "gui/frame/view.h"
#include "platform/window.h"

#include <memory>
#include <vector>

namespace VSTGUI {

class UDropTarget;

class CFrame : public CView, private platform::WindowHandler {
public:
    // Without a system window there is no child window and drawing does
    // nothing. A view added to the frame hands the frame its reference.
    CFrame(const CRect& size, platform::Window* systemWindow, TesselFrameLink* editor);
    // Forgets the children still held, then destroys the child window.
    ~CFrame() override;

    void draw(CDrawContext* context = nullptr) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
    void update(CDrawContext* context) override;
    int32_t onKeyDown(VstKeyCode& key) override;
    int32_t onKeyUp(VstKeyCode& key) override;
    bool onDrop(void** items, int32_t count, int32_t type, CPoint& where) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    TesselFrameLink* getEditor() override { return editor_; }

    // Draws one child at once, or the whole frame for a view that is not one.
    virtual void draw(CView* view);
    // False, children kept, when memory runs out.
    virtual bool addView(CView* view);
    // False for a view that is not a child.
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    virtual bool isChild(CView* view) const;
    virtual int32_t getNbViews() const { return static_cast<int32_t>(children_.size()); }
    virtual CView* getView(int32_t index) const;
    virtual bool initFrame(platform::Window* systemWindow);

    // Redraws what is dirty, once the frame has been drawn.
    void idle();
    // False when another modal view is set.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView_; }
    void setEditView(CView* view);
    CView* getEditView() const { return editView_; }
    bool setDropActive(bool active);
    bool isDropActive() const { return dropActive_; }
    // Null while drops are not active.
    UDropTarget* getDropTarget() const { return dropTarget_.get(); }
    // Milliseconds of the window system; 0 without an editor.
    uint32_t getTicks() const;
    // The last child whose mouseable area holds the point, edges included.
    CView* getViewAt(const CPoint& where) const;
    // The cursor relative to the child window.
    bool getCurrentLocation(CPoint& where) const;
    bool isOpen() const { return open_; }
    bool isFirstDraw() const { return firstDraw_; }
    // Window pixels per frame pixel: points the frame hands out (popup
    // positions, pointer warps) are multiplied by it on the way to the screen.
    virtual int32_t pageScale() { return 1; }

    platform::Window* getSystemWindow() const { return systemWindow_; }
    // The frame's own child window; null without one.
    platform::Window* getWindow() const { return window_.get(); }
    platform::WindowSystem* getWindowSystem() const;
    // getMouseButtons of the window system: the state of the message being
    // handled, else the live one; 0 without a window system.
    int32_t getMouseButtons() const;
    // A context on the child window for one call (drawing nothing without one).
    std::unique_ptr<CDrawContext> createWindowContext();

protected:
    // The window procedure.
    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;

    std::unique_ptr<platform::Window> window_;
    platform::Window* systemWindow_ = nullptr;

private:
    void handleKey(const platform::WindowMessage& message);
    void handleDrag(platform::WindowMessage& message);
    void handleOwnerDraw(platform::Window& window, platform::MenuItemMessage& item, bool drawing);
    // Index of the next child down from index, for walks that survive
    // children leaving under them; -1 at the end.
    int32_t below(int32_t index) const;
    int32_t routeKey(VstKeyCode& key, int32_t (CView::*slot)(VstKeyCode&));

    TesselFrameLink* editor_;
    std::vector<CView*> children_;
    CView* modalView_ = nullptr;
    CView* editView_ = nullptr;
    bool firstDraw_ = true;
    bool open_ = true;
    bool dropActive_ = false;
    std::unique_ptr<UDropTarget> dropTarget_;
};

} // namespace VSTGUI

using VSTGUI::CFrame;
