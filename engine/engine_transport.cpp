// Row timing, tempo and stopping.
#include "engine/engine.h"

#include "engine/engine_actions.h"
#include "engine/engine_status.h"
#include "engine/midi/midi_out.h"
#include "engine/pool.h"
#include "engine/timing/position_table.h"
#include "engine/transport_release.h"
#include "engine/voice/voice_update_tables.h"

#include <cstring>

void TesselEngine::computeTiming()
{
    shownTempo_.store(tempo, std::memory_order_relaxed);
    TesselPositionTable* table = TesselPools::positions;
    if (!table)
        return;
    const double t = tempo;
    const double r = song.rowsPerQuarter;
    const double s = speed;
    const double f = sampleRate;
    if (t > 0.0 && r > 0.0 && s > 0.0)
        table->msPerTick = 60000.0 / (t * r * s);
    // Before the host gives a rate there is no time per sample.
    if (f > 0.0) {
        if (f != tesselRateTables().outputRate)
            fillRateTables(f);
        table->ticksPerSample = static_cast<float>(t * r * s / (f * 60.0));
        double rows = t * r / (f * 60.0);
        if (song.timingMode == TesselModule::Speed && s > 0.0)
            rows *= 6.0 / s;
        table->rowsPerSample = rows;
    } else {
        table->ticksPerSample = 0.0f;
        table->rowsPerSample = 0.0;
    }
    rowsPerFrame_ = table->rowsPerSample;
}

void TesselEngine::setTempo(double bpm)
{
    if (bpm == tempo)
        return;
    tempo = bpm;
    computeTiming();
}

void TesselEngine::setTempoEntry(const TesselTempoEntry& entry)
{
    nextTempoChange = entry.nextChange;
    setTempo(entry.tempo);
}

bool TesselEngine::isPlaying() const
{
    if (transport == kPlayingPattern)
        return true;
    return transport == kPlayingSong && !positions.empty() && positions.front().entry <= songTiming.count;
}

// What both stops do at once, before they wait for the song lock. The MIDI
// notes still sounding are ended under it: the audio thread plays notes into
// the same counts, and once it has let go of the song it sees the transport
// stopped and plays no more.
void TesselEngine::enterStopped(int32_t state, int action)
{
    transport = state;
    engineStatus("");
    logEngineAction(static_cast<TesselEngineAction>(action),
                    positions.empty() ? 0 : static_cast<int32_t>(positions.front().time));
}

void TesselEngine::stop()
{
    enterStopped(kStoppedReleased, kActStop);

    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return;
    if (midiOut)
        midiOut->notesOff();
    positions.resize(1);
    positions.front().reset();
    std::memset(heldNotes, 0, sizeof heldNotes);
    busyLists.markAll();
    for (TesselChannelVoiceList& list : voiceLists)
        for (TesselVoiceListNode* node = list.head; node; node = node->next)
            if (node->voice && node->voice->state() != voice_state::kIdle)
                silenceVoice(*node->voice, blockFrames);
}

void TesselEngine::stopNow()
{
    enterStopped(kStoppedCut, kActStopNow);

    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return;
    if (midiOut)
        midiOut->notesOff();
    dropVoices();
}

void TesselEngine::reset()
{
    engineStatus("Re-initialising Quorbel...");
    for (TesselMidiInSlot& slot : midiInSlots)
        slot.count = 0;
    stopNow();
    if (transport == kStoppedCut && midiOut)
        midiOut->resetControllers();
    // Rebuilding allocates and waits for the lists' mutexes without limit:
    // never on the audio thread.
    if (!TesselAudioThreadScope::active()) {
        rebuildSongPlaylist(nullptr, false);
        rebuildPatternPlaylists(false);
    }
    logEngineAction(kActReset, 0);
    engineStatus("Re-initialising Quorbel... completed.");
}

int32_t TesselEngine::getPlayingOrder() const
{
    if (song.orderList.inPitchMode())
        return -1;
    return playingOrder_.load(std::memory_order_relaxed);
}
