// The mixing pass of a block: every voice event of every channel list into
// the output block, then past notes whose voices went idle back to the pool.
#include "engine/engine.h"
#include "engine/interpolate.h"
#include "engine/pool.h"
#include "engine/vector.h"

#include <algorithm>

namespace {

// One pair for the whole pass. The song lock serialises mixing passes, as it
// does for the process-wide position table.
struct TesselMixScratch {
    alignas(16) float channel[2][TesselVoice::kScratchFrames];
};
TesselMixScratch mixScratch;

void dropEvent(TesselVoice& voice, TesselVoiceEvent* event)
{
    voice.events = event->following();
    event->unlink();
    if (TesselPools::events)
        TesselPools::events->release(event);
}

int renderChannels(const TesselVoice& voice, const TesselBusBuffer& out)
{
    int c = sampleRenderChannels(*voice.sample);
    // The output block is the only bus: any bus but 0 takes its channel count.
    if (voice.current.bus != 0 && out.requestedChannels > c)
        c = out.requestedChannels;
    return std::min(c, TesselBusBuffer::kChannels);
}

// Renders the voice's events in order; the last one stays, spanning the next
// block. A voice that ends loses all its events.
void renderVoice(TesselVoice& voice, TesselBusBuffer& out, int frames, float* const scratch[2])
{
    constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
    while (TesselVoiceEvent* event = voice.events) {
        voice.current.copyValues(*event);
        voice.current.end = static_cast<uint16_t>(std::min<int>(voice.current.end, frames));
        voice.current.start = std::min(voice.current.start, voice.current.end);
        if (voice.sample && (voice.current.state & kSounding) == kSounding) {
            const int c = renderChannels(voice, out);
            const int end = voice.render(scratch, c);
            const int start = voice.current.start;
            if (end != 0) {
                const int lanes = std::min<int>(c, out.channels);
                for (int j = 0; j < lanes && end > start; ++j)
                    vecAdd(scratch[j] + start, out.channel[j] + start, out.channel[j] + start, end - start);
                if (end < voice.current.end) {
                    voice.freeEvents();
                    return;
                }
            } else if (voice.current.end != 0) {
                voice.freeEvents();
                return;
            }
        }
        if (!event->following()) {
            event->start = 0;
            event->end = static_cast<uint16_t>(frames);
            return;
        }
        dropEvent(voice, event);
    }
}

void retireIdlePastNotes(TesselChannelVoiceList& list)
{
    TesselVoiceListPool* pool = TesselPools::nodes;
    if (!pool || !list.head)
        return;
    for (TesselVoiceListNode* node = list.head->next; node;) {
        TesselVoiceListNode* next = node->next;
        if (!node->voice || node->voice->state() == voice_state::kIdle)
            pool->release(node);   // a busy pool keeps it until the next block
        node = next;
    }
}

} // namespace

int TesselEngine::renderVoices(std::array<TesselChannelVoiceList, kVoiceLists>& lists, TesselBusBuffer& out,
                               int frames)
{
    frames = std::clamp(frames, 0, TesselBusBuffer::kFrames);
    float* const scratch[2] = {mixScratch.channel[0], mixScratch.channel[1]};
    int active = 0;
    for (TesselChannelVoiceList& list : lists)
        for (TesselVoiceListNode* node = list.head; node; node = node->next) {
            TesselVoice* voice = node->voice;
            if (!voice)
                continue;
            if (voice->state() != voice_state::kIdle || voice->events)
                ++active;
            renderVoice(*voice, out, frames, scratch);
        }
    for (TesselChannelVoiceList& list : lists)
        retireIdlePastNotes(list);
    return active;
}
