// The editor's auditions: one note on a channel, one note on the preview
// channel from a file browser's module, one pattern row on all channels.
// Each runs the row step and one tick at once; the block process runs the
// later ticks like those of any other voice.
#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "engine/engine_globals.h"

#include "platform/status_text.h"

namespace {

// The held-note entry of an instrument's note; null for what the table
// cannot hold (instrument numbers from files, pitches up to 253).
int32_t* heldEntry(TesselEngine& engine, int instrument, int pitch)
{
    if (instrument < 0 || instrument >= kHeldInstruments || pitch < 0 || pitch >= kHeldNotes)
        return nullptr;
    return &engine.heldNotes[instrument][pitch];
}

int32_t packedNote(const TesselSubrow& subrow)
{
    const uint32_t v = ((static_cast<uint32_t>(subrow.index) * 256 + static_cast<uint8_t>(subrow.pitch)) * 256 +
                        static_cast<uint8_t>(subrow.instrument)) * 256 +
                       static_cast<uint8_t>(subrow.effect.command);
    return static_cast<int32_t>(v);
}

// Steps of playNote and previewNote after the lock: list is the voice list,
// heldInstrument the held-note row it records under (the preview uses 0).
void playOn(TesselEngine& engine, TesselModule& module, const TesselSubrow& subrow, int list, int heldInstrument)
{
    TesselChannelVoiceList& chain = engine.voiceLists[static_cast<size_t>(list)];
    const int pitch = subrow.pitch;
    if (pitch == 254 || pitch == 255) {
        chain.processRow(engine, module, 0, 0, &subrow, subrow.index);
        engine.updateTick(list, 0);
    } else if (pitch >= 0 && pitch <= 253 && subrow.instrument != -1) {
        if (int32_t* held = heldEntry(engine, heldInstrument, pitch)) {
            if (*held != 0)
                engine.stopNote(heldInstrument, pitch, true);
            *held = list + 1;
        }
        if (list < kChannels && engine.transport <= kStoppedCut)
            liveChannels()[static_cast<size_t>(list)].assign(engine.song.channels[static_cast<size_t>(list)]);
        chain.processRow(engine, module, 0, 0, &subrow, subrow.index);
        engine.updateTick(list, 0);
    }
    if (engine.transport == kStoppedCut)
        engine.transport = kStoppedReleased;
    logEngineAction(kActPlayNote, packedNote(subrow));
}

} // namespace

bool TesselEngine::playNote(const TesselSubrow& subrow, int channel)
{
    if (!auditionAllowed() || channel < 0 || channel >= kVoiceLists)
        return false;
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    playOn(*this, song, subrow, channel, subrow.instrument);
    return true;
}

bool TesselEngine::previewNote(const TesselSubrow& subrow, TesselModule* module)
{
    if (!auditionAllowed())
        return false;
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    playOn(*this, module ? *module : song, subrow, TesselChannelVoiceList::kPreview, 0);
    return true;
}

bool TesselEngine::playRow(int pattern, int row)
{
    if (!auditionAllowed() || pattern < 0 || pattern >= kPatterns || row < 0 || row >= kMaxRows)
        return false;
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    platform::formatStatusText("Playing (Row: %d / Pattern: %d)", row, pattern);
    const TesselPattern& p = song.patterns[static_cast<size_t>(pattern)];
    for (int c = 0; c < kChannels; ++c) {
        const TesselRow* cell = p.findRow(c, row);
        if (!cell)
            continue;
        voiceLists[static_cast<size_t>(c)].processRow(*this, song, 0, 0, cell, cell->index);
        updateTick(c, 0);
    }
    if (transport == kStoppedCut)
        transport = kStoppedReleased;
    logEngineAction(kActPlayRow, row + pattern * 65536);
    return true;
}
