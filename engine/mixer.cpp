// The mixing pass of a block: every voice event of every channel list into
// the output block, then past notes whose voices went idle back to the pool.
#include "engine/engine.h"
#include "engine/interpolate.h"
#include "engine/pool.h"
#include "engine/vector.h"
#include "engine/voice_lanes.h"

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

// The plain path: the voice renders its event into the scratch channels,
// which are added into the output.
int renderPlain(TesselVoice& voice, TesselBusBuffer& out, float* const scratch[2])
{
    const int c = voiceMixChannels(*voice.sample, voice.current.bus, out);
    const int end = voice.render(scratch, c);
    const int start = voice.current.start;
    const int lanes = std::min<int>(c, out.channels);
    for (int j = 0; j < lanes && end > start; ++j)
        vecAdd(scratch[j] + start, out.channel[j] + start, out.channel[j] + start, end - start);
    return end;
}

// Renders the voice's events in order; the last one stays, spanning the next
// block. A voice that ends loses all its events. `lane` (or null) holds the
// voice's walked events.
void renderVoice(TesselVoice& voice, TesselBusBuffer& out, int frames, float* const scratch[2],
                 const TesselLaneBuffers* lanes, int lane)
{
    constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
    for (int index = 0; TesselVoiceEvent* event = voice.events; ++index) {
        voice.current.copyValues(*event);
        voice.current.end = static_cast<uint16_t>(std::min<int>(voice.current.end, frames));
        voice.current.start = std::min(voice.current.start, voice.current.end);
        if (voice.sample && (voice.current.state & kSounding) == kSounding) {
            const int end = lanes ? renderLaneEvent(voice, *lanes, lane, lanes->lane[lane].event[index], scratch, out)
                                  : renderPlain(voice, out, scratch);
            if (end != 0) {
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

// Voices with events, in mixing order, rendered a window at a time: each
// group of lanes is walked just before its first voice renders, so that the
// walk starts from the state the voices have then.
class LaneGroups {
public:
    static constexpr int kWindow = 64;   // voices looked at for one group at most

    LaneGroups(TesselBusBuffer& out, int frames, float* const scratch[2])
        : buffers_(TesselPools::lanes), out_(out), frames_(frames), scratch_(scratch),
          tile_(!buffers_ || mixPath() != TesselMixPath::Lanes ? 0 : vecCpuLevel() >= 6 ? 8 : 4)
    {
    }

    void push(TesselVoice& voice)
    {
        window_[count_++] = &voice;
        if (count_ == kWindow)
            flush();
    }

    // Renders the voices pushed so far.
    void flush()
    {
        for (int first = 0; first < count_;)
            first = renderGroup(first);
        count_ = 0;
    }

private:
    // Walks the next group of lanes from window entry `first` and renders
    // the voices it looked at; returns the entry after them.
    int renderGroup(int first)
    {
        if (tile_ == 0) {
            renderVoice(*window_[first], out_, frames_, scratch_, nullptr, -1);
            return first + 1;
        }
        TesselLaneWalk group(*buffers_, tile_, 2 * tile_);
        int end = first;
        for (; end < count_ && !group.full(); ++end)
            if (!inGroup(group, window_[end]))
                group.add(*window_[end], out_, frames_);
        if (group.count() > 0 && group.begin())
            (tile_ == 8 ? walkLanesAvx2 : walkLanesSse)(group);
        int taken = 0;
        for (int i = first; i < end; ++i) {
            TesselVoice& voice = *window_[i];
            const bool walked = taken < group.count() && buffers_->lane[taken].voice == &voice;
            renderVoice(voice, out_, frames_, scratch_, walked ? buffers_ : nullptr, walked ? taken++ : -1);
        }
        return end;
    }
    bool inGroup(const TesselLaneWalk& group, const TesselVoice* voice) const
    {
        for (int l = 0; l < group.count(); ++l)
            if (buffers_->lane[l].voice == voice)
                return true;
        return false;
    }

    TesselLaneBuffers* buffers_;
    TesselBusBuffer& out_;
    const int frames_;
    float* const* scratch_;
    const int tile_;   // lanes per vector; 0: the plain path
    TesselVoice* window_[kWindow];
    int count_ = 0;
};

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
    LaneGroups groups(out, frames, scratch);
    int active = 0;
    // Only voices with events render; past notes are retired after the pass.
    bool pastNotes[kVoiceLists];
    for (int l = 0; l < kVoiceLists; ++l) {
        const TesselChannelVoiceList& list = lists[static_cast<size_t>(l)];
        pastNotes[l] = list.head && list.head->next;
        for (TesselVoiceListNode* node = list.head; node; node = node->next) {
            TesselVoice* voice = node->voice;
            if (!voice)
                continue;
            if (voice->events) {
                ++active;
                groups.push(*voice);
            } else if (voice->state() != voice_state::kIdle) {
                ++active;
            }
        }
    }
    groups.flush();
    for (int l = 0; l < kVoiceLists; ++l)
        if (pastNotes[l])
            retireIdlePastNotes(lists[static_cast<size_t>(l)]);
    return active;
}
