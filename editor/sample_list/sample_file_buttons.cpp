#include "editor/sample_list/sample_file_buttons.h"

#include "gui/bitmap.h"
#include "resources/sample_page_layout.h"

namespace {

using namespace resources::sample_page;

CRect buttonRect(int32_t button)
{
    const resources::SkinPlace& place = kFileButtons[button];
    return CRect(kFileButtonsX + place.left, kFileButtonsY + place.top, kFileButtonsX + place.right,
                 kFileButtonsY + place.bottom);
}

} // namespace

TesselSampleFileButtons::TesselSampleFileButtons()
    : up_(new VSTGUI::CBitmap(resources::kSampleFileButtonsUp)),
      down_(new VSTGUI::CBitmap(resources::kSampleFileButtonsDown))
{
}

TesselSampleFileButtons::~TesselSampleFileButtons()
{
    up_->forget();
    down_->forget();
}

int32_t TesselSampleFileButtons::buttonAt(const CPoint& point)
{
    for (int32_t button = kBrowse; button <= kDelete; ++button) {
        const CRect r = buttonRect(button);
        if (point.h >= r.left && point.h <= r.right && point.v >= r.top && point.v <= r.bottom)
            return button;
    }
    return kNone;
}

void TesselSampleFileButtons::draw(VSTGUI::CDrawContext* context) const
{
    up_->draw(context, CRect(kFileButtonsX, kFileButtonsY, kFileButtonsX + up_->getWidth(),
                             kFileButtonsY + up_->getHeight()));
    if (pressed_ < kBrowse || pressed_ > kDelete)
        return;
    const CRect r = buttonRect(pressed_);
    down_->draw(context, r, CPoint(r.left - kFileButtonsX, r.top - kFileButtonsY));
}
