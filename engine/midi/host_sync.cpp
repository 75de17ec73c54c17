// Following the host: its tempo, its transport, its song position and its
// loop (cycle), all converted from quarter notes into song rows.
#include "engine/engine.h"
#include "engine/engine_actions.h"
#include "engine/vector/exact_math.h"

#include "platform/vst2_records.h"

#include <cmath>
#include <algorithm>

namespace {


// A host position a little behind the engine's own is rounding, not a jump;
// only a real jump may disarm the loop.
constexpr double kJumpTolerance = 0.001;

bool hostPlays(const VstTimeInfo& time)
{
    return (time.flags & kVstTransportPlaying) != 0;
}

bool cycleValid(const VstTimeInfo& time)
{
    return (time.flags & (kVstTransportCycleActive | kVstCyclePosValid)) ==
           (kVstTransportCycleActive | kVstCyclePosValid);
}

int32_t packLoop(double start, double end)
{
    const auto rows = [](double v) {
        return static_cast<uint32_t>(std::isfinite(v) && v > 0.0 && v < 65535.0 ? v : 0.0) & 0xFFFFu;
    };
    return static_cast<int32_t>(rows(start) | (rows(end) << 16));
}

} // namespace

double TesselEngine::rowsPerHostQuarter() const
{
    double rows = song.rowsPerQuarter;
    if (song.timingMode == TesselModule::Speed && speed > 0.0)
        rows *= 6.0 / speed;
    return rows;
}

namespace {

// The host's song position in rows, at `rows` per quarter, less the host's
// position offset; 0 when it is not a number.
inline double hostRowsAt(const VstTimeInfo& time, double rows, double offset)
{
    double quarters = 0.0;
    if (time.flags & kVstPpqPosValid)
        quarters = time.ppqPos;
    else if (time.sampleRate > 0.0)
        quarters = time.tempo / 60.0 * time.samplePos / time.sampleRate;
    const double t = rows * quarters - offset;
    return std::isfinite(t) ? t : 0.0;
}

} // namespace

double TesselEngine::hostRows(const VstTimeInfo& time) const
{
    return hostRowsAt(time, rowsPerHostQuarter(), plugin ? plugin->hostPositionOffset() : 0.0);
}

void TesselEngine::hostTransportChanged(const VstTimeInfo& time)
{
    TesselPlayPosition& pos = position();
    if (hostPlays(time)) {
        if (transport != kPlayingSong) {
            pos.entry = -1;
            pos.tick = -1;
            if (!playSong(-1, 0)) {
                const int32_t pattern = editor ? editor->currentPattern() : -1;
                if (pattern >= 0 && pattern < kPatterns)
                    playPattern(pattern, 0, nullptr);
            }
        }
        hostLoopArmed = false;
    } else if (transport >= 2) {
        stop();
    }
}

// Every block runs followHost: its usual path (the host plays on, no
// change, no cycle) is kept short, and what happens only now and then is
// apart, below it.
TesselHostLoop TesselEngine::followHost(const VstTimeInfo* time)
{
    TesselHostLoop loop;
    if (!time)
        return loop;
    const bool pitchMode = song.orderList.inPitchMode();
    if (hostSendsTime && (time->flags & kVstTempoValid) && time->tempo > 0.0 && time->tempo != tempo) [[unlikely]]
        setTempo(time->tempo);
    const bool changed = (time->flags & kVstTransportChanged) != 0;
    if (changed && !pitchMode) [[unlikely]]
        hostTransportChanged(*time);

    // No host is known here whose song position must be ignored, so the
    // vendor exception of the position sync is empty.
    const bool plays = hostPlays(*time);
    const bool cycle = plays && cycleValid(*time);
    if (!pitchMode && ((plays && transport == kPlayingSong) || transport == kStoppedCut)) {
        TesselPlayPosition& pos = position();
        const double rows = rowsPerHostQuarter();
        const double offset = plugin ? plugin->hostPositionOffset() : 0.0;
        double t = hostRowsAt(*time, rows, offset);
        if ((time->flags & kVstPpqPosValid) && (t < pos.time - kJumpTolerance || t > pos.time + 1.0))
            hostLoopArmed = false;
        if (t < 0.0)
            t = 0.0;
        if (!pullsBackOverPlayedTick(pos, t)) {
            pos.time = t;
            double whole = 0.0;
            pos.ticks = exact::modf(t + 0.0001, &whole) * speed;
        }
        if (cycle) [[unlikely]]
            loop = hostCycle(*time, rows, offset);
        if (!plays && transport == kStoppedCut)
            pos.entry = static_cast<int32_t>(t);
    }
    if (changed || cycle) [[unlikely]]
        logHostTransport(changed, plays, cycle, loop);
    return loop;
}

// A host that plays at another tempo than the engine steps at (one that sends
// its position but does not say it sends time, so its tempo is not taken)
// puts the position a little behind the engine's own at every block: up to
// the block's own step. Back over the start of a tick or row already played,
// that tick or row would play again and strike its notes twice; such a pull
// is left to a later block, by which time the host has passed that start too.
bool TesselEngine::pullsBackOverPlayedTick(const TesselPlayPosition& pos, double t) const
{
    if (transport != kPlayingSong || !(t < pos.time))
        return false;
    const double drift = std::max(kJumpTolerance, blockFrames * rowsPerFrame_);
    return pos.time - t <= drift && pos.behind(t, speed);
}

TesselHostLoop TesselEngine::hostCycle(const VstTimeInfo& time, double rows, double offset)
{
    TesselHostLoop loop;
    loop.start = rows * time.cycleStartPos - offset;
    loop.end = rows * time.cycleEndPos - offset;
    loop.active = std::isfinite(loop.start) && std::isfinite(loop.end);
    return loop;
}

void TesselEngine::logHostTransport(bool changed, bool plays, bool cycle, const TesselHostLoop& loop)
{
    if (changed) {
        const int32_t entry = position().entry < 0 ? 0 : position().entry;
        logEngineAction(plays ? kActHostPlay : kActHostStop, entry);
    }
    if (cycle)
        logEngineAction(kActHostCycle, packLoop(loop.start, loop.end));
}

void TesselEngine::stepHostLoop(const TesselHostLoop& loop)
{
    if (!loop.active)
        return;
    TesselPlayPosition& pos = position();
    if (hostLoopArmed && loop.end <= pos.time) {
        pos.time = std::max(0.0, pos.time - loop.end + loop.start);
        hostLoopArmed = false;
    } else if (loop.end == loop.start) {
        hostLoopArmed = false;
    } else if (pos.time <= loop.end - rowsPerHostQuarter()) {
        // Armed once the song has been a quarter before the end; it stays
        // armed until the end is reached or the host jumps.
        hostLoopArmed = true;
    }
}
