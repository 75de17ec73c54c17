// Sample auditions and the release of held keys.
#include "engine/engine.h"

#include "engine/engine_actions.h"
#include "engine/engine_globals.h"
#include "engine/pool.h"
#include "engine/transport_release.h"
#include "engine/voice/voice_update_tables.h"

#include <algorithm>
#include <optional>

namespace {

// The playback step of a sample at a note: its own rate against 44100 Hz
// on top of the note's step from the base note.
float auditionStep(const TesselSample& sample, int note)
{
    const float* steps = tesselRateTables().note;
    if (sample.speed <= 0)
        return steps[60 + note];
    // A base note far above the played one would index before the table.
    const int index = std::clamp(120 + note - static_cast<int>(sample.pitch), 0, 255);
    return steps[index] * static_cast<float>(sample.speed) / 44100.0f;
}

} // namespace

bool TesselEngine::playSample(int note, int sample)
{
    if (!auditionAllowed() || note < 0 || note >= kHeldNotes || sample < 0 || sample >= kSamples)
        return false;
    if (heldNotes[0][note])
        stopNote(0, note);

    TesselVoicePool* pool = TesselPools::voices;
    TesselVoice* voice = pool ? pool->acquire(nullptr) : nullptr;
    if (!voice)
        return false;
    TesselChannel& audition = liveChannels()[TesselChannelVoiceList::kPreview];
    TesselSample& source = song.samples[static_cast<size_t>(sample)];
    voice->channelSettings = &audition;
    voice->liveChannel = &audition;
    voice->instrument = &auditionInstrument;
    voice->sample = &source;
    voice->note = static_cast<int8_t>(note);
    voice->pitchFactor = voice->startPitchFactor = auditionStep(source, note);
    voice->current.pitch = voice->pitchFactor;
    voice->setVolume(source.defaultVolume);
    voice->setPanning(source.defaultPan >= 0 ? source.defaultPan : 32);
    voice->startNote();
    voice->setState(source.audio.frames > 0 ? voice_state::kSample | voice_state::kActive : voice_state::kIdle);

    bool playing = false;
    {
        platform::MutexLock lock(song.songLock(), editLockWaitMs);
        if (lock) {
            TesselChannelVoiceList& list = voiceLists[TesselChannelVoiceList::kPreview];
            busyLists.mark(TesselChannelVoiceList::kPreview);
            TesselVoiceListNode carrier{voice};
            playing = list.head ? list.insert(list.head, &carrier) : list.insert(nullptr, nullptr);
            if (playing && !list.head->voice)
                list.head->assign(carrier);
            playing = playing && list.head->voice;
            if (playing) {
                TesselVoice& sounding = *list.head->voice;
                sounding.computeTick();
                sounding.recordEvent(eventSpan(blockFrames));
                heldNotes[0][note] = TesselChannelVoiceList::kCount;
                if (transport == kStoppedCut)
                    transport = kStoppedReleased;
                logEngineAction(kActPlaySample, note + 65536 * sample);
            }
        }
    }
    pool->release(voice);
    return playing;
}

void TesselEngine::stopNote(int instrument, int note, bool callerHoldsLock)
{
    logEngineAction(kActStopNote, note + 65536 * instrument);
    if (instrument < 0 || instrument >= kHeldInstruments || note < 0 || note >= kHeldNotes)
        return;
    std::optional<platform::MutexLock> lock;
    if (!callerHoldsLock) {
        lock.emplace(song.songLock(), editLockWaitMs);
        if (!*lock)
            return;
    }
    const int held = heldNotes[instrument][note];
    if (held > 0 && held <= kVoiceLists) {
        const bool anyVoice = held == kVoiceLists && instrument == 0;
        busyLists.mark(held - 1);   // a key released on an idle voice still records its silence
        for (TesselVoiceListNode* node = voiceLists[static_cast<size_t>(held - 1)].head; node; node = node->next) {
            TesselVoice* voice = node->voice;
            if (!voice || voice->note != note || (!anyVoice && voice->instrumentNumber != instrument))
                continue;
            releaseKey(*voice, blockFrames);
        }
    }
    heldNotes[instrument][note] = 0;
}
