// The sample list page's mouse: the scroll bar, the list, the normalise
// popup, the browser, the six file buttons and the fields; and the wheel.

#include "editor/sample_list/sample_edit.h"
#include "editor/sample_list/sample_list_page.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/file_box.h"
#include "platform/system/clock.h"
#include "platform/status_text.h"
#include "platform/window.h"
#include "resources/sample_page_layout.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace resources::sample_page;

constexpr int32_t kLeft = 1;
constexpr int32_t kAnyButton = 1 | 2 | 4;
constexpr uint32_t kDoubleClickMs = 500;
// Left of this x a click selects the row without editing its name.
constexpr int32_t kNumberColumnEnd = 27;
constexpr int32_t kNameEnd = 226;

bool inside(const CPoint& point, const resources::SkinPlace& place)
{
    return point.h >= place.left && point.h <= place.right && point.v >= place.top && point.v <= place.bottom;
}

bool followsDrag(int32_t field)
{
    return field >= TesselSampleFields::kGlobalVolume && field != TesselSampleFields::kVibratoWave;
}

} // namespace

int32_t TesselSampleListUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    const CPoint point(x, y);
    // Moves with no button held reach here too; only a release matters of them.
    const bool wasHeld = (heldButtons_ & kAnyButton) != 0;
    heldButtons_ = buttons;
    if (!(buttons & kAnyButton) && !wasHeld)
        return -1;
    const bool fresh = freshPress && (buttons & kAnyButton);
    sample_ = currentIndex();
    if (fresh)
        dropPending();
    if (scrollbar_.trackMouse(point, buttons)) {
        firstRow_ = std::clamp(scrollbar_.getPosition(), 0, kSamples - kVisibleRows);
        setDirty();
        return -1;
    }
    if (!(buttons & kLeft)) {
        if (!(buttons & kAnyButton)) {
            fileButtons_.setPressed(TesselSampleFileButtons::kNone);
            dragField_ = 0;
            if (mode_ == kBrowserMode)
                fileBox_->handleClick(buttons, point);
            setDirty();
        }
        return -1;
    }
    const bool doubleClick = fresh && isDoubleClick(x, y);
    if (normalise_.isShown()) {
        if (fresh)
            clickPopup(buttons, point);
        return -1;
    }
    TesselSampleEdit edit(song, sample_);
    if (inside(point, kListHit)) {
        if (x > kNumberColumnEnd) {
            setField(TesselSampleFields::kList, edit);
            nameCursor_ = x > kNameEnd ? kNameNotEdited : (x - kListNameX) / 8;
        }
        edit.commit();
        selectSample((y - kListHit.top) / 8 + firstRow_ + 1, true);
    } else if (mode_ == kBrowserMode) {
        clickBrowser(doubleClick, point);
    } else {
        const int32_t button = TesselSampleFileButtons::buttonAt(point);
        if (button != TesselSampleFileButtons::kNone) {
            if (fresh) {
                fileButtons_.setPressed(button);
                clickFileButton(button, edit);
            }
        } else {
            clickField(buttons, point, edit);
        }
    }
    edit.commit();
    setDirty();
    return -1;
}

bool TesselSampleListUI::isDoubleClick(int32_t x, int32_t y)
{
    TesselEditorPageServices* editorObject = owner();
    platform::WindowSystem* windows = editorObject ? editorObject->windowSystem() : nullptr;
    const uint32_t now = windows ? windows->ticks() : platform::milliseconds();
    const bool twice = lastPressValid_ && now - lastPressTime_ <= kDoubleClickMs &&
                       std::abs(x - lastPress_.h) <= 1 && std::abs(y - lastPress_.v) <= 1;
    // A third press starts afresh.
    lastPressValid_ = !twice;
    lastPressTime_ = now;
    lastPress_ = CPoint(x, y);
    return twice;
}

void TesselSampleListUI::clickPopup(int32_t buttons, const CPoint& point)
{
    normalise_.click(buttons, point);
    if (normalise_.resultIndex == TesselPopup::kNoResult)
        return;
    normalise_.hide();
    if (normalise_.resultIndex == 0)
        normaliseSample();
}

void TesselSampleListUI::clickBrowser(bool doubleClick, const CPoint& point)
{
    if (inside(point, kBrowserClose)) {
        setListMode(kListMode);
        field_ = TesselSampleFields::kList;
        return;
    }
    field_ = 1;
    int32_t flags = kLeft;
    if (freshPress)
        flags |= TesselFileBox::kFreshPress;
    if (doubleClick)
        flags |= TesselFileBox::kDoubleClick;
    if (const char* chosen = fileBox_->handleClick(flags, point))
        loadSample(chosen, sample_);
    else
        rememberFolder();
}

void TesselSampleListUI::clickFileButton(int32_t button, TesselSampleEdit& edit)
{
    switch (button) {
    case TesselSampleFileButtons::kBrowse:
        setListMode(kBrowserMode);
        field_ = 1;
        break;
    case TesselSampleFileButtons::kSave: saveSample(); break;
    case TesselSampleFileButtons::kCut: copySample(true, edit); break;
    case TesselSampleFileButtons::kCopy: copySample(false, edit); break;
    case TesselSampleFileButtons::kPaste:
        if (clipboardMarker_ != -1 && !edit.sample().isEmpty() && !askYesNo("Overwrite current sample?"))
            break;
        pasteSample(true, edit, nullptr);
        break;
    case TesselSampleFileButtons::kDelete:
        if (askYesNo("Delete current sample?"))
            deleteSample(true, edit, nullptr);
        break;
    default: break;
    }
}

void TesselSampleListUI::clickField(int32_t buttons, const CPoint& point, TesselSampleEdit& edit)
{
    const int32_t field = freshPress ? fields_->fieldAt(point) : dragField_;
    if (freshPress)
        dragField_ = field;
    if (field == TesselSampleFields::kList || (!freshPress && !followsDrag(field)))
        return;
    setField(field, edit);
    TesselControl* control = fields_->control(field);
    fields_->show(edit.sample());
    const std::string before = fields_->state(field);
    control->onMouse(buttons, point);
    if (fields_->state(field) != before)
        storeField(edit);
}

void TesselSampleListUI::onMouseWheel(int32_t x, int32_t y, float distance)
{
    if (editor && editor->inputBlocked())
        return;
    const CPoint point(x - size.left, y - size.top);
    if (inside(point, kListHit) && distance != 0.0f) {
        const int32_t next = std::clamp(currentIndex() + (distance > 0.0f ? -1 : 1), 0, kSamples - 1);
        selectSample(next + 1, false);
    } else if (mode_ == kBrowserMode && fileBox_->hitTest(point)) {
        fileBox_->onWheel(point, distance);
        setDirty();
    }
}
