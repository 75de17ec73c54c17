#pragma once
// One of the song's 99 instruments: key map, note actions, volume, panning,
// pitch and filter settings with four envelopes, and MIDI settings.

#include "model/instrument/envelope.h"
#include "model/instrument/keymap.h"
#include "model/sample/sample.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

class TesselModule;

constexpr int kInstruments = 99;
constexpr int kInstrumentNameLength = 25;
constexpr int kInstrumentLabelSize = 4;     // 3 characters and the terminator
constexpr int kMidiPortNameSize = 256;      // 255 characters and the terminator
constexpr int kMidiEffects = 10;
constexpr int kDefaultMidiPitchBend = 24;
constexpr char kDefaultMidiOutPort[] = "(VST Host)";

class TesselInstrument {
public:
    TesselInstrument();
    // Takes the source's index, then copies it.
    TesselInstrument(const TesselInstrument& other);
    TesselInstrument& operator=(const TesselInstrument&) = delete;
    ~TesselInstrument() = default;

    void reset();
    // Everything but the index; the label only when the source has one of its own.
    void assign(const TesselInstrument& other);
    // As assign, but the key map's rows change hands instead of being copied:
    // the other keeps this one's, to be freed whenever it goes. Allocates
    // and frees nothing.
    void takeFrom(TesselInstrument& other);
    // 0 when the label is the default number (index + 1 as "%.2d").
    int compareDefaultLabel() const;
    std::string defaultLabel() const;
    void setLabel(const char* text);   // cut to 3 characters
    void setName(const char* text);    // blank-padded or cut to 25 characters
    std::string nameText() const { return std::string(name, kInstrumentNameLength); }
    // A range of 6 or less has no usable scale: the previous one stays.
    void setMidiPitchBend(int range);
    void setMidiOutPort(const char* text);   // cut to 255 characters
    bool isEmpty() const;
    // The sample (0-based) that the cell's note plays: -1 for a MIDI
    // instrument; the instrument's own sample for note off, note cut, no
    // note or a pitch outside the key map, or when the key names none.
    int sampleForNote(const TesselSubrowData& cell) const;

    // Document markup (instrument_markup.cpp): the "instrument" element with
    // its groups, MIDI settings, envelopes and key map.
    void writeXml(int slot, FILE* file) const;
    // Reads "index" (outside 0..98 it becomes -1), resets, then the rest; a
    // document older than 1.003 gives the colour as a palette index. False
    // when the input ends first.
    bool readXml(TesselMemoryFile& buffer, const TesselElement& element);
    // The "pitch" group's attributes: MIDI settings (instrument_midi_markup.cpp).
    void addMidiAttributes(TesselElement& element) const;
    void readMidiAttributes(const TesselElement& element);

    // Instrument files (instrument_file*.cpp): a zip with "Instrument.xml"
    // holding the samples that the key map uses, then the instrument. Loads
    // read the n-th instrument and put the samples in free slots of `samples`,
    // renumbering the key map; they answer a TesselFileResult.
    unsigned loadFile(const std::string& path, std::array<TesselSample, kSamples>& samples, int n = 0);
    unsigned loadZip(const std::string& path, std::array<TesselSample, kSamples>& samples, int n = 0);
    // ".zip" is added unless the name ends in it; written beside the target
    // and renamed over it. The slot itself is not changed.
    bool saveFile(const std::string& path, const std::array<TesselSample, kSamples>& samples, int index = 0) const;
    bool saveZip(const std::string& path, const std::array<TesselSample, kSamples>& samples, int index = 0) const;
    // Copies another module's instrument into this slot of `destination`,
    // with the samples it uses in free sample slots (song lock, 1000 ms).
    unsigned importWithSamples(const TesselInstrument& source, const std::array<TesselSample, kSamples>& sourceSamples,
                               TesselModule& destination);

private:
    // All but the key map as reset leaves it; then, as the other has it.
    void resetSettings();
    void resetAndCopySettings(const TesselInstrument& other);

public:
    TesselEnvelope& volumeEnvelope() { return envelopes[kVolumeEnvelope]; }
    TesselEnvelope& panningEnvelope() { return envelopes[kPanningEnvelope]; }
    TesselEnvelope& pitchEnvelope() { return envelopes[kPitchEnvelope]; }
    TesselEnvelope& filterEnvelope() { return envelopes[kFilterEnvelope]; }

    char name[kInstrumentNameLength + 1] = {};
    int32_t index = 0;
    char label[kInstrumentLabelSize] = {};
    uint32_t colour = 0xFFFFFF;
    TesselKeymap keymap;
    uint8_t newNoteAction = 0;
    uint8_t duplicateCheckType = 0;
    uint8_t duplicateAction = 0;
    std::array<TesselEnvelope, kEnvelopes> envelopes;   // volume, panning, pitch, filter
    // The ten fields from globalVolume to reserved travel together in assign.
    int32_t globalVolume = 64;
    int32_t fadeOut = 0;
    int32_t volumeSwing = 0;
    int32_t defaultPan = -1;
    int32_t defaultDepth = -1;
    int32_t defaultRotation = -1;
    int32_t pitchCentre = 60;
    int32_t pitchSeparation = 0;
    int32_t panningSwing = 0;
    int32_t reserved = 0;
    uint8_t midiIn = 0;
    uint8_t midiOut = 0;
    uint8_t midiThru = 0;
    char midiOutPort[kMidiPortNameSize] = {};
    int32_t midiPortNumber = 0;    // the engine's port for midiOutPort; -1 none
    int32_t midiChannel = 1;
    int32_t midiProgram = -1;
    int32_t midiBankMsb = -1;
    int32_t midiBankLsb = -1;
    int32_t midiPitchBend = kDefaultMidiPitchBend;
    double midiPitchBendScale = 0.0;
    uint8_t midiPitchBendHiRes = 0;
    int32_t midiDefaultVelocity = 64;
    std::array<int32_t, kMidiEffects> midiEffects{};
    int32_t filterCutoff = -1;
    int32_t filterResonance = -1;
    uint8_t filterRange = 2;
};
