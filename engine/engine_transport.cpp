// Row timing and stopping. Starting playback, auditions of samples and the
// status line build on these.
#include "engine/engine.h"

#include "engine/pool.h"
#include "engine/position_table.h"
#include "engine/voice_update_tables.h"
#include "platform/status_text.h"

void TesselEngine::computeTiming()
{
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
}

void TesselEngine::stopNow()
{
    transport = kStoppedCut;
    platform::clearStatusText();
    platform::MutexLock lock(song.songLock(), 1000);
    if (!lock)
        return;
    for (TesselChannelVoiceList& list : voiceLists) {
        TesselVoiceListNode* head = list.head;
        if (!head)
            continue;
        head->releaseFollowing();
        if (head->voice) {
            head->voice->reset();
            head->voice->setState(voice_state::kIdle);
        }
    }
}

void TesselEngine::stop()
{
    transport = kStoppedReleased;
}

void TesselEngine::reset()
{
    stopNow();
}

bool TesselEngine::isPlaying() const
{
    return transport >= kPlayingSong;
}

void TesselEngine::stopNote(int instrument, int note, bool callerHoldsLock)
{
    (void)instrument;
    (void)note;
    (void)callerHoldsLock;
}

void TesselEngine::setTempo(double bpm)
{
    if (bpm != tempo) {
        tempo = bpm;
        computeTiming();
    }
}

void TesselEngine::setTempoEntry(const TesselTempoEntry& entry)
{
    nextTempoChange = entry.nextChange;
    setTempo(entry.tempo);
}

void TesselEngine::setSampleRate(float rate)
{
    if (!(rate > 0.0f))
        return;
    sampleRate = rate;
    computeTiming();
}
