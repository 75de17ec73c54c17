#include "gui/controls/button.h"

#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "platform/key_event.h"

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

} // namespace

TesselButton::TesselButton()
    : TesselControl(kClassId), faceColour(control_skin::kButtonFace), frameColour(control_skin::kButtonFrame)
{
    setColour(control_skin::kDefaultColour);
}

TesselButton::TesselButton(const CRect& rect, int32_t bitmapId, const CColor& faceColour, const CColor& frameColour,
                           bool state)
    : TesselControl(kClassId), state(state), downLook(!state), rect(rect),
      bitmap(bitmapId ? new CBitmap(bitmapId) : nullptr), faceColour(faceColour), frameColour(frameColour),
      bevelled(true)
{
    twoFrame = bitmap && rect.height() > 0 && bitmap->getHeight() == 2 * rect.height();
    value = state ? 1 : 0;
    setColour(control_skin::kDefaultColour);
}

TesselButton::~TesselButton()
{
    if (bitmap)
        bitmap->forget();
}

void TesselButton::toggle()
{
    setState(!state);
}

void TesselButton::setState(bool on)
{
    state = on;
    value = on ? 1 : 0;
}

int32_t* TesselButton::onKey(const TesselKeyEvent& key)
{
    if (!key.keyUp && (key.virtualKey == kVkSpace || key.virtualKey == kVkEnter))
        toggle();
    return &value;
}

int32_t* TesselButton::onMouse(int32_t buttons, const CPoint& /*point*/)
{
    if (buttons & kMouseButtons)
        toggle();
    return &value;
}

void TesselButton::moveBy(int32_t dx, int32_t dy)
{
    rect.offset(dx, dy);
    offscreen.reset();
    dirty = true;
}

bool TesselButton::faceChanged(bool down, bool highlighted, const void* background)
{
    const int32_t width = rect.width();
    const int32_t height = rect.height();
    if (!offscreen || offscreen->getWidth() != width || offscreen->getHeight() != height) {
        offscreen = std::make_unique<COffscreenContext>(nullptr, width, height);
        dirty = true;
    }
    if (!dirty && down == downLook && highlighted == highlightedLook && background == drawnBackground)
        return false;
    downLook = down;
    highlightedLook = highlighted;
    drawnBackground = background;
    dirty = false;
    return true;
}

void TesselButton::drawOverBitmap(VSTGUI::CDrawContext* target, bool down, bool highlighted,
                                  VSTGUI::CBitmap* background)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (faceChanged(down, highlighted, background)) {
        if (background)
            background->draw(offscreen.get(), CRect(0, 0, rect.width(), rect.height()), CPoint(rect.left, rect.top));
        drawFace(highlighted);
    }
    offscreen->transfert(target, rect);
}

void TesselButton::drawOverContext(VSTGUI::CDrawContext* target, bool down, bool highlighted,
                                   VSTGUI::CDrawContext* background)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    if (faceChanged(down, highlighted, background)) {
        offscreen->copyTo(background, rect, CPoint());
        drawFace(highlighted);
    }
    offscreen->transfert(target, rect);
}

void TesselButton::drawFace(bool highlighted)
{
    const int32_t w = rect.width();
    const int32_t h = rect.height();
    if (bevelled && !twoFrame) {
        offscreen->setFrameColor(frameColour);
        offscreen->drawRect(CRect(1, 1, w - 2, h - 2));
    }
    if (twoFrame)
        drawBitmapFace(highlighted);
    else
        drawColourFace(highlighted);
}

void TesselButton::drawBitmapFace(bool highlighted)
{
    const int32_t w = rect.width();
    const int32_t h = rect.height();
    bitmap->drawTransparent(offscreen.get(), CRect(0, 0, w, h), CPoint(0, downLook ? h : 0));
    if (!highlighted)
        return;
    COffscreenContext& face = *offscreen;
    face.setFrameColor(control_skin::kHighlight);
    face.moveTo(CPoint(2, 1));
    face.lineTo(CPoint(w - 2, 1));
    face.moveTo(CPoint(2, h - 2));
    face.lineTo(CPoint(w - 2, h - 2));
    face.moveTo(CPoint(w - 2, 2));
    face.lineTo(CPoint(w - 2, h - 2));
    face.moveTo(CPoint(1, 2));
    face.lineTo(CPoint(1, h - 2));
    value = downLook ? 1 : 0;
    logValue(true);
    value = state ? 1 : 0;
}

void TesselButton::drawColourFace(bool highlighted)
{
    const int32_t w = rect.width();
    const int32_t h = rect.height();
    const bool lit = bevelled && highlighted;
    const CRect all(0, 0, w, h);
    if (downLook) {
        control_skin::fill(offscreen.get(), all, lit ? control_skin::kHighlight : frameColour);
        control_skin::fill(offscreen.get(), CRect(2, 2, w - 2, h - 2), faceColour);
    } else if (lit) {
        control_skin::fill(offscreen.get(), all, control_skin::kHighlight);
        control_skin::fill(offscreen.get(), CRect(1, 1, w - 1, h - 1), faceColour);
    } else {
        control_skin::fill(offscreen.get(), all, faceColour);
    }
    if (bitmap)
        bitmap->drawTransparent(offscreen.get(),
                                CRect((w - bitmap->getWidth()) / 2, (h - bitmap->getHeight()) / 2 + 1,
                                      (w - bitmap->getWidth()) / 2 + bitmap->getWidth(),
                                      (h - bitmap->getHeight()) / 2 + 1 + bitmap->getHeight()));
}
