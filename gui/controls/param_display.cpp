#include "gui/controls/param_display.h"

#include "gui/bitmap.h"

#include <cstdio>

namespace VSTGUI {

namespace {

// Stores the new value; true when it changed.
template <typename T>
bool change(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background), style(style)
{
    if (style & kNoDrawStyle)
        setDirty(false);
}

CParamDisplay::~CParamDisplay() = default;

void CParamDisplay::draw(CDrawContext* context)
{
    char text[256] = {};
    if (stringConvertWithData)
        stringConvertWithData(value, text, userData);
    else if (stringConvert)
        stringConvert(value, text);
    else
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(value));
    drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* bitmap)
{
    setDirty(false);
    if ((style & kNoDrawStyle) || !context)
        return;

    CBitmap* face = bitmap ? bitmap : background;
    if (face) {
        if (transparent)
            face->drawTransparent(context, size, backOffset);
        else
            face->draw(context, size, backOffset);
    } else if (!transparent) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!(style & (kNoFrame | k3DIn | k3DOut))) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }
    if (style & (k3DIn | k3DOut))
        drawEdges(context);

    if ((style & kNoTextStyle) || !text)
        return;
    CRect oldClip;
    context->getClipRect(oldClip);
    context->setClipRect(size);
    context->setFont(fontId, 0, txtFace);
    context->setFillColor(backColor);
    if (style & kShadowText) {
        CRect shadow = size;
        shadow.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawString(text, shadow, !textTransparent, horiTxtAlign);
    }
    context->setFontColor(fontColor);
    context->drawString(text, size, !textTransparent, horiTxtAlign);
    context->setClipRect(oldClip);
}

void CParamDisplay::drawEdges(CDrawContext* context)
{
    // Sunken: light from the bottom right; raised: from the top left.
    const bool sunken = (style & k3DIn) != 0;
    context->setLineWidth(1);
    context->setFrameColor(sunken ? backColor : frameColor);
    context->moveTo(CPoint(size.left, size.bottom));
    context->lineTo(CPoint(size.left, size.top));
    context->lineTo(CPoint(size.right, size.top));
    context->setFrameColor(sunken ? frameColor : backColor);
    context->lineTo(CPoint(size.right, size.bottom));
    context->lineTo(CPoint(size.left, size.bottom));
}

void CParamDisplay::setFont(int32_t newFont)
{
    if (change(fontId, newFont))
        setDirty();
}

void CParamDisplay::setFontColor(const CColor& colour)
{
    if (change(fontColor, colour))
        setDirty();
}

void CParamDisplay::setBackColor(const CColor& colour)
{
    if (change(backColor, colour))
        setDirty();
}

void CParamDisplay::setFrameColor(const CColor& colour)
{
    if (change(frameColor, colour))
        setDirty();
}

void CParamDisplay::setShadowColor(const CColor& colour)
{
    if (change(shadowColor, colour))
        setDirty();
}

void CParamDisplay::setHoriAlign(int32_t alignment)
{
    if (change(horiTxtAlign, alignment))
        setDirty();
}

void CParamDisplay::setStringConvert(CValueToTextWithData converter, void* data)
{
    stringConvertWithData = converter;
    userData = data;
}

void CParamDisplay::setStringConvert(CValueToText converter)
{
    stringConvert = converter;
}

void CParamDisplay::setString2FloatConvert(CTextToValue converter)
{
    string2FloatConvert = converter;
}

void CParamDisplay::setStyle(int32_t newStyle)
{
    if (change(style, newStyle))
        setDirty();
}

void CParamDisplay::setTxtFace(int32_t face)
{
    if (change(txtFace, face))
        setDirty();
}

} // namespace VSTGUI
