#pragma once
// Drawing by GDI's rules into a window's or a bitmap's image: every
// coordinate a call receives is shifted by the context's offset first. A
// context is made for one occasion (a paint, a mouse message, an idle) and
// deleted at once; what it drew into a window is presented then.

#include "gui/geometry.h"
#include "platform/graphics/canvas.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace platform {
class Font;
class Window;
class WindowSystem;
} // namespace platform

namespace VSTGUI {

class CFrame;

enum CHoriTxtAlign : int32_t { kLeftText = 0, kCenterText = 1, kRightText = 2 };
enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };
// setFont style bits.
enum CTxtFace : int32_t { kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };
constexpr int32_t kFontCount = 8;

class CDrawContext {
public:
    // image: the pixels drawn into, none for a context that draws nothing;
    // window: the window whose screen position and input the context reports.
    CDrawContext(CFrame* frame, platform::Image* image, platform::Window* window);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void moveTo(const CPoint& point);
    void lineTo(const CPoint& point);
    // kLineOnOffDash draws dots, anything else solid lines.
    void setLineStyle(int32_t style);
    int32_t getLineStyle() const { return lineStyle_; }
    void setLineWidth(int32_t width);
    int32_t getLineWidth() const { return frameWidth_; }
    void setDrawMode(int32_t mode) { drawMode_ = mode; }
    int32_t getDrawMode() const { return drawMode_; }

    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;
    void resetClipRect();

    // Filled with the fill colour, no outline; even-odd.
    void fillPolygon(const CPoint* points, int32_t count);
    // The outline takes right and bottom in: 0, 0, 10, 10 covers 0..10.
    void drawRect(const CRect& rect);
    // Leaves the left and top edges out: 0, 0, 10, 10 fills 1..9.
    void fillRect(const CRect& rect);
    void drawPoint(const CPoint& point, const CColor& colour);

    void setFontColor(const CColor& colour) { fontColor_ = colour; }
    CColor getFontColor() const { return fontColor_; }
    void setFrameColor(const CColor& colour);
    CColor getFrameColor() const { return frameColor_; }
    void setFillColor(const CColor& colour) { fillColor_ = colour; }
    CColor getFillColor() const { return fillColor_; }

    // Font id 0..7 (others become 0); size 0 takes the font's own; style
    // CTxtFace bits.
    void setFont(int32_t fontId, int32_t size = 0, int32_t style = 0);
    // The font setFont would take, for measuring away from a context.
    static std::shared_ptr<const platform::Font> openFont(int32_t fontId, int32_t size = 0, int32_t style = 0);
    int32_t getFont() const { return fontId_; }
    int32_t getFontSize() const { return fontSize_; }
    // One line, vertically centred; left-aligned text starts 1 pixel in.
    // Opaque text fills its own cell with the fill colour.
    void drawString(const char* text, const CRect& rect, bool opaque = false, int32_t alignment = kCenterText);
    // The font drawString uses: font 0 until setFont.
    const platform::Font& font();

    // 1 left, 2 middle, 4 right, 8 Shift, 16 Control, 32 Alt.
    int32_t getMouseButtons() const;

    void setOffset(const CPoint& offset) { offset_ = offset; }
    const CPoint& getOffset() const { return offset_; }
    // The top-left of the context's window on the screen; 0, 0 without one.
    const CPoint& getScreenOffset() const { return screenOffset_; }
    CFrame* getFrame() const { return frame_; }
    platform::Window* getWindow() const { return window_; }
    platform::WindowSystem* getWindowSystem() const;
    platform::Image* getImage() const { return canvas_ ? &canvas_->image() : nullptr; }

    // BitBlt: the destination's size from the source point, into the
    // destination shifted by the offset.
    void copyImage(const platform::Image& source, const CRect& destination, const CPoint& sourceAt);
    // TransparentBlt: as copyImage, keeping what lies under the key colour.
    void copyImageKeyed(const platform::Image& source, const CRect& destination, const CPoint& sourceAt,
                        const CColor& key);
    // As copyImage of the whole source at the destination's top-left (shifted
    // by the offset), but only where it differs from what is there; only the
    // parts that changed go to the window. Nothing changed, nothing sent.
    void copyImageChanges(const platform::Image& source, const CPoint& destination);
    // StretchBlt: neither rectangle is shifted.
    void stretchImage(const platform::Image& source, const CRect& sourceRect, const CRect& destination);

    // A paint draws only into the damaged area, whatever the clip rectangle.
    void limitTo(const CRect& area);

    // The canvas clipped as this context draws, for pages that draw through
    // the platform layer themselves (glyph runs, hatches, blends); they add
    // getOffset() to their coordinates. Null with nothing to draw on.
    platform::Canvas* platformCanvas() { return canvas(); }

protected:
    // Contexts on images of their own make them after the base.
    void setTarget(platform::Image* image);
    // The canvas clipped for drawing, or null when there is nothing to draw on.
    platform::Canvas* canvas();
    platform::Rect shifted(const CRect& rect) const;
    platform::Point shifted(const CPoint& point) const;
    void applyPen();

    std::optional<platform::Canvas> canvas_;

private:
    CPoint screenOffset_;
    CPoint offset_;
    platform::Window* window_;
    CFrame* frame_;
    int32_t fontSize_ = 0;
    int32_t fontId_ = 0;
    std::shared_ptr<const platform::Font> font_;
    CColor fontColor_ = kWhiteCColor;
    CPoint penLoc_;
    int32_t frameWidth_ = 1;
    CColor frameColor_ = kWhiteCColor;
    CColor fillColor_ = kBlackCColor;
    int32_t lineStyle_ = kLineSolid;
    int32_t drawMode_ = 0;
    CRect clipRect_;
    platform::Rect limit_;
    platform::Rect drawn_;
};

} // namespace VSTGUI

using VSTGUI::CDrawContext;
using VSTGUI::kBoldFace;
using VSTGUI::kCenterText;
using VSTGUI::kItalicFace;
using VSTGUI::kLeftText;
using VSTGUI::kLineOnOffDash;
using VSTGUI::kLineSolid;
using VSTGUI::kRightText;
using VSTGUI::kUnderlineFace;
