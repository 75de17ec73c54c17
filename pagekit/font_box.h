#pragma once
// A text box showing a font as "Face, 12, Bold Italic"; Enter or a click
// opens the font chooser. The record is the preferences' font, its height in
// points.

#include "gui/controls/text_box.h"
#include "shell/preferences.h"

class TesselEditorServices;

class TesselFontBox : public TesselTextBox {
public:
    TesselFontBox(const CRect& rect, TesselEditorServices* editor);

    // Both return a pointer to the font record.
    int32_t* onKey(const TesselKeyEvent& key) override;
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;

    // On OK the record is replaced, the editor told and the text rebuilt.
    // The record either way.
    const TesselFontRecord& chooseFont();
    // Takes the record's text and draws it.
    void drawFont(VSTGUI::CDrawContext* context, const TesselFontRecord& font, bool focused);
    void setFont(const TesselFontRecord& font);
    const TesselFontRecord& getFont() const { return font_; }

    // The face, the height and "Regular", "Italic", "Bold" or "Bold Italic".
    static std::string describe(const TesselFontRecord& font);

private:
    TesselFontRecord font_{};
    TesselEditorServices* editor_;
};
