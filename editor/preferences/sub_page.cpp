#include "editor/preferences/sub_page.h"

#include "gui/bitmap.h"

TesselSubPage::TesselSubPage(TesselEditorPageServices* editor, int32_t skin, int32_t classId)
    : TesselUI(CRect(0, 0, 0, 0), 0, nullptr, editor, classId), TesselEditorPageOwner(editor)
{
    auto* bitmap = new CBitmap(skin);
    setBackground(bitmap);
    bitmap->forget();
    draggable = false;
}

TesselSubPage::~TesselSubPage() = default;

void TesselSubPage::moveTo(const CPoint& where)
{
    CBitmap* skin = getBackground();
    setViewSize(CRect(where.h, where.v, where.h + skin->getWidth(), where.v + skin->getHeight()));
}

void TesselSubPage::open(const CPoint& where)
{
    moveTo(where);
    shown = true;
    opened();
    setDirty();
}

void TesselSubPage::hide()
{
    shown = false;
    setDirty();
}

bool TesselSubPage::inCloseBox(int32_t x, int32_t y) const
{
    const int32_t width = size.width();
    return x >= width - kCloseBoxWidth && x <= width && y >= 0 && y <= kCloseBoxHeight;
}

bool TesselSubPage::newPress(int32_t buttons, int32_t mask)
{
    const bool pressed = (buttons & mask) && !(lastMouseButtons_ & mask);
    lastMouseButtons_ = buttons;
    return pressed;
}

void TesselSubPage::draw(CDrawContext* context)
{
    // A hidden page draws nothing and keeps page 8 from redrawing.
    if (!shown)
        setDirty(false);
    if (!context || !shown)
        return;
    CBitmap* skin = getBackground();
    const int32_t width = skin->getWidth();
    const int32_t height = skin->getHeight();
    if (!face_ || face_->getWidth() != width || face_->getHeight() != height)
        face_ = std::make_unique<COffscreenContext>(nullptr, width, height);
    skin->draw(face_.get(), CRect(0, 0, width, height));
    compose(*face_);
    face_->transfert(context, size);
    TesselUI::draw(context);
    setDirty(false);
}
