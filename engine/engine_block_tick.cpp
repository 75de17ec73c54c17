// The frame-by-frame side of the audio block: where ticks and rows fall, and
// the row and voice work handed the exact frame they fall on.
#include "engine/engine.h"

#include "engine/engine_globals.h"
#include "engine/midi/midi_out.h"
#include "engine/rows/step_below.h"
#include "engine/vector/exact_math.h"
#include "engine/voice/voice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTickEpsilon = TesselPlayPosition::kTickEpsilon;
constexpr double kRowEpsilon = TesselPlayPosition::kRowEpsilon;
constexpr uint16_t kTickFlagNewRow = 2;
constexpr uint16_t kTickFlagNewTick = 8;

uint16_t frameOffset(int f)
{
    return static_cast<uint16_t>(f < 0 ? 0 : f);
}

} // namespace

void TesselEngine::resizeBlock(int frames)
{
    const int previous = plugin->hostBlockSize();
    blockFrames = static_cast<int16_t>(frames);
    if (previous == frames)
        return;
    // The event that carries a voice into the next block ends where the old
    // block did; it now spans the new one.
    for (TesselChannelVoiceList& list : voiceLists)
        for (TesselVoiceListNode* node = list.head; node; node = node->next) {
            if (!node->voice || !node->voice->events)
                continue;
            TesselVoiceEvent* last = node->voice->events->last();
            if (last->end == previous)
                last->end = frameOffset(frames);
        }
    plugin->noteHostBlockSize(frames);
}

TesselRowEvents TesselEngine::stepRowEvents()
{
    TesselRowEvents events;
    TesselPlayPosition& pos = position();
    pos.ticks = TesselPlayPosition::ticksAt(pos.time, speed);
    const int32_t tick = TesselPlayPosition::tickIndex(pos.ticks);
    if (tick != pos.tick) {
        pos.tick = tick;
        events.newTick = true;
    }
    const int32_t row = TesselPlayPosition::rowIndex(pos.time);
    if (row != pos.entry) {
        events.newRow = events.newTick = true;
        pos.entry = row;
        pos.tick = 0;
        pos.ticks = 0.0;
        for (size_t i = 1; i < positions.size(); ++i)
            ++positions[i].entry;
    }
    return events;
}

// Row and tick are step functions of the time that only rise inside a row,
// so below the first time at which either could rise they hold; the next
// frame is checked exactly as stepRowEvents checks it, and the bound keeps a
// margin far above the rounding of these sums.
int TesselEngine::skipQuietFrames(int limit, double rowsPerSample)
{
    if (limit <= 0 || !(rowsPerSample > 0.0) || !(speed > 0.0) || !std::isfinite(speed))
        return 0;
    TesselPlayPosition& pos = position();
    const double t = pos.time;
    double whole = 0.0;
    const double ticks = exact::modf(t + kTickEpsilon, &whole) * speed;
    if (static_cast<int32_t>(ticks + kRowEpsilon) != pos.tick || static_cast<int32_t>(t + kRowEpsilon) != pos.entry)
        return 0;
    const double rowEnd = static_cast<double>(pos.entry) + 1.0 - kRowEpsilon;
    const double wrap = whole + 1.0 - kTickEpsilon;
    const double tickEnd = whole + (pos.tick + 1.0 - kRowEpsilon) / speed - kTickEpsilon;
    const double stop = std::min({rowEnd, wrap, tickEnd}) - 1e-10 * (1.0 + std::fabs(t));
    double x = t;
    const int m = stepBelow(x, rowsPerSample, stop, limit);
    pos.time = x;
    return m;
}

void TesselEngine::runTick(const VstTimeInfo* time, TesselRowEvents events, int frame)
{
    tickFlags = static_cast<uint16_t>(kTickFlagNewTick | (events.newRow ? kTickFlagNewRow : 0));
    if (transport >= 2)
        advanceRow(time, frame);
    // A list whose only node waits for no note and holds no sounding voice
    // has nothing to update (one the busy mark skips is such a list); its
    // MIDI queue count is taken by the next list that does, and once after
    // the last list when that one was passed.
    bool counted = false;
    busyLists.forEach([&](int list) {
        counted = !idleList(voiceLists[static_cast<size_t>(list)]);
        if (counted)
            updateTick(list, frame);
        counted = counted && list == kVoiceLists - 1;
    });
    if (!counted && midiOut)
        midiOut->countQueued();
}

void TesselEngine::settleAfterStop(const VstTimeInfo* time)
{
    transport = kStoppedCut;
    if (!time)
        return;
    TesselPlayPosition& pos = position();
    pos.time = std::max(0.0, hostRows(*time));
    pos.entry = static_cast<int32_t>(pos.time + 0.00001);
}
