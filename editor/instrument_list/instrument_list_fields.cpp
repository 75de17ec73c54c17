// The tabs' fields: which control each focus position holds, the
// instrument value it shows and stores, keys and clicks on it, the MIDI
// port choice and the envelope loop checks.
#include "editor/instrument_list/instrument_list_edit.h"

#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "engine/midi/midi_out.h"
#include "gui/controls/button_group.h"
#include "gui/lists/drop_list.h"
#include "pagekit/envelope_graph.h"
#include "gui/controls/slider.h"
#include "gui/controls/text_box.h"
#include "model/instrument/envelope.h"
#include "platform/key_event.h"
#include "platform/status_text.h"

#include <algorithm>

namespace {

enum Field : int32_t {
    kGraphField = 1,
    kOnField = 2,
    kCarryField = 3,
    kLoopTypeField = 4,
    kLoopBeginField = 5,
    kLoopEndField = 6,
    kSustainTypeField = 7,
    kSustainBeginField = 8,
    kSustainEndField = 9,
    kFirstTabField = 10,
    kPitchCentreField = 11,
    kMidiPanelField = 11,
    kPortField = 16,
};

constexpr const char* kInvalidLoop = "Invalid loop: loop start is greater than loop end. Loop disabled.";

bool isEnvelopeField(int32_t tab, int32_t field)
{
    return tab >= TesselInstrumentListUI::kVolume && tab <= TesselInstrumentListUI::kFilter && field >= kOnField
        && field <= kSustainEndField;
}

// A control shows the value: a drop list through its menu, a number box in
// its text (only when it changed, so that typing keeps its caret).
void showValue(TesselControl* control, int32_t value)
{
    if (auto* list = dynamic_cast<TesselDropList*>(control)) {
        if (list->currentValue() != value || list->getCurrent() != value)
            list->setValue(static_cast<float>(value));
        return;
    }
    if (auto* box = dynamic_cast<TesselTextBox*>(control)) {
        if (box->value != value) {
            box->name = box->numberText(value);
            box->value = value;
            box->dirty = true;
        }
        return;
    }
    control->value = value;
}

} // namespace

TesselEnvelope& TesselInstrumentListUI::tabEnvelope(TesselInstrument& instrument) const
{
    return instrument.envelopes[static_cast<size_t>(std::clamp(tab_ - 1, 0, kEnvelopes - 1))];
}

TesselControl* TesselInstrumentListUI::fieldControl(int32_t tab, int32_t field) const
{
    if (tab == kGeneral) {
        switch (field) {
        case 2: return newNoteActions_.get();
        case 3: return duplicateChecks_.get();
        case 4: return duplicateActions_.get();
        default: return nullptr;
        }
    }
    if (tab < kVolume || tab > kFilter)
        return nullptr;
    switch (field) {
    case kGraphField: return graph_.get();
    case kOnField: return envelopeOn_;
    case kCarryField: return carry_;
    case kLoopTypeField: return loopType_;
    case kLoopBeginField: return loopBegin_.get();
    case kLoopEndField: return loopEnd_.get();
    case kSustainTypeField: return sustainType_;
    case kSustainBeginField: return sustainBegin_.get();
    case kSustainEndField: return sustainEnd_.get();
    default: break;
    }
    using Row = std::array<TesselControl*, 7>;
    const Row rows[4] = {
        {globalVolume_.get(), fadeOut_.get(), volumeSwing_.get()},
        {defaultPan_.get(), nullptr, pitchSeparation_.get(), panSwing_.get()},
        {midiSwitch_, nullptr, midiChannel_.get(), midiProgram_.get(), bankMsb_.get(), bankLsb_.get(), midiPort_},
        {cutoff_.get(), resonance_.get(), filterRange_.get()},
    };
    const int32_t i = field - kFirstTabField;
    return i >= 0 && i < 7 ? rows[tab - kVolume][static_cast<size_t>(i)] : nullptr;
}

int32_t TesselInstrumentListUI::fieldValue(const TesselInstrument& in, int32_t tab, int32_t field) const
{
    if (tab == kGeneral)
        return field == 2 ? in.newNoteAction : field == 3 ? in.duplicateCheckType : in.duplicateAction;
    const TesselEnvelope& e = in.envelopes[static_cast<size_t>(std::clamp(tab - 1, 0, kEnvelopes - 1))];
    switch (field) {
    case kOnField: return e.enabled != 0 ? 1 : 0;
    case kCarryField: return e.carry;
    case kLoopTypeField: return e.loop.type;
    case kLoopBeginField: return e.loop.begin;
    case kLoopEndField: return e.loop.end;
    case kSustainTypeField: return e.sustain.type;
    case kSustainBeginField: return e.sustain.begin;
    case kSustainEndField: return e.sustain.end;
    default: break;
    }
    const int32_t i = field - kFirstTabField;
    switch (tab) {
    case kVolume: return i == 0 ? in.globalVolume : i == 1 ? in.fadeOut : in.volumeSwing;
    case kPanning: return i == 0 ? in.defaultPan : i == 2 ? in.pitchSeparation : i == 3 ? in.panningSwing : 0;
    case kPitch: {
        switch (i) {
        case 0: return in.midiOut != 0 ? 1 : 0;
        case 2: return in.midiChannel;
        case 3: return in.midiProgram + 1;
        case 4: return in.midiBankMsb;
        case 5: return in.midiBankLsb;
        case 6: {
            const TesselMidiOut* out = engine ? engine->midiOut : nullptr;
            if (!out)
                return 0;
            if (in.midiPortNumber >= 0 && in.midiPortNumber < out->portCount())
                return in.midiPortNumber;
            return std::max(out->portIndex(in.midiOutPort), 0);
        }
        default: return 0;
        }
    }
    default: return i == 0 ? in.filterCutoff : i == 1 ? in.filterResonance : in.filterRange;
    }
}

void TesselInstrumentListUI::setFieldValue(TesselInstrument& in, int32_t tab, int32_t field, int32_t value)
{
    const auto byte = static_cast<uint8_t>(std::max(value, 0));
    if (tab == kGeneral) {
        (field == 2 ? in.newNoteAction : field == 3 ? in.duplicateCheckType : in.duplicateAction) = byte;
        return;
    }
    TesselEnvelope& e = in.envelopes[static_cast<size_t>(std::clamp(tab - 1, 0, kEnvelopes - 1))];
    switch (field) {
    case kOnField: e.enabled = byte; return;
    case kCarryField: e.carry = byte; return;
    case kLoopTypeField: e.loop.type = value; return;
    case kLoopBeginField: e.loop.setBegin(value); return;
    case kLoopEndField: e.loop.setEnd(value); return;
    case kSustainTypeField: e.sustain.type = value; return;
    case kSustainBeginField: e.sustain.setBegin(value); return;
    case kSustainEndField: e.sustain.setEnd(value); return;
    default: break;
    }
    const int32_t i = field - kFirstTabField;
    switch (tab) {
    case kVolume: (i == 0 ? in.globalVolume : i == 1 ? in.fadeOut : in.volumeSwing) = value; return;
    case kPanning:
        if (i != 1)
            (i == 0 ? in.defaultPan : i == 2 ? in.pitchSeparation : in.panningSwing) = value;
        return;
    case kPitch:
        if (i == 0)
            in.midiOut = byte;
        else if (i == 2)
            in.midiChannel = value;
        else if (i == 3)
            in.midiProgram = value - 1;
        else if (i == 4)
            in.midiBankMsb = value;
        else if (i == 5)
            in.midiBankLsb = value;
        else if (i == 6)
            chooseMidiPort(value, in);
        return;
    default:
        if (i == 0)
            in.filterCutoff = value;
        else if (i == 1)
            in.filterResonance = value;
        else
            in.filterRange = byte;
        return;
    }
}

void TesselInstrumentListUI::showFieldValues(const TesselInstrument& instrument)
{
    const int32_t tab = std::clamp<int32_t>(tab_, kGeneral, kFilter);
    for (int32_t field = 2; field <= 16; ++field) {
        TesselControl* control = fieldControl(tab, field);
        if (control && control != graph_.get())
            showValue(control, fieldValue(instrument, tab, field));
    }
}

void TesselInstrumentListUI::chooseMidiPort(int32_t port, TesselInstrument& instrument)
{
    const TesselMidiOut* out = engine ? engine->midiOut : nullptr;
    if (!out || port < 0 || port >= out->portCount())
        return;
    instrument.setMidiOutPort(out->portName(port));
    // The writer keeps "MIDIOutPort" only for an instrument with a port number.
    instrument.midiPortNumber = port;
    midiPort_->setValue(static_cast<float>(port));
}

void TesselInstrumentListUI::checkLoops(TesselEnvelope& envelope)
{
    const int32_t last = std::max(envelope.count(), 1) - 1;
    for (TesselLoop* loop : {&envelope.loop, &envelope.sustain}) {
        if (loop->end > last)
            loop->setEnd(last);
        if (loop->type != 0 && loop->end < loop->begin) {
            loop->type = 0;
            platform::setStatusText(kInvalidLoop);
        }
    }
    envelope.computeSlopes();
}

void TesselInstrumentListUI::fieldKey(const TesselKeyEvent& key, TesselInstrument& instrument)
{
    if (tab_ == kPanning && field_ == kPitchCentreField) {
        const int32_t note = editor ? editor->noteFromKey(key) : -1;
        if (note >= 0)
            instrument.pitchCentre = note;
        return;
    }
    if (tab_ == kPitch && field_ == kMidiPanelField) {
        if (key.virtualKey == kVkEnter)
            midiPanel_->open(TesselMIDIUI::kKeyOrigin.h, TesselMIDIUI::kKeyOrigin.v, instrument, owner());
        return;
    }
    TesselControl* control = fieldControl(tab_, field_);
    if (!control)
        return;
    showValue(control, fieldValue(instrument, tab_, field_));
    const int32_t before = control->value;
    control->onKey(key);
    if (control->value != before)
        setFieldValue(instrument, tab_, field_, control->value);
    if (isEnvelopeField(tab_, field_))
        checkLoops(tabEnvelope(instrument));
}

void TesselInstrumentListUI::fieldClick(int32_t field, const CPoint& point, int32_t buttons, TesselInstrument& instrument)
{
    if (tab_ == kPitch && field == kMidiPanelField) {
        if (buttons & 1)
            midiPanel_->open(TesselMIDIUI::kMouseOrigin.h, TesselMIDIUI::kMouseOrigin.v, instrument, owner());
        return;
    }
    if (field == kGraphField) {
        TesselEnvelope& envelope = tabEnvelope(instrument);
        if (graph_->onEnvelopeMouse(point, buttons, envelope, tab_ - 1))
            checkLoops(envelope);
        return;
    }
    TesselControl* control = fieldControl(tab_, field);
    if (!control)
        return;
    showValue(control, fieldValue(instrument, tab_, field));
    const int32_t before = control->value;
    control->onMouse(buttons, point);
    if (control->value != before)
        setFieldValue(instrument, tab_, field, control->value);
    if (isEnvelopeField(tab_, field))
        checkLoops(tabEnvelope(instrument));
}
