#pragma once
// A text box holding a folder, with a button that opens the folder chooser.
// Without the editable-path flag every click and Enter open the chooser;
// with it the text is edited and only a click on the drawn button opens it.

#include "gui/controls/text_box.h"

class TesselEditorServices;
namespace VSTGUI {
class CBitmap;
}

class TesselPathBox : public TesselTextBox {
public:
    static constexpr int32_t kClassId = 27;

    TesselPathBox(const CRect& rect, int32_t maxLength, const std::string& text, TesselEditorServices* editor);
    ~TesselPathBox();

    // Enter with the editable-path flag returns the value, other keys edit
    // and return null; without it Enter chooses and every key returns the value.
    int32_t* onKey(const TesselKeyEvent& key) override;
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    // The text area or the button.
    bool hitTest(const CPoint& point) override;
    void drawText(VSTGUI::CDrawContext* context, const char* text, bool focused) override;
    // The colour only: the shade stays light grey.
    void setColour(uint32_t rgba) override;

    // The chooser in folder mode, starting at the text: a chosen folder
    // becomes the text with a '/' after it; the caret goes to the end. The
    // text, unchanged on cancel or when the folder does not fit.
    const std::string& chooseFolder();
    // Where the button is drawn (and clicked): right of the text area.
    CRect buttonRect() const;

    bool buttonShown = false;
    bool editablePath = false;
    std::string chooserTitle = "Select a directory...";

private:
    VSTGUI::CBitmap* button_;
    TesselEditorServices* editor_;
};
