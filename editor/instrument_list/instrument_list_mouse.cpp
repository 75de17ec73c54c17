// The instrument page's mouse and wheel: the swap popup, the MIDI panel,
// the key map, the list, the file buttons, the tab strip, the tabs' fields
// and the file box.
#include "editor/instrument_list/instrument_list_edit.h"

#include "gui/controls/button_group.h"
#include "pagekit/envelope_graph.h"
#include "pagekit/file_box.h"
#include "pagekit/frame2.h"
#include "gui/controls/slider.h"
#include "model/song/module.h"
#include "platform/window.h"

#include <algorithm>

using namespace instrument_layout;

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;
constexpr int32_t kLeftButton = 1;
constexpr uint32_t kDoubleClickMs = 500;
constexpr int32_t kFirstTabField = 10;
constexpr int32_t kLastField = 16;

} // namespace

int32_t TesselInstrumentListUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    syncWithEditor();
    Edit edit(song->instruments[static_cast<size_t>(current_)]);
    songWritten_ = false;
    mouseEvent(x, y, buttons, edit);
    lastButtons_ = buttons;
    finishEdit(edit);
    return 1;
}

void TesselInstrumentListUI::mouseEvent(int32_t x, int32_t y, int32_t buttons, Edit& edit)
{
    const CPoint point(x, y);
    const bool fresh = (buttons & kMouseButtons) && !(lastButtons_ & kMouseButtons);
    const bool held = (buttons & kMouseButtons) != 0;
    if (fresh)
        pendingSlot_ = -1;   // a click between two presses asks anew
    if (swapPopup_.isShown()) {
        if (fresh)
            swapPopup_.click(buttons, point);
        return;
    }
    if (tab_ == kPitch && midiPanel_->isOpen() && point.isInside(midiPanel_->panelRect())) {
        if (fresh && midiPanel_->onPanelMouse(point, buttons))
            midiPanel_->storeInto(edit.copy);
        return;
    }
    if (!held) {
        // A release ends what a press started.
        if (keyMapHeld_)
            keyMap_->onMouse(point, buttons, edit.copy);
        keyMapHeld_ = false;
        if (graph_->isDragging())
            graph_->onEnvelopeMouse(point, buttons, tabEnvelope(edit.copy), tab_ - 1);
        if (tab_ == kBrowser)
            fileBox_->handleClick(buttons, point);
        if (TesselControl* control = fieldControl(tab_, field_))
            control->onMouseUp(point);
        return;
    }
    if (tab_ == kGeneral && (keyMapHeld_ || (fresh && keyMap_->contains(x, y)))) {
        if (fresh && point.isInside(TesselKeyMapUI::kRegionButton)) {
            keyMap_->showRegionArea(!keyMap_->regionAreaShown());
            field_ = 1;
            return;
        }
        if (fresh && keyMap_->regionAreaShown() && point.isInside(TesselKeyMapUI::kCloseButton)) {
            keyMap_->showRegionArea(false);
            return;
        }
        field_ = 1;
        keyMapHeld_ = true;
        keyMap_->onMouse(point, buttons, edit.copy);
        return;
    }
    if (point.isInside(kList)) {
        if (buttons & kLeftButton)
            listClick(x, y);
        return;
    }
    const bool regionArea = tab_ == kGeneral && keyMap_->regionAreaShown();
    if (fresh && tab_ <= kFilter && !regionArea && fileButtons_->hitTest(point)) {
        fileButtonClick(x, y, edit);
        return;
    }
    if (fresh && tabStripClick(x, y))
        return;
    if (tab_ == kBrowser) {
        browserClick(x, y, buttons);
        return;
    }
    if (regionArea)
        return;
    if (tab_ >= kVolume && (graph_->isDragging() || (fresh && graph_->hitTest(point)))) {
        field_ = 1;
        fieldClick(1, point, buttons, edit.copy);
        return;
    }
    // Sliders follow a drag; everything else takes only the press.
    if (!fresh) {
        if (dynamic_cast<TesselSlider*>(fieldControl(tab_, field_)))
            fieldClick(field_, point, buttons, edit.copy);
        return;
    }
    showFieldValues(edit.copy);
    for (int32_t field = 2; field <= kLastField; ++field) {
        TesselControl* control = fieldControl(tab_, field);
        const bool pseudo = !control && field == 11 && (tab_ == kPanning || tab_ == kPitch);
        const CRect row(kSliderLeft, kSliderTop + kSliderStep * (field - kFirstTabField), kSliderRight,
                        kSliderTop + kSliderStep * (field - kFirstTabField) + kFieldHeight);
        if ((control && control->hitTest(point)) || (pseudo && point.isInside(row))) {
            field_ = field;
            fieldClick(field, point, buttons, edit.copy);
            return;
        }
    }
}

void TesselInstrumentListUI::listClick(int32_t x, int32_t y)
{
    if (x > 7) {
        field_ = 0;
        if (tab_ == kBrowser)
            tab_ = kGeneral;
        int32_t place = x > 27 ? (x > 226 ? kNoNameCursor : (x - 28) / 8) : (x - 24) / 8;
        nameCursor_ = std::clamp(place, kFirstLabelPlace, kNoNameCursor);
    }
    const int32_t row = (y - kList.top) / kRowHeight + firstRow_ + 1;
    selectInstrument(std::min(row, kInstruments), false);
}

bool TesselInstrumentListUI::tabStripClick(int32_t x, int32_t y)
{
    for (int32_t t = 0; t < 5; ++t) {
        if (!CPoint(x, y).isInside(kTabs[t]))
            continue;
        if (t != tab_)
            midiPanel_->close();
        tab_ = t;
        if (field_ != 0)
            field_ = 1;
        return true;
    }
    return false;
}

void TesselInstrumentListUI::fileButtonClick(int32_t x, int32_t y, Edit& /*edit*/)
{
    int32_t chosen = -1;
    for (int32_t i = 0; i < fileButtons_->getCount(); ++i)
        if (fileButtons_->getButton(i)->hitTest(CPoint(x, y)))
            chosen = i;
    switch (chosen) {
    case 0: newInstrument(); break;
    case 1:
        showBrowser();
        break;
    case 2: saveInstrument(); break;
    case 3: openSwapPopup(true); break;
    default: break;
    }
}

void TesselInstrumentListUI::browserClick(int32_t x, int32_t y, int32_t buttons)
{
    const CPoint point(x, y);
    const bool fresh = (buttons & kMouseButtons) && !(lastButtons_ & kMouseButtons);
    int32_t flags = buttons;
    if (fresh) {
        field_ = 1;
        flags |= TesselFileBox::kFreshPress;
        const uint32_t now = windowTicks();
        if (lastClickTicks_ != 0 && now - lastClickTicks_ < kDoubleClickMs) {
            flags |= TesselFileBox::kDoubleClick;
            lastClickTicks_ = 0;
        } else {
            lastClickTicks_ = now;
        }
    }
    if (const char* chosen = fileBox_->handleClick(flags, point))
        loadInstrument(chosen, current_);
}

uint32_t TesselInstrumentListUI::windowTicks() const
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getWindow() : nullptr;
    return window ? window->system().ticks() : 0;
}

void TesselInstrumentListUI::onMouseWheel(int32_t x, int32_t y, float distance)
{
    if (distance == 0.0f)
        return;
    syncWithEditor();
    const CPoint point(x - size.left, y - size.top);
    if (point.isInside(kList)) {
        selectInstrument(current_ + 1 + (distance > 0.0f ? -1 : 1), false);
    } else if (tab_ == kBrowser) {
        fileBox_->onWheel(point, distance);
    } else if (tab_ == kGeneral && field_ == 1) {
        Edit edit(song->instruments[static_cast<size_t>(current_)]);
        songWritten_ = false;
        keyMap_->onWheel(point.h, point.v, distance, edit.copy);
        finishEdit(edit);
    } else if (tab_ >= kVolume && tab_ <= kFilter && graph_->hitTest(point)) {
        graph_->zoom(distance);
    }
    setDirty();
}
