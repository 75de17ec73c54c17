#pragma once
// One-line entry fields of the pages: a text, or a fixed-width decimal number
// (at most 9 digits), edited from the keyboard with a block caret and pasted
// into from the clipboard. The text is the control's name; in number mode the
// control's value is the number. The face is cached and redrawn only when
// the text, the caret or the focus changed. GUI thread only.

#include "gui/controls/tessel_control.h"

#include <cstdint>
#include <string>

class TesselTextBox : public TesselControl {
public:
    static constexpr int32_t kClassId = 2;
    static constexpr int32_t kMaxDigits = 9;
    // The face: a strip this high, from the shared frame bitmap.
    static constexpr int32_t kFaceHeight = 11;

    TesselTextBox(const CRect& rect, int32_t maxLength, const std::string& text, bool numberMode);
    TesselTextBox(const TesselTextBox&) = delete;
    TesselTextBox& operator=(const TesselTextBox&) = delete;

    // Both return a pointer to the value (the number in number mode); the
    // text is `name`.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // The caret goes under the click.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    // Inside the rectangle, edges included.
    bool hitTest(const CPoint& point) override;
    void drawText(VSTGUI::CDrawContext* context, const char* text, bool focused) override;
    // Number boxes: the value zero-padded to the maximum length; focused,
    // the value is logged.
    void draw(VSTGUI::CDrawContext* context, int32_t value, bool focused) override;
    CRect* getRect() override { return &rect; }

    virtual void init(const CRect& rect, int32_t maxLength, const std::string& text, bool numberMode);
    virtual int32_t getMaxLength() const { return maxLength; }
    virtual int32_t getCaret() const { return caret; }
    virtual void setDirty(bool flag = true) { dirty = flag; }

    // The number's text: zero-padded to the maximum length.
    std::string numberText(int32_t number) const;
    int32_t getFirstVisible() const { return firstVisible; }
    bool isNumberMode() const { return numberMode; }

    std::string lastDrawnText;
    // When false the text is grey and the focused look highlights it all.
    bool editable = true;

protected:
    // The clipboard's text at the caret, control characters left out.
    void paste();
    // Characters that fit: (width - 4) / cell - 1, at least 0.
    int32_t visibleCharacters() const;
    int32_t cellWidth() const { return smallFont ? 6 : 8; }
    // What every key ends with: the caret kept in view, the text cut to the
    // maximum length, the number read again.
    void afterKey();
    void clampToText();

    bool numberMode = false;
    CRect rect;
    int32_t firstVisible = 0;
    int32_t maxLength = 0;
    int32_t caret = 0;
    int32_t drawnCaret = 0;

private:
    void textKey(const TesselKeyEvent& key);
    void numberKey(const TesselKeyEvent& key);
    void makeBackground(int32_t width);
};
