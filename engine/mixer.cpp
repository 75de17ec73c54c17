// The mixing pass of a block: every voice event of every channel list into
// the output block, then past notes whose voices went idle back to the pool.
#include "engine/engine.h"
#include "engine/line_plan.h"
#include "engine/pool.h"
#include "engine/tables.h"
#include "engine/vector/interpolate.h"
#include "engine/vector/vector.h"
#include "engine/voice/voice_direct.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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
// block. A voice that ends loses all its events.
void renderVoice(TesselVoice& voice, TesselBusBuffer& out, int frames, float* const scratch[2], bool direct)
{
    constexpr uint8_t kSounding = voice_state::kActive | voice_state::kSample;
    while (TesselVoiceEvent* event = voice.events) {
        voice.current.copyValues(*event);
        voice.current.end = static_cast<uint16_t>(std::min<int>(voice.current.end, frames));
        voice.current.start = std::min(voice.current.start, voice.current.end);
        if (voice.sample && (voice.current.state & kSounding) == kSounding) {
            const int end = direct ? renderVoiceDirect(voice, out, scratch) : renderPlain(voice, out, scratch);
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

// Every cache line of the bytes from `first` up to `end`.
void noteRange(TesselLinePlan& plan, const void* first, const void* end)
{
    const auto line = [](const void* p) { return reinterpret_cast<uintptr_t>(p) & ~uintptr_t{63}; };
    for (uintptr_t at = line(first); at < reinterpret_cast<uintptr_t>(end); at += 64)
        plan.note(reinterpret_cast<const void*>(at));
}

// The sample frames a voice reads in a block of `frames`, from its position
// on in the direction it plays: a few lines of each channel. Beyond a few
// lines the hardware's own stream prefetch takes over.
void noteSampleFrames(TesselLinePlan& plan, const TesselVoice& voice, int frames)
{
    constexpr int64_t kFloatsPerLine = 16;
    constexpr int64_t kMostLines = 8;
    const TesselSample* sample = voice.sample;
    const TesselVoiceEvent* event = voice.events;
    if (!sample || !event)
        return;
    const int64_t length = sample->audio.frames;
    if (!sample->audio.buffers[0])
        return;
    const float reach = std::fabs(event->pitch) * static_cast<float>(frames);
    if (length <= 0 || voice.position < 0 || voice.position >= length || !(reach >= 0.0f))
        return;
    const int64_t span = std::min<int64_t>(static_cast<int64_t>(std::min(reach, 1e6f)) + 2, kMostLines * kFloatsPerLine);
    const int64_t from = std::max<int64_t>(voice.backwards ? voice.position - span : voice.position, 0);
    const int64_t to = std::min<int64_t>(from + span, length);
    for (int j = 0; j < sampleRenderChannels(*sample); ++j)
        for (int64_t f = from; f < to + kFloatsPerLine; f += kFloatsPerLine)
            plan.note(sample->audio.buffers[j] + std::min(f, to));
}

// The stretch of the gain tables a voice's moving ramps read in a block of
// `frames`: a ramp checks the step before its age, then goes on from its age
// or, given a new target, starts afresh from step 0. A held ramp (start and
// target the same) reads no table.
void noteRampSteps(TesselLinePlan& plan, const TesselVoice& voice, const TesselVoiceEvent& event, int frames)
{
    constexpr int32_t kFloatsPerLine = 16;
    const TesselTables& t = tesselTables();
    auto noteSteps = [&](int32_t from, int32_t count) {
        const int32_t end = std::min(from + count, TesselTables::kRampSteps);
        for (int32_t i = std::max(from, 0); i < end + kFloatsPerLine - 1; i += kFloatsPerLine) {
            plan.note(&t.rampKeep[std::min(i, end - 1)]);
            plan.note(&t.rampTake[std::min(i, end - 1)]);
        }
    };
    const float targets[2] = {event.gain0, event.gain1};
    // Both channels' ramps usually run together: the same steps once.
    int32_t notedAge = -1;
    bool notedStart = false;
    for (int j = 0; j < 2; ++j) {
        const bool retargeted = targets[j] != voice.ramp[2 * j + 1];
        const int32_t age = voice.rampAge[j];
        if (voice.rampFrom[j] != targets[j] && age > 0 && age != notedAge) {
            noteSteps(age - 1, retargeted ? 1 : frames + 1);
            notedAge = age;
        }
        if (retargeted && !notedStart) {
            noteSteps(0, frames);
            notedStart = true;
        }
    }
}

// What the next block of `frames` reads of the busy lists: their nodes, their
// voices, the voices' events and samples, the sample frames they play and
// the gain tables their ramps read, a level at a time for all lists, so that
// a full plan keeps the upper levels of every list.
void planVoiceLines(const std::array<TesselChannelVoiceList, kVoiceLists>& lists, const TesselBusyLists& busy,
                    int frames, TesselLinePlan& plan)
{
    busy.forEach([&](int l) { plan.note(lists[static_cast<size_t>(l)].head); });
    auto headVoice = [&](int l) -> const TesselVoice* {
        const TesselVoiceListNode* node = lists[static_cast<size_t>(l)].head;
        return node ? node->voice : nullptr;
    };
    // Of a voice, the fields from the filter to the event chain; of a sample,
    // the audio, depth, length and loops: all a block reads of either.
    busy.forEach([&](int l) {
        if (const TesselVoice* voice = headVoice(l))
            noteRange(plan, voice->filter, &voice->events + 1);
    });
    busy.forEach([&](int l) {
        const TesselVoice* voice = headVoice(l);
        if (!voice || !voice->events)
            return;
        plan.note(voice->events);
        if (const TesselSample* sample = voice->sample)
            noteRange(plan, sample, &sample->sustain + 1);
    });
    busy.forEach([&](int l) {
        const TesselVoice* voice = headVoice(l);
        if (!voice || !voice->events)
            return;
        noteSampleFrames(plan, *voice, frames);
        noteRampSteps(plan, *voice, *voice->events, frames);
    });
}

} // namespace

int TesselEngine::renderVoices(std::array<TesselChannelVoiceList, kVoiceLists>& lists, TesselBusBuffer& out,
                               int frames, TesselBusyLists* busy, TesselLinePlan* nextLines)
{
    frames = std::clamp(frames, 0, TesselBusBuffer::kFrames);
    float* const scratch[2] = {mixScratch.channel[0], mixScratch.channel[1]};
    const bool direct = mixPath() == TesselMixPath::Direct;
    int active = 0;
    // Only voices with events render; past notes are retired after the pass,
    // from the few lists that hold any. A list left with nothing to do drops
    // out of the busy ones, so that later blocks do not touch its nodes.
    int withPastNotes[kVoiceLists];
    int pastLists = 0;
    int quietLists[kVoiceLists];
    int quiet = 0;
    auto renderList = [&](int l) {
        const TesselChannelVoiceList& list = lists[static_cast<size_t>(l)];
        const bool pastNotes = list.head && list.head->next;
        if (pastNotes)
            withPastNotes[pastLists++] = l;
        bool work = false;
        for (TesselVoiceListNode* node = list.head; node; node = node->next) {
            work = work || node->delay >= 0;
            TesselVoice* voice = node->voice;
            if (!voice)
                continue;
            if (voice->events) {
                ++active;
                renderVoice(*voice, out, frames, scratch, direct);
            } else if (voice->state() != voice_state::kIdle) {
                ++active;
            }
            work = work || voice->events || voice->state() != voice_state::kIdle;
        }
        if (!work)
            quietLists[quiet++] = l;
    };
    if (busy) {
#ifdef QB_AUDIO_CHECKS
        assertQuietUnmarked(lists, *busy);
#endif
        busy->forEach(renderList);
    } else {
        for (int l = 0; l < kVoiceLists; ++l)
            renderList(l);
    }
    for (int i = 0; i < pastLists; ++i)
        retireIdlePastNotes(lists[static_cast<size_t>(withPastNotes[i])]);
    if (busy)
        for (int i = 0; i < quiet; ++i) {
            const TesselChannelVoiceList& list = lists[static_cast<size_t>(quietLists[i])];
            if (!list.head || !list.head->next)
                busy->unmark(quietLists[i]);
        }
    // The next block most likely plays on from where this one ends, with the
    // same voices.
    if (busy && nextLines && frames <= TesselLinePlan::kMostFrames)
        planVoiceLines(lists, *busy, frames, *nextLines);
    return active;
}

bool TesselEngine::quietList(const TesselChannelVoiceList& list)
{
    if (list.head && list.head->next)
        return false;
    for (const TesselVoiceListNode* node = list.head; node; node = node->next)
        if (node->delay >= 0 || (node->voice && (node->voice->events || node->voice->state() != voice_state::kIdle)))
            return false;
    return true;
}

void TesselEngine::assertQuietUnmarked(const std::array<TesselChannelVoiceList, kVoiceLists>& lists,
                                       const TesselBusyLists& busy)
{
    for (int l = 0; l < kVoiceLists; ++l)
        if (!busy.marked(l) && !quietList(lists[static_cast<size_t>(l)])) {
            std::fprintf(stderr, "busy lists: voice list %d changed without being marked busy\n", l);
            std::abort();
        }
}
