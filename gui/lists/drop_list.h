#pragma once
// The one-line selector of the pages: a control showing the current entry
// that opens a popup menu of its entries, and at the same time an option
// menu holding them. It is no child of a frame: its page owns it, forwards
// keys and clicks to it and draws it; its menu opens over the page's frame.

#include "gui/controls/tessel_control.h"
#include "gui/lists/option_menu.h"

#include <cstdint>
#include <string>

class TesselFrameLink;

// Where a drop list's entries come from when they change while it lives:
// asked to fill the menu anew each time it opens.
class TesselEntrySource {
public:
    virtual void fillEntries(COptionMenu& menu) = 0;

protected:
    ~TesselEntrySource() = default;
};

class TesselDropList : public TesselControl, public COptionMenu {
public:
    static constexpr int32_t kClassId = 4;
    // Style bit: the popup tracks the right button too. (The parameter
    // display's shadowed text, the same bit, is never drawn here.)
    static constexpr int32_t kRightButtonStyle = 0x4;
    static constexpr int32_t kTextSize = 260;

    // The text shows until the first entry is drawn. The scroll bitmap is
    // the menu's pressed background.
    TesselDropList(const CRect& rect, TesselEntrySource* source, const char* text, CBitmap* background = nullptr,
                   CBitmap* scrollBitmap = nullptr, int32_t style = 0);
    // Goes through forget, as every option menu.
    ~TesselDropList() override;

    // Space and Right the next entry, Left the previous one, both wrapping;
    // Enter opens the popup. The menu's value.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // A press opens the popup.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(size); }
    // The face for that value: the strip and the entry's text.
    void draw(CDrawContext* context, int32_t value, bool focused) override;
    // The same face, unfocused: never the parameter display's text, whose
    // shadow style bit means right-button tracking here.
    void draw(CDrawContext* context) override;
    CRect* getRect() override { return &size; }
    // The menu's current entry, which the control's value follows.
    void setValue(float newValue) override;

    // Shows the entries as a popup menu under the control where its page
    // shows it; a choice sets the value of the menu that holds it and tells
    // that menu's listener.
    void popup();

    // The page that owns the list and over which it opens, and its editor;
    // set by the page. Held as a view and a frame link, so the list needs
    // nothing of pages.
    void setOwner(CView* page, TesselFrameLink* editor)
    {
        owner = page;
        ownerEditor = editor;
    }
    CView* getOwner() const { return owner; }
    // The text last drawn.
    const char* shownText() const { return text; }
    int32_t currentValue() const { return TesselControl::value; }

private:
    // The current entry as an index; 0 when there is none.
    int32_t currentIndex() const;
    void select(int32_t index);
    void refill();
    // The frame the popup opens over: the owner's, else the editor's
    // window frame, else the menu's own.
    CFrame* popupFrame() const;
    // The popup's top-left on the screen.
    CPoint popupPoint(CFrame& frame) const;
    void rebuildFace(bool focused);

    TesselEntrySource* source;
    CView* owner = nullptr;
    TesselFrameLink* ownerEditor = nullptr;
    char text[kTextSize] = {};
    int32_t drawnValue = 0;
};
