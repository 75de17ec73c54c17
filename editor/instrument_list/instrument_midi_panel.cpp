#include "editor/instrument_list/instrument_midi_panel.h"

#include "common/help_pages.h"
#include "editor/instrument_list/midi_effect_names.h"
#include "gui/bitmap.h"
#include "gui/controls/slider.h"
#include "gui/lists/drop_list.h"
#include "model/instrument/instrument.h"
#include "platform/key_event.h"
#include "resources/resource_ids.h"

#include <algorithm>

namespace {

constexpr int32_t kLeftButton = 1;
constexpr int32_t kFirstRow = 20;
constexpr int32_t kRowStep = 17;
constexpr int32_t kControlLeft = 110;
constexpr int32_t kControlRight = 322;
constexpr int32_t kControlHeight = 11;
constexpr int32_t kEntriesPerColumn = 27;
constexpr int32_t kCloseWidth = 12;
constexpr int32_t kCloseHeight = 16;
constexpr int32_t kBendField = 0;
constexpr int32_t kResolutionField = 1;
constexpr int32_t kVelocityField = 2;
constexpr int32_t kFirstEffectField = 3;
constexpr int32_t kMaxBendRange = 32;
constexpr int32_t kMaxVelocity = 64;

} // namespace

TesselMIDIUI::TesselMIDIUI(const CRect& size, TesselEditorPageServices* editor, TesselUI* owner)
    : TesselUI(size, 0, nullptr, editor, kClassId), services_(editor), owner_(owner)
{
    auto* background = new CBitmap(resources::kMidiPanel);
    setBackground(background);
    background->forget();
    draggable = false;
    bendRange_ = std::make_unique<TesselSlider>(CRect(), 0, kMaxBendRange, kDefaultMidiPitchBend, 2);
    resolution_ = new TesselDropList(CRect(), nullptr, "");
    resolution_->addEntry("7-bit (compatible)");
    resolution_->addEntry("14-bit (accurate)");
    velocity_ = std::make_unique<TesselSlider>(CRect(), 0, kMaxVelocity, kMaxVelocity, 2);
    for (TesselDropList*& list : effects_) {
        list = new TesselDropList(CRect(), nullptr, "");
        for (int32_t i = 0; i < kMidiEffectEntries; ++i)
            list->addEntry(midiEffectName(i).c_str());
        list->setNbItemsPerColumn(kEntriesPerColumn);
    }
    for (TesselDropList* list : effects_)
        list->setOwner(owner_, services_);
    resolution_->setOwner(owner_, services_);
    placeControls();
}

TesselMIDIUI::~TesselMIDIUI()
{
    resolution_->forget();
    for (TesselDropList* list : effects_)
        list->forget();
}

CRect TesselMIDIUI::fieldRect(int32_t field) const
{
    const int32_t top = size.top + kFirstRow + kRowStep * field;
    return CRect(size.left + kControlLeft, top, size.left + kControlRight, top + kControlHeight);
}

void TesselMIDIUI::placeControls()
{
    bendRange_->setRect(fieldRect(kBendField));
    resolution_->setViewSize(fieldRect(kResolutionField));
    velocity_->setRect(fieldRect(kVelocityField));
    for (int32_t i = 0; i < kEffectFields; ++i)
        effects_[static_cast<size_t>(i)]->setViewSize(fieldRect(kFirstEffectField + i));
}

TesselControl* TesselMIDIUI::fieldControl(int32_t field) const
{
    switch (field) {
    case kBendField: return bendRange_.get();
    case kResolutionField: return resolution_;
    case kVelocityField: return velocity_.get();
    default:
        return field >= kFirstEffectField && field < kFields ? effects_[static_cast<size_t>(field - kFirstEffectField)]
                                                             : nullptr;
    }
}

void TesselMIDIUI::open(int32_t x, int32_t y, const TesselInstrument& instrument, TesselEditorPageServices* editor)
{
    if (editor)
        services_ = editor;
    setViewSize(CRect(x, y, x + kWidth, y + kHeight));
    placeControls();
    copy_ = std::make_unique<TesselInstrument>(instrument);
    showValues();
    field_ = 0;
    open_ = true;
    setDirty();
}

void TesselMIDIUI::close()
{
    open_ = false;
    setDirty();
}

void TesselMIDIUI::showValues()
{
    if (!copy_)
        return;
    bendRange_->value = copy_->midiPitchBend;
    resolution_->setValue(copy_->midiPitchBendHiRes ? 1.0f : 0.0f);
    velocity_->value = copy_->midiDefaultVelocity;
    for (int32_t i = 0; i < kEffectFields; ++i)
        effects_[static_cast<size_t>(i)]->setValue(static_cast<float>(copy_->midiEffects[static_cast<size_t>(i)]));
    for (int32_t f = 0; f < kFields; ++f)
        fieldControl(f)->dirty = true;
}

void TesselMIDIUI::takeValue(int32_t field)
{
    TesselControl* control = fieldControl(field);
    if (!copy_ || !control)
        return;
    const int32_t value = control->value;
    if (field == kBendField)
        copy_->setMidiPitchBend(std::clamp(value, 0, kMaxBendRange));
    else if (field == kResolutionField)
        copy_->midiPitchBendHiRes = value == 1 ? 1 : 0;
    else if (field == kVelocityField)
        copy_->midiDefaultVelocity = std::clamp(value, 0, kMaxVelocity);
    else
        copy_->midiEffects[static_cast<size_t>(field - kFirstEffectField)] = std::clamp(value, 0, kMidiEffectEntries - 1);
}

void TesselMIDIUI::storeInto(TesselInstrument& target) const
{
    if (!copy_)
        return;
    if (target.midiPitchBend != copy_->midiPitchBend)
        target.setMidiPitchBend(copy_->midiPitchBend);
    target.midiPitchBendHiRes = copy_->midiPitchBendHiRes;
    target.midiDefaultVelocity = copy_->midiDefaultVelocity;
    target.midiEffects = copy_->midiEffects;
}

int32_t TesselMIDIUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (!open_ || key.keyUp)
        return 0;
    const bool shift = (key.modifiers & kModShift) != 0;
    if (key.virtualKey == kVkEscape) {
        close();
        return 1;
    }
    if (key.virtualKey == kVkF1 && key.modifiers == 0) {
        if (services_)
            services_->openHelpPage(help::kInstrumentMidi);
        return 1;
    }
    if (key.virtualKey == kVkUp || (key.virtualKey == kVkTab && shift)) {
        field_ = (field_ + kFields - 1) % kFields;
    } else if (key.virtualKey == kVkDown || key.virtualKey == kVkTab) {
        field_ = (field_ + 1) % kFields;
    } else if (TesselControl* control = fieldControl(field_)) {
        control->onKey(key);
        takeValue(field_);
    }
    setDirty();
    return 1;
}

const TesselInstrument* TesselMIDIUI::onPanelMouse(const CPoint& point, int32_t buttons)
{
    if (!open_ || !(buttons & kLeftButton))
        return nullptr;
    const CRect closeBox(size.right - kCloseWidth, size.top, size.right, size.top + kCloseHeight);
    if (point.isInside(closeBox)) {
        close();
        return nullptr;
    }
    for (int32_t f = 0; f < kFields; ++f) {
        TesselControl* control = fieldControl(f);
        if (!control->hitTest(point))
            continue;
        field_ = f;
        control->onMouse(buttons, point);
        takeValue(f);
        setDirty();
        return copy_.get();
    }
    return nullptr;
}

void TesselMIDIUI::draw(CDrawContext* context)
{
    if (!open_ || !context)
        return;
    if (CBitmap* background = getBackground())
        background->draw(context, size);
    const bool focusedPanel = true;
    for (int32_t f = 0; f < kFields; ++f) {
        TesselControl* control = fieldControl(f);
        control->draw(context, control->value, focusedPanel && f == field_);
    }
    if (closeBox) {
        const int32_t x = size.right - kCloseBoxWidth;
        closeBox->drawTransparent(context, CRect(x, size.top + 2, x + closeBox->getWidth(),
                                                 size.top + 2 + closeBox->getHeight() / 2));
    }
    setDirty(false);
}
