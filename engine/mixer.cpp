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

// The voices of the lists in mixing order.
class VoiceCursor {
public:
    explicit VoiceCursor(std::array<TesselChannelVoiceList, kVoiceLists>& lists) : lists_(lists) { settle(); }
    TesselVoiceListNode* node() const { return node_; }
    void next()
    {
        node_ = node_->next;
        settle();
    }

private:
    void settle()
    {
        while (!node_ && list_ < kVoiceLists)
            node_ = lists_[static_cast<size_t>(list_++)].head;
    }
    std::array<TesselChannelVoiceList, kVoiceLists>& lists_;
    int list_ = 0;
    TesselVoiceListNode* node_ = nullptr;
};

// Groups of voices walked together, taken in mixing order as the mixer
// reaches them, so that each walk starts from the state the voices have then.
class LaneGroups {
public:
    LaneGroups(TesselBusBuffer& out, int frames)
        : buffers_(TesselPools::lanes), out_(out), frames_(frames),
          tile_(!buffers_ || mixPath() != TesselMixPath::Lanes ? 0 : vecCpuLevel() >= 6 ? 8 : 4)
    {
    }

    // Called for every node in mixing order: the lane holding the node's
    // voice, or -1 for the plain path. Past the nodes the last group looked
    // at, the next group is walked from here.
    int laneFor(const VoiceCursor& at)
    {
        if (tile_ == 0)
            return -1;
        if (window_ == 0)
            window_ = walk(at);
        --window_;
        const TesselVoice* voice = at.node()->voice;
        return voice && taken_ < walked_ && buffers_->lane[taken_].voice == voice ? taken_++ : -1;
    }
    const TesselLaneBuffers* buffers() const { return buffers_; }

private:
    // Walks the voices of the next nodes that have something to render;
    // returns the nodes looked at.
    int walk(VoiceCursor at)
    {
        TesselLaneWalk group(*buffers_, tile_, 2 * tile_);
        int seen = 0;
        for (; at.node() && !group.full() && seen < kLookAhead; at.next(), ++seen) {
            TesselVoice* voice = at.node()->voice;
            if (voice && voice->events && !inGroup(group, voice))
                group.add(*voice, out_, frames_);
        }
        taken_ = 0;
        walked_ = group.count();
        if (group.begin())
            (tile_ == 8 ? walkLanesAvx2 : walkLanesSse)(group);
        return seen;
    }
    bool inGroup(const TesselLaneWalk& group, const TesselVoice* voice) const
    {
        for (int l = 0; l < group.count(); ++l)
            if (buffers_->lane[l].voice == voice)
                return true;
        return false;
    }

    static constexpr int kLookAhead = 64;   // voices looked at for one group
    TesselLaneBuffers* buffers_;
    TesselBusBuffer& out_;
    const int frames_;
    const int tile_;   // lanes per vector; 0: the plain path
    int taken_ = 0;
    int walked_ = 0;
    int window_ = 0;   // nodes the last walk looked at that the mixer has not reached
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
    LaneGroups groups(out, frames);
    int active = 0;
    for (VoiceCursor at(lists); at.node(); at.next()) {
        const int lane = groups.laneFor(at);
        TesselVoice* voice = at.node()->voice;
        if (!voice)
            continue;
        if (voice->state() != voice_state::kIdle || voice->events)
            ++active;
        renderVoice(*voice, out, frames, scratch, lane >= 0 ? groups.buffers() : nullptr, lane);
    }
    for (TesselChannelVoiceList& list : lists)
        retireIdlePastNotes(list);
    return active;
}
