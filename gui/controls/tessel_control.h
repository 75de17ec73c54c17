#pragma once
// The base of the program's own controls (lists, text boxes, sliders,
// buttons, scroll bars, file boxes, envelope graphs, trees). A control is not
// a view: the page that owns it forwards keys and mouse to it, asks it
// whether a point lies inside it and tells it to draw into the page's
// context. It keeps its face cached and logs its value to the usage log
// (through a hook the plug-in sets, so the toolkit needs none of it).

#include "gui/geometry.h"
#include "gui/tessel_class.h"

#include <cstdint>
#include <memory>
#include <string>

struct TesselKeyEvent;
namespace VSTGUI {
class CBitmap;
class CDrawContext;
class COffscreenContext;
} // namespace VSTGUI

// A colour as setColour takes it: red in the low byte, then green, blue, alpha.
constexpr uint32_t tesselRgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 0)
{
    return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16 | uint32_t{alpha} << 24;
}

// Where the controls' value changes go, and the song they belong to (a
// control's first value for a new song is its starting state, not a change).
// Set from above: the plug-in points it at its usage log; without it (the
// stand-alone host) nothing is recorded and every value is of one song.
using TesselValueLog = void (*)(float value);
using TesselSongGeneration = int32_t (*)();
void setTesselValueLog(TesselValueLog log, TesselSongGeneration generation);

class TesselControl : public TesselClass {
public:
    explicit TesselControl(int32_t classId);
    // Deletes the cached offscreen and releases the two cached bitmaps.
    virtual ~TesselControl();
    TesselControl(const TesselControl&) = delete;
    TesselControl& operator=(const TesselControl&) = delete;

    // Input: each returns a pointer to the control's value.
    virtual int32_t* onKey(const TesselKeyEvent& key) = 0;
    virtual int32_t* onMouse(int32_t buttons, const CPoint& point) = 0;
    virtual bool hitTest(const CPoint& point) = 0;
    virtual void onMouseUp(const CPoint& point);
    virtual void drawText(VSTGUI::CDrawContext* context, const char* text, bool focused);
    virtual void draw(VSTGUI::CDrawContext* context, int32_t value, bool focused);
    // The colour, and the shade that goes with it: one of the page skins'
    // own, else a neutral grey.
    virtual void setColour(uint32_t rgba);
    // The control's rectangle in page pixels.
    virtual CRect* getRect() = 0;

    // Drawn with the focus on: the first value seen for a song is its
    // starting state; each later change is one record in the usage log.
    void logValue(bool focused);

    CColor getColour() const { return colour; }
    CColor getShade() const { return shade; }

    // The last value logged.
    float loggedValue = 0.0f;
    bool logEnabled = true;
    // The selected index, number or position.
    int32_t value = 0;
    std::string name;
    // The cached face is rebuilt before the next draw.
    bool dirty = true;
    // A member's own look flag.
    uint8_t mode = 0;
    // The focus with which the face was last drawn.
    bool drawnFocus = false;
    // Without a frame the content sits 2 pixels further in.
    bool framed = true;
    // 6-pixel glyph cells instead of 8.
    bool smallFont = false;

protected:
    std::unique_ptr<VSTGUI::COffscreenContext> offscreen;
    VSTGUI::CBitmap* face = nullptr;
    VSTGUI::CBitmap* faceBackground = nullptr;
    // Left to members (the slider's fill bar); the base never touches it.
    VSTGUI::CBitmap* memberBitmap = nullptr;
    CColor colour;
    CColor shade;
};
