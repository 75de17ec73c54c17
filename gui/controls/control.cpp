#include "gui/controls/control.h"

#include "gui/frame/frame.h"
#include "gui/frame/frame_link.h"

namespace VSTGUI {

int32_t CControlListener::controlModifierClicked(CDrawContext* /*context*/, CControl* /*control*/, int32_t /*buttons*/)
{
    return 1;
}

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag)
{
    setMouseEnabled(true);
    setTransparency(false);
    setBackground(background);
}

CControl::~CControl() = default;

bool CControl::isDirty() const
{
    return dirty || oldValue != value;
}

void CControl::setDirty(bool flag)
{
    dirty = flag;
    if (flag)
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    else
        oldValue = value;
}

void CControl::doIdleStuff()
{
    if (TesselFrameLink* editor = parentFrame ? parentFrame->getEditor() : nullptr)
        editor->doIdleStuff();
}

void CControl::copyBackOffset()
{
    backOffset = CPoint(size.left, size.top);
}

void CControl::bounceValue()
{
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

} // namespace VSTGUI
