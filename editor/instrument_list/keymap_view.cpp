// The key map view's data and input: loading and storing the key map with
// its source marks, the key road of the view, and the region area's
// selection, wheel and mouse.
#include "editor/instrument_list/keymap_view.h"

#include "engine/engine.h"
#include "gui/bitmap.h"
#include "pagekit/editor_services.h"
#include "pagekit/page_operations.h"
#include "model/instrument/instrument.h"
#include "model/song/module.h"
#include "platform/key_event.h"
#include "platform/status_text.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kRightButton = 4;
constexpr int32_t kMouseButtons = 1 | 2 | 4;
constexpr int32_t kLastColumn = kColumnsPerChannel - 1;
constexpr int16_t kNewNoteFades = 0x74;

int32_t sampleOf(int16_t field)
{
    return static_cast<uint16_t>(field) & 0xFF;
}

int32_t markOf(int16_t field)
{
    return static_cast<uint16_t>(field) >> 8;
}

} // namespace

TesselKeyMapUI::TesselKeyMapUI(TesselModule& song, TesselEngine* engine, TesselEditorServices* editor)
    : TesselTrackUI(song, engine, kKeys), editor_(editor), velocityScale_(new CBitmap(resources::kKeyMapVelocityScale)),
      regionCursor_(new CBitmap(resources::kKeyMapRegionCursor)),
      regionButton_(new CBitmap(resources::kKeyMapRegionButton))
{
    // The sample column shows numbers: the key map has no labels.
    view.instrumentLabels = 0;
    trackPattern().majorStep = 12;
    trackPattern().minorStep = 0;
    setHighlights(12, 0);
    view.majorStep = 12;
    view.minorStep = 0;
    auditionRow_.effect.command = 'S';
    auditionRow_.effect.parameter = kNewNoteFades;
    useKeyMapFont();
}

TesselKeyMapUI::~TesselKeyMapUI()
{
    velocityScale_->forget();
    regionCursor_->forget();
    regionButton_->forget();
}

int TesselKeyMapUI::ensureCursorVisible()
{
    const int first = TesselPatternUI::ensureCursorVisible();
    if (regionMode_) {
        regionKey_ = view.cursorRow;
        regionVelocity_ = std::clamp(regionVelocity_, 0, kLastVelocity);
    }
    return first;
}

void TesselKeyMapUI::loadFromInstrument(const TesselInstrument& instrument)
{
    regions_ = instrument.keymap.keyRegions;
    TesselTrack& rows = track();
    for (int key = 0; key < kKeys; ++key) {
        TesselRow& row = rows.getRow(key);
        if (const TesselRow* source = instrument.keymap.rowAt(key))
            row.assign(*source);
        else
            row.clear();
        const int32_t sample = sampleOf(row.instrument);
        TesselKeyRegions& slots = regions_[static_cast<size_t>(key)];
        if (slots.regions[0].isZero() && sample != 0 && slots.regions[kKeyRegions - 1].isZero()) {
            std::copy_backward(slots.regions.begin(), slots.regions.end() - 1, slots.regions.end());
            slots.regions[0] = {0, kFullVelocity, static_cast<int16_t>(sample)};
        }
        const bool marked = !slots.regions[0].isZero();
        row.instrument = static_cast<int16_t>(marked ? sample | (key + 1) << 8 : sample);
    }
    loaded_ = regions_;
    markAllDirty();
}

void TesselKeyMapUI::storeToInstrument(TesselInstrument& instrument)
{
    TesselRegionTable table = regions_;
    TesselKeymap& keymap = instrument.keymap;
    for (int key = 0; key < kKeys; ++key) {
        const TesselRow* row = track().rowAt(key);
        const int16_t field = row ? row->instrument : 0;
        const int32_t mark = markOf(field);
        TesselKeyRegions& slots = table[static_cast<size_t>(key)];
        if (mark >= 1 && mark <= kKeys) {
            // Moved or copied here: the regions of the key it came from, as loaded.
            if (mark != key + 1)
                slots = loaded_[static_cast<size_t>(mark - 1)];
        } else {
            slots.clear();
            if (sampleOf(field) != 0)
                slots.regions[0] = {0, kFullVelocity, static_cast<int16_t>(sampleOf(field))};
        }
        if (!row) {
            keymap.freeRow(key);
            continue;
        }
        TesselRow& target = keymap.getRow(key);
        target.assign(*row);
        target.instrument = static_cast<int16_t>(sampleOf(field));
    }
    keymap.keyRegions = table;
    applyRegionsToKeymap(keymap);
    // The view takes the stored map again, with fresh marks.
    loadFromInstrument(instrument);
}

bool TesselKeyMapUI::isCapturing() const
{
    return (markingState == 1 || isDraggingBlock()) && (lastButtons_ & kMouseButtons) != 0;
}

void TesselKeyMapUI::clearShiftState()
{
    if (markingState == 2)
        markingState = 0;
    shiftMarking_ = false;
}

void TesselKeyMapUI::showRegionArea(bool show)
{
    regionArea_ = show;
    if (!show)
        regionMode_ = false;
}

void TesselKeyMapUI::onKey(const TesselKeyEvent& key, TesselInstrument& instrument)
{
    if (key.keyUp)
        return;
    if (isCapturing()) {
        loadFromInstrument(instrument);
        if (gridKey(key))
            storeToInstrument(instrument);
        return;
    }
    const bool plain = key.modifiers == 0;
    if (plain && key.character == 'g' && (regionMode_ || view.cursorColumn == 2 || view.cursorColumn == 3)) {
        const int32_t sample = sampleAtCursor();
        if (sample >= 1 && sample <= kSamples && goToSample)
            goToSample(sample);
        return;
    }
    if (plain && key.character == '4' && (regionMode_ || view.cursorColumn == 0)) {
        audition(instrument);
        return;
    }
    if (!regionMode_ && plain && key.virtualKey == kVkRight && view.cursorColumn == kLastColumn) {
        enterRegionMode(view.cursorRow, 0);
        return;
    }
    if (regionMode_) {
        onRegionKey(key);
        return;
    }
    loadFromInstrument(instrument);
    if (gridKey(key))
        storeToInstrument(instrument);
}

void TesselKeyMapUI::audition(const TesselInstrument& instrument)
{
    TesselEngine* player = engine();
    const int32_t number = instrument.index + 1;
    const int32_t note = std::clamp<int32_t>(view.cursorRow, 0, kKeys - 1);
    if (!player || number < 1 || number > kInstruments)
        return;
    if (player->heldNotes[number][note] != 0) {
        player->stopNote(number, note);
        return;
    }
    auditionRow_.pitch = static_cast<int16_t>(note);
    auditionRow_.instrument = static_cast<int16_t>(number);
    auditionRow_.volume = static_cast<int16_t>(regionMode_ ? regionVelocity_ : kFullVelocity);
    player->playNote(auditionRow_, kPreviewChannel);
}

int32_t TesselKeyMapUI::sampleAtCursor() const
{
    const int32_t key = std::clamp<int32_t>(view.cursorRow, 0, kKeys - 1);
    if (regionMode_) {
        const TesselKeyRegion* region = regions_[static_cast<size_t>(key)].find(regionVelocity_, 0);
        return region ? region->value : 0;
    }
    return sampleOf(cellOrBlank(0, key, 0).instrument);
}

void TesselKeyMapUI::enterRegionMode(int32_t key, int32_t velocity)
{
    regionArea_ = true;
    regionMode_ = true;
    selection.active = 0;
    markingState = 0;
    view.cursorRow = static_cast<int16_t>(std::clamp<int32_t>(key, 0, kKeys - 1));
    regionVelocity_ = velocity;
    ensureCursorVisible();
    placeSelection(regionKey_, regionVelocity_, false);
}

void TesselKeyMapUI::placeSelection(int32_t key, int32_t velocity, bool extend)
{
    if (!extend) {
        anchorKey_ = key;
        anchorVelocity_ = velocity;
        snapSelection();
        return;
    }
    selection_ = {std::min(anchorVelocity_, velocity), std::max(anchorVelocity_, velocity), std::min(anchorKey_, key),
                  std::max(anchorKey_, key)};
    rangeSelected_ = true;
}

void TesselKeyMapUI::snapSelection()
{
    TesselRegionSpan span;
    if (findRegionSpan(regions_, regionKey_, regionVelocity_, span))
        selection_ = {span.firstVelocity, span.lastVelocity, span.firstKey, span.lastKey};
    else
        selection_ = {regionVelocity_, regionVelocity_, regionKey_, regionKey_};
    rangeSelected_ = false;
}

bool TesselKeyMapUI::getRegionSelection(TesselRegionRect& out) const
{
    if (!regionArea_ || !regionMode_)
        return false;
    out = {std::min(selection_.firstVelocity, selection_.lastVelocity),
           std::max(selection_.firstVelocity, selection_.lastVelocity), std::min(selection_.firstKey, selection_.lastKey),
           std::max(selection_.firstKey, selection_.lastKey)};
    return true;
}

// Region mode: Up and Down move over the keys, Left and Right over the
// velocities (Shift extends the selection, Left from velocity 0 goes back
// to the grid), Page Up and Page Down by an octave, Home and End to the
// first and last velocity.
bool TesselKeyMapUI::onRegionKey(const TesselKeyEvent& key)
{
    const bool extend = (key.modifiers & kModShift) != 0;
    int32_t keyStep = 0;
    int32_t velocity = regionVelocity_;
    switch (key.virtualKey) {
    case 12: keyStep = -1; break;
    case kVkDown: keyStep = 1; break;
    case 15: keyStep = -12; break;
    case 16: keyStep = 12; break;
    case 11:
        if (velocity == 0 && !extend) {
            regionMode_ = false;
            view.cursorColumn = kLastColumn;
            return true;
        }
        --velocity;
        break;
    case kVkRight: ++velocity; break;
    case 10: velocity = 0; break;
    case 9: velocity = kLastVelocity; break;
    default: return false;
    }
    if (extend && !rangeSelected_) {
        anchorKey_ = regionKey_;
        anchorVelocity_ = regionVelocity_;
    }
    view.cursorRow = static_cast<int16_t>(std::clamp<int32_t>(view.cursorRow + keyStep, 0, kKeys - 1));
    regionVelocity_ = velocity;
    ensureCursorVisible();
    placeSelection(regionKey_, regionVelocity_, extend);
    return true;
}

void TesselKeyMapUI::changeRegionSample(int32_t step)
{
    TesselRegionRect rect;
    if (!getRegionSelection(rect))
        return;
    if (!rangeSelected_) {
        TesselRegionSpan span;
        if (!findRegionSpan(regions_, regionKey_, regionVelocity_, span))
            return;
        const TesselKeyRegion old = *regions_[static_cast<size_t>(regionKey_)].find(regionVelocity_, 0);
        const auto value = static_cast<int16_t>(std::clamp<int32_t>(old.value + step, 1, kSamples));
        for (int32_t k = span.firstKey; k <= span.lastKey; ++k)
            for (TesselKeyRegion& r : regions_[static_cast<size_t>(k)].regions)
                if (r == old) {
                    r.value = value;
                    break;
                }
    } else {
        const int32_t base = std::max(sampleAtCursor(), 1);
        const auto value = static_cast<int16_t>(std::clamp<int32_t>(base + step, 1, kSamples));
        bool refused = false;
        // Key by key: a full key keeps its regions, the others still get theirs.
        for (int32_t k = rect.firstKey; k <= rect.lastKey; ++k)
            if (!insertRegion(regions_, k, k, static_cast<uint8_t>(rect.firstVelocity),
                              static_cast<uint8_t>(rect.lastVelocity), value))
                refused = true;
        if (refused)
            platform::setStatusText(kTooManyRegions);
    }
    snapSelection();
}

void TesselKeyMapUI::onWheel(int32_t x, int32_t y, float distance, TesselInstrument& instrument)
{
    if (x < kRegionLeft || !regionArea_) {
        scrollRows(x, y, distance);
        return;
    }
    if (!regionMode_ || distance == 0.0f)
        return;
    loadFromInstrument(instrument);
    const int32_t steps = std::max(1, static_cast<int32_t>(std::lround(std::fabs(distance))));
    for (int32_t i = 0; i < steps; ++i)
        changeRegionSample(distance > 0.0f ? 1 : -1);
    storeToInstrument(instrument);
    snapSelection();
}

bool TesselKeyMapUI::contains(int32_t x, int32_t y) const
{
    const int32_t left = grid_.left - 20;
    const int32_t right = regionArea_ ? kWideRight : grid_.right + 14;
    const int32_t top = std::min(grid_.top - 14, kRegionButton.top);
    const int32_t bottom = grid_.top + wholeRows() * view.rowHeight;
    return x >= left && x < right && y >= top && y < bottom;
}

int32_t TesselKeyMapUI::keyAt(int32_t y) const
{
    const int32_t rowHeight = std::max(view.rowHeight, 1);
    const int32_t offset = y - grid_.top;
    const int32_t row = (offset >= 0 ? offset / rowHeight : -1) + view.firstRow;
    return std::clamp<int32_t>(row, 0, kKeys - 1);
}

void TesselKeyMapUI::onMouse(const CPoint& point, int32_t buttons, TesselInstrument& instrument)
{
    const bool fresh = (buttons & kMouseButtons) && !(lastButtons_ & kMouseButtons);
    const int32_t before = lastButtons_;
    lastButtons_ = buttons;
    if (scrollbar_.trackMouse(point, buttons)) {
        view.firstRow = std::clamp(scrollbar_.getPosition(), 0, std::max(kKeys - view.visibleRows, 0));
        markAllDirty();
        return;
    }
    if (fresh && (point.isInside(kRegionButton) || (regionArea_ && point.isInside(kCloseButton))))
        return;
    const bool inRegions = regionArea_ && point.h >= kRegionLeft;
    if (inRegions && ((buttons & kRightButton) || (!fresh && (before & kRightButton)))) {
        if (!(buttons & kRightButton))
            return;
        const int32_t velocity = std::clamp<int32_t>((point.h - kVelocityLeft) / kVelocityStep, 0, kLastVelocity);
        const int32_t key = keyAt(point.v);
        if (fresh) {
            enterRegionMode(key, velocity);
            return;
        }
        if (key != regionKey_ || velocity != regionVelocity_) {
            view.cursorRow = static_cast<int16_t>(key);
            regionVelocity_ = velocity;
            ensureCursorVisible();
            placeSelection(regionKey_, regionVelocity_, true);
        }
        return;
    }
    loadFromInstrument(instrument);
    gridMouse(point, buttons, fresh);
    storeToInstrument(instrument);
}
