#pragma once
// The face of a dialog: the items of its template laid out in a view that
// fills the dialog's frame. Texts (wrapped at word ends when their place has
// room for more than one line), group boxes, check boxes, edit boxes and
// icons are drawn here; buttons, drop lists and trackbars are the toolkit's
// controls; owner-drawn items are drawn by the dialog. Mouse and keys work
// the items as a dialog's controls work (Tab moves the focus, Return presses
// the default button unless a multi-line edit box has the focus, Escape
// cancels) and what the user does reaches the dialog procedure as WM_COMMAND
// and WM_HSCROLL. GUI thread only.

#include "gui/controls/control.h"
#include "gui/dialogs/dialog_edit.h"
#include "gui/dialogs/dialog_template.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TesselButton;
class TesselDropList;
class TesselSlider;
struct TesselKeyEvent;

struct DialogItem {
    int32_t id = -1;
    DialogItemKind kind = DialogItemKind::Text;
    CRect rect;
    std::string text;
    uint32_t style = 0;
    bool enabled = true;
    // A text shown as a link: clickable, underlined while the pointer is on it.
    bool link = false;
    bool hovered = false;

    // Drop lists: the entries and the selected one (-1: none).
    std::vector<std::string> entries;
    int32_t selection = -1;

    std::unique_ptr<TesselButton> button;
    TesselDropList* list = nullptr;   // reference counted
    std::unique_ptr<TesselSlider> slider;
    CBitmap* blankStrip = nullptr;    // a drop list's face without a selection

    bool checked = false;                   // check boxes
    std::unique_ptr<DialogEditText> edit;   // edit boxes
    CBitmap* icon = nullptr;                // icons

    bool takesFocus() const;
};

class DialogView : public CView, public CControlListener {
public:
    // What the user did, for the dialog procedure.
    using Notify = std::function<void(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

    static constexpr CColor kFace{224, 224, 220, 0};
    static constexpr CColor kInk{16, 16, 16, 0};
    static constexpr CColor kGreyInk{128, 128, 128, 0};
    static constexpr CColor kFrameLine{150, 150, 146, 0};
    static constexpr CColor kLinkInk{0, 0, 0xC0, 0};   // COLORREF 0xC00000
    static constexpr int32_t kTextFont = 4;             // Arial 11: the 8-point dialog font

    DialogView(const DialogTemplate& dialog, Notify notify);
    ~DialogView() override;

    DialogItem* item(int32_t id);
    const std::vector<std::unique_ptr<DialogItem>>& items() const { return items_; }

    void setText(int32_t id, const std::string& text);
    std::string text(int32_t id) const;
    void enable(int32_t id, bool enabled);
    bool isEnabled(int32_t id) const;
    void makeLink(int32_t id);

    // Drop lists. Entries go in order, or sorted without regard to case
    // when the list has kItemSorted; the index they went to.
    void clearList(int32_t id);
    int32_t addEntry(int32_t id, const std::string& text);
    void selectEntry(int32_t id, int32_t index);
    int32_t selection(int32_t id) const;
    // The list's entry index of that text, or -1.
    int32_t findEntry(int32_t id, const std::string& text) const;

    // Check boxes.
    void setChecked(int32_t id, bool checked);
    bool isChecked(int32_t id) const;

    // Edit boxes; null for another id.
    DialogEditText* edit(int32_t id);

    // Where an item lies in the view, and a new place for it.
    CRect itemRect(int32_t id) const;
    void setItemRect(int32_t id, const CRect& rect);

    // Trackbars.
    void setRange(int32_t id, int32_t minimum, int32_t maximum);
    void setPosition(int32_t id, int32_t position);
    int32_t position(int32_t id) const;

    // The focus, among enabled buttons, drop lists, trackbars, check boxes
    // and edit boxes; an edit box tabbed into has all its text selected.
    int32_t focusId() const { return focus_; }
    void setFocus(int32_t id);
    // The button Enter presses: the focused button, else the default one.
    int32_t defaultButton() const;

    // Keys from the dialog's frame; true when one was used.
    bool onKey(const TesselKeyEvent& key);

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons) override;
    // Scrolls the multi-line edit box under the pointer, three lines a notch.
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    void valueChanged(CDrawContext* context, CControl* control) override;

private:
    void add(const DialogItemTemplate& item);
    void remakeList(DialogItem& item);
    void redraw(const DialogItem& item);
    void redrawAll();
    DialogItem* itemAt(const CPoint& where);
    void moveFocus(int step);
    void press(DialogItem& item);
    void pressDown(DialogItem& item, const CPoint& where, int32_t buttons);
    void hover(const CPoint& where);
    void listChanged(DialogItem& item);
    void trackChanged(DialogItem& item, int32_t before);
    void drawItem(CDrawContext* context, DialogItem& item);
    void drawGroupBox(CDrawContext* context, const DialogItem& item);
    void drawButton(CDrawContext* context, DialogItem& item);
    void drawDropList(CDrawContext* context, DialogItem& item);
    void drawText(CDrawContext* context, const DialogItem& item);
    void drawCheckBox(CDrawContext* context, const DialogItem& item);
    void drawOwnerDrawn(CDrawContext* context, const DialogItem& item);
    void toggle(DialogItem& item);
    void greyOut(CDrawContext* context, const CRect& rect);

    Notify notify_;
    std::vector<std::unique_ptr<DialogItem>> items_;
    int32_t focus_ = -1;
    int32_t pressed_ = -1;          // the button held down, or the trackbar dragged
    bool pressedInside_ = false;
    int32_t lastButtons_ = 0;
};
