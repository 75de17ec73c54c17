// The instrument page's controls: the key map, the MIDI panel, the file
// box, the envelope graph, the button groups, drop lists, number boxes and
// sliders of the tabs, placed as instrument_list_layout.h says.
#include "editor/instrument_list/instrument_list_page.h"

#include "engine/engine.h"
#include "engine/midi/midi_out.h"
#include "gui/controls/button_group.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/drop_list.h"
#include "pagekit/envelope_graph.h"
#include "pagekit/file_box.h"
#include "gui/controls/slider.h"
#include "gui/controls/text_box.h"
#include "model/song/module.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <string>
#include <initializer_list>

using namespace instrument_layout;

namespace {

constexpr int32_t kNodeDigits = 3;

std::unique_ptr<TesselButtonGroup> makeGroup(int32_t x, int32_t y, std::initializer_list<int32_t> images)
{
    auto group = std::make_unique<TesselButtonGroup>(x, y, nullptr, 0);
    int32_t left = 0;
    for (int32_t image : images) {
        group->addButton(left, 0, left + kGroupButtonWidth, kGroupButtonHeight, image, control_skin::kButtonFace,
                         control_skin::kButtonFrame);
        left += kGroupButtonWidth + 2;
    }
    return group;
}

CRect sliderRect(int32_t field)
{
    const int32_t top = kSliderTop + kSliderStep * (field - 10);
    return CRect(kSliderLeft, top, kSliderRight, top + kFieldHeight);
}

std::unique_ptr<TesselSlider> makeSlider(int32_t field, int32_t minimum, int32_t maximum, const char* label = "--")
{
    return std::make_unique<TesselSlider>(sliderRect(field), minimum, maximum, minimum, 3, label);
}

std::unique_ptr<TesselTextBox> makeNodeBox(int32_t left, int32_t top)
{
    auto box = std::make_unique<TesselTextBox>(CRect(left, top, left + 30, top + kFieldHeight), kNodeDigits, "", true);
    box->setColour(control_skin::kDefaultColour);
    return box;
}

} // namespace

void TesselInstrumentListUI::buildControls()
{
    if (!song) {
        // Without an engine the page keeps a song of its own, so that it
        // never reads through a null song.
        ownSong_ = std::make_unique<TesselModule>();
        song = ownSong_.get();
    }
    keyMap_ = std::make_unique<TesselKeyMapUI>(*song, engine, editor);
    keyMap_->layout(kKeyMapGrid);
    keyMap_->goToSample = [this](int32_t sample) { goToSample(sample); };
    keyMap_->loadFromInstrument(song->instruments[static_cast<size_t>(current_)]);
    midiPanel_ = std::make_unique<TesselMIDIUI>(
        CRect(TesselMIDIUI::kKeyOrigin.h, TesselMIDIUI::kKeyOrigin.v, TesselMIDIUI::kKeyOrigin.h + TesselMIDIUI::kWidth,
              TesselMIDIUI::kKeyOrigin.v + TesselMIDIUI::kHeight),
        owner(), this);
    TesselEditorPageServices* full = owner();
    fileBox_ = std::make_unique<TesselFileBox>(kFileBox, full ? full->instrumentFolder() : std::string(), editor,
                                               TesselFileBox::kInstrumentBrowser);
    graph_ = std::make_unique<TesselEnvelopeGraph>(kGraph, editor);

    fileButtons_ = std::make_unique<TesselButtonGroup>(kFileButtonsX, kFileButtonsY, nullptr, -1);
    int32_t left = 0;
    for (int32_t image : {resources::kInstrumentNewButton, resources::kInstrumentLoadButton,
                          resources::kInstrumentSaveButton, resources::kInstrumentSwapButton}) {
        fileButtons_->addButton(left, 0, left + kFileButtonWidth, kFileButtonHeight, image, control_skin::kButtonFace,
                                control_skin::kButtonFrame);
        left += kFileButtonWidth + kFileButtonGap;
    }
    newNoteActions_ = makeGroup(kGroupsX, kGroupY[0], {resources::kActionCut, resources::kActionContinue,
                                                         resources::kActionNoteOff, resources::kActionFade});
    duplicateChecks_ = makeGroup(kGroupsX, kGroupY[1], {resources::kCheckOff, resources::kCheckNote,
                                                          resources::kCheckSample, resources::kCheckInstrument});
    duplicateActions_ =
        makeGroup(kGroupsX, kGroupY[2], {resources::kActionCut, resources::kActionNoteOff, resources::kActionFade});
    filterRange_ = makeGroup(kSliderLeft, sliderRect(12).top, {0, 0, 0});

    const auto list = [this](const CRect& rect, std::initializer_list<const char*> entries) {
        auto* made = new TesselDropList(rect, nullptr, "");
        for (const char* entry : entries)
            made->addEntry(entry);
        adoptDropList(made);
        return made;
    };
    const int32_t row = kEnvelopeRowY;
    const int32_t loops = kLoopRowY;
    envelopeOn_ = list(CRect(330, row, 410, row + kFieldHeight), {"Off", "On (ticks)"});
    carry_ = list(CRect(470, row, 520, row + kFieldHeight), {"Off", "On"});
    loopType_ = list(CRect(330, loops, 410, loops + kFieldHeight), {"Off", "Forwards", "Ping Pong"});
    loopBegin_ = makeNodeBox(414, loops);
    loopEnd_ = makeNodeBox(448, loops);
    sustainType_ = list(CRect(540, loops, 620, loops + kFieldHeight), {"Off", "Forwards", "Ping Pong"});
    sustainBegin_ = makeNodeBox(624, loops);
    sustainEnd_ = makeNodeBox(658, loops);

    globalVolume_ = makeSlider(10, 0, 128);
    fadeOut_ = makeSlider(11, 0, 256);
    volumeSwing_ = makeSlider(12, 0, 100);
    defaultPan_ = makeSlider(10, -1, 64, "Off");
    defaultPan_->setDefaultValue(32);
    pitchSeparation_ = makeSlider(12, -32, 32);
    pitchSeparation_->setDefaultValue(0);
    panSwing_ = makeSlider(13, 0, 64);
    midiSwitch_ = list(sliderRect(10), {"Off", "On"});
    midiChannel_ = makeSlider(12, 0, 16, "Map");
    midiProgram_ = makeSlider(13, 0, 128, "Off");
    bankMsb_ = makeSlider(14, -1, 127, "Off");
    bankLsb_ = makeSlider(15, -1, 127, "Off");
    midiPort_ = list(sliderRect(16), {});
    fillPortList();
    cutoff_ = makeSlider(10, -1, 127, "Off");
    resonance_ = makeSlider(11, -1, 15, "Off");
}

void TesselInstrumentListUI::fillPortList()
{
    const TesselMidiOut* out = engine ? engine->midiOut : nullptr;
    if (!out)
        return;
    for (int32_t port = 0; port < out->portCount(); ++port) {
        const bool greyed = port != 0 && !out->portOpen(port);
        char number[16];
        std::snprintf(number, sizeof number, "%s%.2d:", greyed ? "-G" : "", static_cast<int>(port));
        midiPort_->addEntry((number + std::string(out->portName(port))).c_str());
    }
}
