#include "gui/draw_context.h"

#include "gui/frame/frame.h"
#include "platform/graphics/damage_list.h"
#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "platform/window.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {

CDrawContext::CDrawContext(CFrame* frame, platform::Image* image, platform::Window* window)
    : window_(window), frame_(frame)
{
    if (window) {
        const platform::Point origin = window->screenOrigin();
        screenOffset_ = CPoint(origin.x, origin.y);
    }
    if (frame)
        frame->getViewSize(clipRect_);
    else
        clipRect_ = CRect(0, 0, 1000, 1000);
    setTarget(image);
}

void CDrawContext::setTarget(platform::Image* image)
{
    canvas_.reset();
    if (!image)
        return;
    canvas_.emplace(*image);
    limit_ = image->bounds();
    applyPen();
}

CDrawContext::~CDrawContext()
{
    if (window_ && !drawn_.empty())
        window_->present(drawn_);
}

platform::WindowSystem* CDrawContext::getWindowSystem() const
{
    if (window_)
        return &window_->system();
    return frame_ ? frame_->getWindowSystem() : nullptr;
}

platform::Rect CDrawContext::shifted(const CRect& rect) const
{
    return {rect.left + offset_.h, rect.top + offset_.v, rect.right + offset_.h, rect.bottom + offset_.v};
}

platform::Point CDrawContext::shifted(const CPoint& point) const
{
    return {point.h + offset_.h, point.v + offset_.v};
}

void CDrawContext::limitTo(const CRect& area)
{
    if (canvas_)
        limit_ = intersect(area.toPlatform(), canvas_->image().bounds());
}

platform::Canvas* CDrawContext::canvas()
{
    if (!canvas_)
        return nullptr;
    canvas_->setClip(intersect(clipRect_.toPlatform(), limit_));
    drawn_ = platform::enclosing(drawn_, canvas_->clip());
    return &*canvas_;
}

void CDrawContext::applyPen()
{
    if (!canvas_)
        return;
    platform::Pen pen;
    pen.colour = frameColor_.toPlatform();
    pen.width = frameWidth_;
    pen.style = lineStyle_ == kLineOnOffDash ? platform::LineStyle::dotted : platform::LineStyle::solid;
    canvas_->setPen(pen);
}

void CDrawContext::moveTo(const CPoint& point)
{
    penLoc_ = point;
    if (canvas_)
        canvas_->moveTo(shifted(point));
}

void CDrawContext::lineTo(const CPoint& point)
{
    penLoc_ = point;
    if (platform::Canvas* c = canvas())
        c->lineTo(shifted(point));
}

void CDrawContext::setLineStyle(int32_t style)
{
    lineStyle_ = style;
    applyPen();
}

void CDrawContext::setLineWidth(int32_t width)
{
    frameWidth_ = width;
    applyPen();
}

void CDrawContext::setFrameColor(const CColor& colour)
{
    frameColor_ = colour;
    applyPen();
}

void CDrawContext::setClipRect(const CRect& clip)
{
    clipRect_ = CRect(shifted(clip));
}

CRect& CDrawContext::getClipRect(CRect& clip) const
{
    clip = clipRect_;
    clip.offset(-offset_.h, -offset_.v);
    return clip;
}

void CDrawContext::resetClipRect()
{
    if (frame_)
        frame_->getViewSize(clipRect_);
    else
        clipRect_ = CRect(0, 0, 1000, 1000);
}

void CDrawContext::fillPolygon(const CPoint* points, int32_t count)
{
    platform::Canvas* c = canvas();
    if (!c || !points || count < 3)
        return;
    constexpr int32_t kFixed = 30;
    platform::Point fixed[kFixed];
    std::vector<platform::Point> heap;
    platform::Point* shiftedPoints = fixed;
    if (count > kFixed) {
        heap.resize(static_cast<size_t>(count));
        shiftedPoints = heap.data();
    }
    for (int32_t i = 0; i < count; ++i)
        shiftedPoints[i] = shifted(points[i]);
    c->fillPolygon(shiftedPoints, static_cast<size_t>(count), fillColor_.toPlatform());
}

void CDrawContext::drawRect(const CRect& rect)
{
    moveTo(CPoint(rect.left, rect.top));
    lineTo(CPoint(rect.right, rect.top));
    lineTo(CPoint(rect.right, rect.bottom));
    lineTo(CPoint(rect.left, rect.bottom));
    lineTo(CPoint(rect.left, rect.top - frameWidth_ + 1));
}

void CDrawContext::fillRect(const CRect& rect)
{
    if (platform::Canvas* c = canvas())
        c->fillRect(shifted(CRect(rect.left + 1, rect.top + 1, rect.right, rect.bottom)), fillColor_.toPlatform());
}

void CDrawContext::drawPoint(const CPoint& point, const CColor& colour)
{
    if (platform::Canvas* c = canvas())
        c->setPixel(shifted(point), colour.toPlatform());
}

void CDrawContext::copyImage(const platform::Image& source, const CRect& destination, const CPoint& sourceAt)
{
    if (platform::Canvas* c = canvas())
        c->copy(source, shifted(destination), sourceAt.toPlatform());
}

void CDrawContext::copyImageChanges(const platform::Image& source, const CPoint& destination)
{
    if (!canvas_)
        return;
    const platform::Point at = shifted(destination);
    const platform::Rect area = intersect(platform::rectOfSize(at.x, at.y, source.width(), source.height()),
                                          intersect(clipRect_.toPlatform(), limit_));
    // Straight on the canvas: what it draws is presented part by part, not
    // as one rectangle around all of it.
    canvas_->setClip(area);
    for (const platform::Rect& part : platform::differingParts(canvas_->image(), source, at, area)) {
        canvas_->copy(source, part, {part.left - at.x, part.top - at.y});
        if (window_)
            window_->present(part);
    }
}

void CDrawContext::copyImageKeyed(const platform::Image& source, const CRect& destination, const CPoint& sourceAt,
                                  const CColor& key)
{
    if (platform::Canvas* c = canvas())
        c->copyKeyed(source, shifted(destination), sourceAt.toPlatform(), key.toPlatform());
}

void CDrawContext::stretchImage(const platform::Image& source, const CRect& sourceRect, const CRect& destination)
{
    if (platform::Canvas* c = canvas())
        c->stretch(source, sourceRect.toPlatform(), destination.toPlatform());
}

int32_t CDrawContext::getMouseButtons() const
{
    platform::WindowSystem* system = getWindowSystem();
    return system ? static_cast<int32_t>(system->inputState().bits & 63u) : 0;
}

namespace {

// Face and default size in pixels of each font id.
struct Face {
    const char* name;
    int32_t size;
};
constexpr Face kFaces[kFontCount] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

int32_t knownFont(int32_t fontId)
{
    return fontId >= 0 && fontId < kFontCount ? fontId : 0;
}

} // namespace

std::shared_ptr<const platform::Font> CDrawContext::openFont(int32_t fontId, int32_t size, int32_t style)
{
    fontId = knownFont(fontId);
    platform::FontRequest request;
    request.face = kFaces[fontId].name;
    request.height = -(size > 0 ? size : kFaces[fontId].size);
    request.weight = (style & kBoldFace) || fontId == 0 ? 700 : 400;
    request.italic = (style & kItalicFace) != 0;
    request.underline = (style & kUnderlineFace) != 0;
    return platform::FontCatalog::process().open(request);
}

void CDrawContext::setFont(int32_t fontId, int32_t size, int32_t style)
{
    fontId_ = knownFont(fontId);
    fontSize_ = size > 0 ? size : kFaces[fontId_].size;
    font_ = openFont(fontId_, fontSize_, style);
}

const platform::Font& CDrawContext::font()
{
    if (!font_)
        setFont(0);
    return *font_;
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, int32_t alignment)
{
    if (!text)
        return;
    const platform::Font& face = font();
    platform::Canvas* c = canvas();
    if (!c)
        return;
    platform::TextPaint paint;
    paint.colour = fontColor_.toPlatform();
    paint.opaque = opaque;
    paint.background = fillColor_.toPlatform();
    platform::Rect area = shifted(rect);
    platform::TextAlign align = platform::TextAlign::left;
    if (alignment == kCenterText)
        align = platform::TextAlign::centre;
    else if (alignment == kRightText)
        align = platform::TextAlign::right;
    else
        area.left += 1;
    platform::drawTextInRect(*c, face, text, area, align, paint);
}

} // namespace VSTGUI
