#include "model/instrument/instrument.h"

#include "model/text_field.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

double pitchBendScale(int range)
{
    return 8192.0 / std::log(static_cast<double>(range) / 6.0);
}

void copyText(char* to, size_t size, const char* from)
{
    std::snprintf(to, size, "%s", from ? from : "");
}

} // namespace

TesselInstrument::TesselInstrument()
{
    reset();
}

TesselInstrument::TesselInstrument(const TesselInstrument& other) : TesselInstrument()
{
    index = other.index;
    assign(other);
}

void TesselInstrument::reset()
{
    resetSettings();
    keymap.reset(index);
}

void TesselInstrument::resetSettings()
{
    setName("");
    copyText(label, sizeof label, defaultLabel().c_str());
    colour = 0xFFFFFF;
    newNoteAction = 0;
    duplicateCheckType = 0;
    duplicateAction = 0;
    for (TesselEnvelope& e : envelopes)
        e.reset();
    globalVolume = 64;
    fadeOut = 0;
    volumeSwing = 0;
    defaultPan = -1;
    defaultDepth = -1;
    defaultRotation = -1;
    pitchCentre = 60;
    pitchSeparation = 0;
    panningSwing = 0;
    reserved = 0;
    midiIn = 0;
    midiOut = 0;
    midiThru = 0;
    setMidiOutPort(kDefaultMidiOutPort);
    midiPortNumber = 0;
    midiChannel = 1;
    midiProgram = -1;
    midiBankMsb = -1;
    midiBankLsb = -1;
    midiPitchBend = kDefaultMidiPitchBend;
    midiPitchBendScale = pitchBendScale(kDefaultMidiPitchBend);
    midiPitchBendHiRes = 0;
    midiDefaultVelocity = 64;
    for (int i = 0; i < kMidiEffects; ++i)
        midiEffects[static_cast<size_t>(i)] = i;
    filterCutoff = -1;
    filterResonance = -1;
    filterRange = 2;
}

void TesselInstrument::assign(const TesselInstrument& other)
{
    if (&other == this)
        return;
    resetAndCopySettings(other);
    keymap.keyRegions = other.keymap.keyRegions;
    keymap.TesselRowTable::assign(other.keymap);
}

void TesselInstrument::takeFrom(TesselInstrument& other)
{
    if (&other == this)
        return;
    resetAndCopySettings(other);
    keymap.keyRegions = other.keymap.keyRegions;
    keymap.swapRows(other.keymap);
}

void TesselInstrument::resetAndCopySettings(const TesselInstrument& other)
{
    // The key map is left to the caller: resetting it would make rows that
    // are replaced at once.
    resetSettings();
    std::memcpy(name, other.name, sizeof name);
    name[kInstrumentNameLength] = '\0';
    if (other.compareDefaultLabel() != 0)
        setLabel(other.label);
    colour = other.colour;
    newNoteAction = other.newNoteAction;
    duplicateCheckType = other.duplicateCheckType;
    duplicateAction = other.duplicateAction;
    for (size_t i = 0; i < envelopes.size(); ++i)
        envelopes[i].assign(other.envelopes[i]);
    globalVolume = other.globalVolume;
    fadeOut = other.fadeOut;
    volumeSwing = other.volumeSwing;
    defaultPan = other.defaultPan;
    defaultDepth = other.defaultDepth;
    defaultRotation = other.defaultRotation;
    pitchCentre = other.pitchCentre;
    pitchSeparation = other.pitchSeparation;
    panningSwing = other.panningSwing;
    reserved = other.reserved;
    filterCutoff = other.filterCutoff;
    filterResonance = other.filterResonance;
    filterRange = other.filterRange;
    midiIn = other.midiIn;
    midiOut = other.midiOut;
    midiThru = other.midiThru;
    std::memcpy(midiOutPort, other.midiOutPort, sizeof midiOutPort);
    midiOutPort[kMidiPortNameSize - 1] = '\0';
    midiPortNumber = other.midiPortNumber;
    midiChannel = other.midiChannel;
    midiProgram = other.midiProgram;
    midiBankLsb = other.midiBankLsb;
    midiBankMsb = other.midiBankMsb;
    midiPitchBend = other.midiPitchBend;
    midiPitchBendScale = other.midiPitchBendScale;
    midiPitchBendHiRes = other.midiPitchBendHiRes;
    midiDefaultVelocity = other.midiDefaultVelocity;
    midiEffects = other.midiEffects;
}

std::string TesselInstrument::defaultLabel() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2d", index + 1);
    return std::string(text).substr(0, kInstrumentLabelSize - 1);
}

int TesselInstrument::compareDefaultLabel() const
{
    return std::strncmp(label, defaultLabel().c_str(), kInstrumentLabelSize);
}

void TesselInstrument::setLabel(const char* text)
{
    copyText(label, sizeof label, text);
}

void TesselInstrument::setName(const char* text)
{
    setBlankPadded(name, kInstrumentNameLength, text);
}

void TesselInstrument::setMidiOutPort(const char* text)
{
    copyText(midiOutPort, sizeof midiOutPort, text);
}

void TesselInstrument::setMidiPitchBend(int range)
{
    midiPitchBend = range;
    // ln(range / 6) is 0 at 6 and negative below: such a scale is no scale.
    if (range > 6)
        midiPitchBendScale = pitchBendScale(range);
}

bool TesselInstrument::isEmpty() const
{
    if (!isAllBlank(name, kInstrumentNameLength) || compareDefaultLabel() != 0 || colour != 0xFFFFFF ||
        !keymap.isDefault(index))
        return false;
    const bool general = newNoteAction == 0 && duplicateCheckType == 0 && duplicateAction == 0 &&
                         globalVolume == 64 && fadeOut == 0 && volumeSwing == 0 && defaultPan == -1 &&
                         pitchCentre == 60 && pitchSeparation == 0 && panningSwing == 0 && defaultDepth == -1 &&
                         defaultRotation == -1 && reserved == 0 && midiIn == 0 && midiOut == 0 && midiThru == 0 &&
                         midiPortNumber == 0 && midiChannel == 1 && midiProgram == -1 && midiBankMsb == -1 &&
                         midiBankLsb == -1 && midiPitchBend == kDefaultMidiPitchBend && midiPitchBendHiRes == 0 &&
                         midiDefaultVelocity == 64 && filterCutoff == -1 && filterResonance == -1 && filterRange == 2;
    if (!general)
        return false;
    for (const TesselEnvelope& e : envelopes)
        if (!e.isEmpty())
            return false;
    for (int i = 0; i < kMidiEffects; ++i)
        if (midiEffects[static_cast<size_t>(i)] != i)
            return false;
    return true;
}
