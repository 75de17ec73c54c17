#include "model/song/module.h"

#include "platform/system/library_handle.h"
#include "platform/system/version.h"

#include <algorithm>

TesselModule::TesselModule(TesselEngine* owner)
    : mutex_(platform::openNamedMutex(platform::handleName("QB_MODULE_"))), owner_(owner)
{
    for (int i = 0; i < kPatterns; ++i)
        patterns[static_cast<size_t>(i)].index = i;
    if (!owner)
        reset(120.0, 6.0, 4);
}

void TesselModule::reset(double newTempo, double newResolution, int newRowsPerQuarter)
{
    const int r = std::clamp(newRowsPerQuarter, 1, kMaxRowsPerQuarter);
    songCounter().fetch_add(1);
    std::fill(std::begin(text), std::end(text), '\0');
    orderList.reset();
    documentVersion() = platform::programVersion();
    tempo = newTempo;
    resolution = newResolution;
    rowsPerQuarter = r;
    TesselPatternDefaults& defaults = patternDefaults();
    defaults.minorStep = r;
    midiIn = 1;
    timingMode = Resolution;
    defaults.length = 16 * r;
    defaults.majorStep = 4 * r;
    for (int i = 0; i < kPatterns; ++i) {
        patterns[static_cast<size_t>(i)].reset(defaults.length);
        patterns[static_cast<size_t>(i)].index = i;
    }
    for (int j = 0; j < kSamples; ++j) {
        samples[static_cast<size_t>(j)].reset();
        samples[static_cast<size_t>(j)].index = j;
    }
    for (int j = 0; j < kInstruments; ++j) {
        instruments[static_cast<size_t>(j)].index = j;
        instruments[static_cast<size_t>(j)].reset();
    }
    for (int j = 0; j < kChannels; ++j) {
        channels[static_cast<size_t>(j)].index = j;
        channels[static_cast<size_t>(j)].reset();
    }
}

void TesselModule::copySettingsFrom(const TesselModule& other)
{
    std::copy(std::begin(other.text), std::end(other.text), text);
    timingMode = other.timingMode;
    tempo = other.tempo;
    resolution = other.resolution;
    rowsPerQuarter = other.rowsPerQuarter;
    outputBus = other.outputBus;
    reserved = other.reserved;
    midiIn = other.midiIn;
    orderList.assign(other.orderList);
}

bool TesselModule::copySongFrom(const TesselModule& other)
{
    copyOutlineFrom(other);
    for (size_t i = 0; i < patterns.size(); ++i) {
        patterns[i].index = other.patterns[i].index;
        patterns[i].assign(other.patterns[i]);
    }
    bool whole = true;
    for (size_t i = 0; i < samples.size(); ++i)
        whole = copySampleFrom(other, i) && whole;
    for (size_t i = 0; i < instruments.size(); ++i)
        copyInstrumentFrom(other, i);
    return whole;
}

void TesselModule::copyOutlineFrom(const TesselModule& other)
{
    copySettingsFrom(other);
    for (size_t i = 0; i < channels.size(); ++i)
        channels[i].assign(other.channels[i]);
    songPath = other.songPath;
}

bool TesselModule::copySampleFrom(const TesselModule& other, size_t i)
{
    samples[i].index = other.samples[i].index;
    samples[i].assign(other.samples[i], true);
    samples[i].reserved = other.samples[i].reserved;
    return samples[i].length == other.samples[i].length;
}

void TesselModule::copyInstrumentFrom(const TesselModule& other, size_t i)
{
    instruments[i].index = other.instruments[i].index;   // its resets go by the index
    instruments[i].assign(other.instruments[i]);
}

void TesselModule::takeSongFrom(TesselModule& other)
{
    copySettingsFrom(other);
    for (size_t i = 0; i < patterns.size(); ++i)
        patterns[i].swap(other.patterns[i]);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i].takeFrom(other.samples[i]);
    for (size_t i = 0; i < instruments.size(); ++i)
        instruments[i].takeFrom(other.instruments[i]);
    for (size_t i = 0; i < channels.size(); ++i)
        channels[i].assign(other.channels[i]);
}
