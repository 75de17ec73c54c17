// Small lookups on cells and positions shared by note entry, playback from
// the editor and the cursor guide. None of them creates a row or a track.
#include "model/selection/selection_cells.h"
#include "model/song/module.h"

namespace {

constexpr int16_t kNoteCut = 254;
constexpr int16_t kNoteOff = 255;

bool isKey(int pitch) { return pitch >= 0 && pitch < kKeys; }

// The song's instrument of the cell, or null for none or one outside 1..99.
const TesselInstrument* instrumentOf(const TesselModule& song, const TesselSubrowData& cell)
{
    if (cell.instrument < 1 || cell.instrument > kInstruments)
        return nullptr;
    return &song.instruments[static_cast<size_t>(cell.instrument - 1)];
}

// The key map row of the cell's note, or null for a special or missing note.
const TesselSubrow* keyRowOf(const TesselInstrument& instrument, const TesselSubrowData& cell)
{
    return isKey(cell.pitch) ? &instrument.keymap.keyRow(cell.pitch) : nullptr;
}

const TesselSample* sampleOf(const TesselModule& song, const TesselInstrument& instrument,
                             const TesselSubrowData& cell)
{
    const int s = instrument.sampleForNote(cell);
    return s >= 0 && s < kSamples ? &song.samples[static_cast<size_t>(s)] : nullptr;
}

} // namespace

bool TesselSubrow::sameData(const TesselSubrowData& other) const
{
    return pitch == other.pitch && volume == other.volume && panning == other.panning && depth == other.depth &&
           instrument == other.instrument && effect.command == other.effect.command &&
           effect.parameter == other.effect.parameter;
}

bool TesselSubrow::startsNote() const
{
    return instrument != 0 && effect.command != 'G' && effect.command != 'L';
}

int TesselInstrument::sampleForNote(const TesselSubrowData& cell) const
{
    if (midiOut)
        return -1;
    const int own = index;
    if (cell.pitch == kNoteCut || cell.pitch == kNoteOff || !isKey(cell.pitch))
        return own;
    const int sample = keymap.keyRow(cell.pitch).instrument - 1;
    return sample < 0 ? own : sample;
}

int TesselModule::cellVolume(const TesselSubrowData& cell, int /*channel*/) const
{
    const TesselInstrument* instrument = instrumentOf(*this, cell);
    if (!instrument)
        return -1;
    if (const TesselSubrow* key = keyRowOf(*instrument, cell); key && key->volume != -1)
        return key->volume;
    if (instrument->midiOut)
        return 64;
    const TesselSample* sample = sampleOf(*this, *instrument, cell);
    return sample ? sample->defaultVolume : -1;
}

int TesselModule::cellPanning(const TesselSubrowData& cell, int channel) const
{
    const TesselInstrument* instrument = instrumentOf(*this, cell);
    if (!instrument)
        return -1;
    if (const TesselSubrow* key = keyRowOf(*instrument, cell); key && key->panning != -1)
        return key->panning;
    if (instrument->defaultPan != -1)
        return instrument->defaultPan;
    if (const TesselSample* sample = sampleOf(*this, *instrument, cell); sample && sample->defaultPan != -1)
        return sample->defaultPan;
    if (channel < 0 || channel >= kChannels)
        return -1;
    return channels[static_cast<size_t>(channel)].panning;
}

int TesselOrderList::nextUsed(int index) const
{
    for (int i = std::max(index + 1, 0); i < kOrderEntries; ++i)
        if (entries[static_cast<size_t>(i)].pattern >= 0)
            return i;
    return index;
}

int TesselOrderList::previousUsed(int index) const
{
    for (int i = std::min(index, kOrderEntries) - 1; i >= 0; --i)
        if (entries[static_cast<size_t>(i)].pattern >= 0)
            return i;
    return index;
}

int TesselSelection::cellCount() const
{
    return active && pattern ? region::cellCount(*this, pattern->length()) : 0;
}

TesselCellPosition TesselSelection::positionAfter(int startRow, int n) const
{
    if (!pattern)
        return {startRow, 0};
    return region::lastCellFrom(region::speedIn(*this, *pattern), pattern->length(), {startRow, 0},
                                std::max(cellCount() + n, 1));
}

bool TesselSelection::sameRegion(const TesselSelection& other) const
{
    return start == other.start && end == other.end && active == other.active && marking == other.marking &&
           dragging == other.dragging && pattern == other.pattern;
}
