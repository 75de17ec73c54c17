// The voice tick update of one channel: delayed notes count down, the
// current voice's effects act, every sounding voice computes its tick and
// records what changed as an event of the block.
#include "engine/engine.h"
#include "engine/engine_globals.h"
#include "engine/midi/midi_out.h"
#include "engine/voice/voice_midi.h"

#include <algorithm>

namespace {

constexpr uint8_t kSoundingSample = voice_state::kActive | voice_state::kSample;
constexpr uint8_t kSoundingMidi = voice_state::kActive | voice_state::kMidi;

bool has(uint8_t state, uint8_t bits)
{
    return (state & bits) == bits;
}

} // namespace

void TesselEngine::processChannelRow(int list, const TesselSubrow* subrow, int subrowIndex, int blockOffset)
{
    if (list < 0 || list >= kVoiceLists)
        return;
    busyLists.mark(list);
    voiceLists[static_cast<size_t>(list)].processRow(*this, song, blockOffset, 0, subrow, subrowIndex);
}

bool TesselEngine::idleList(const TesselChannelVoiceList& list)
{
    for (const TesselVoiceListNode* node = list.head; node; node = node->next) {
        if (node->delay >= 0)
            return false;
        const TesselVoice* voice = node->voice;
        if (voice && has(voice->state(), voice->sample ? kSoundingSample : kSoundingMidi))
            return false;
    }
    return true;
}

void TesselEngine::updateTick(int list, int blockOffset)
{
    if (list < 0 || list >= kVoiceLists)
        return;
    busyLists.mark(list);
    TesselChannelVoiceList& chain = voiceLists[static_cast<size_t>(list)];
    TesselChannel& live = liveChannels()[static_cast<size_t>(list)];
    // Between blocks (an audition before the first block) an event spans
    // the longest block; the mixer cuts it to the block it renders.
    const int frames = blockFrames > 0 ? blockFrames : TesselBusBuffer::kFrames;
    blockOffset = std::clamp(blockOffset, 0, frames);
    if (midiOut)
        midiOut->countQueued();

    int position = 0;
    for (TesselVoiceListNode* node = chain.head; node; node = node->next, ++position) {
        if (node->delay >= 0)
            chain.processRow(*this, song, blockOffset, position, nullptr, -1);
        TesselVoice* voice = node->voice;
        if (!voice)
            continue;
        const uint8_t state = voice->state();
        const bool sampleVoice = voice->sample != nullptr;
        if (sampleVoice && has(state, kSoundingSample)) {
            if (!voice->events) {
                voice->setState(state | voice_state::kNoRamp);
                voice->current.start = static_cast<uint16_t>(blockOffset);
                voice->current.end = static_cast<uint16_t>(frames);
                voice->appendEvent(voice->current);
            }
        } else if (sampleVoice || !has(state, kSoundingMidi)) {
            continue;
        }

        if (node == chain.head)
            voice->runEffectSlots();
        voice->computeTick();
        if (sampleVoice)
            voice->recordEventAt(blockOffset, frames);
        sendVoiceMidi(*voice, voice->liveChannel ? *voice->liveChannel : live, blockOffset);
    }
}
