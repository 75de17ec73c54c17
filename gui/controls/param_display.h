#pragma once
// A control that shows its value as text in a framed box: filled or over a
// bitmap, with a flat outline or sunken or raised edges, and text that may
// cast a one-pixel shadow.

#include "gui/controls/control.h"
#include "gui/draw_context.h"

#include <cstdint>

namespace VSTGUI {

// Style bits of the parameter display and the option menu.
enum CParamDisplayStyle : int32_t {
    kCheckStyle = 0x1,          // option menu: each entry checked by its own flag
    kShadowText = 0x4,
    k3DIn = 0x80,
    k3DOut = 0x100,
    kPopupStyle = 0x200,        // option menu: the popup opens at the top edge
    kCheckCurrent = 0x400,      // option menu: a check mark on the current entry
    kNoTextStyle = 0x800,
    kNoDrawStyle = 0x1000,
    kNoFrame = 0x4000,
};

using CValueToText = void (*)(float value, char* text);
using CValueToTextWithData = void (*)(float value, char* text, void* userData);
using CTextToValue = void (*)(char* text, float& value);

class CParamDisplay : public CControl {
public:
    // A display with kNoDrawStyle starts clean.
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
    ~CParamDisplay() override;

    // The converters' text, else the value as "%2.2f".
    void draw(CDrawContext* context) override;

    virtual void setFont(int32_t fontId);
    virtual void setFontColor(const CColor& colour);
    virtual void setBackColor(const CColor& colour);
    virtual void setFrameColor(const CColor& colour);
    virtual void setShadowColor(const CColor& colour);
    virtual void setHoriAlign(int32_t alignment);
    virtual void setStringConvert(CValueToTextWithData converter, void* userData);
    virtual void setStringConvert(CValueToText converter);
    virtual void setString2FloatConvert(CTextToValue converter);
    virtual void setStyle(int32_t newStyle);
    virtual void setTxtFace(int32_t face);
    virtual void setTextTransparency(bool flag) { textTransparent = flag; }

    int32_t getStyle() const { return style; }
    int32_t getFont() const { return fontId; }

protected:
    // Background, outline or 3D edges, then the text (none for null).
    void drawText(CDrawContext* context, const char* text, CBitmap* bitmap = nullptr);

    CValueToText stringConvert = nullptr;
    CValueToTextWithData stringConvertWithData = nullptr;
    CTextToValue string2FloatConvert = nullptr;
    void* userData = nullptr;
    int32_t horiTxtAlign = kCenterText;
    int32_t style;
    int32_t fontId = 3;
    int32_t txtFace = 0;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor{255, 0, 0, 0};
    bool textTransparent = true;

private:
    void drawEdges(CDrawContext* context);
};

} // namespace VSTGUI

using VSTGUI::CParamDisplay;
