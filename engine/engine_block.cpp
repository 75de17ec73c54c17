// The audio block: the host's time information, then the song stepped frame
// by frame so that every tick and row starts at its own frame, the voices
// mixed and the block's MIDI sent. An engine that could not set itself up
// (song lock not had at construction) refuses the block.
#include "engine/engine.h"

#include "engine/engine_globals.h"
#include "engine/engine_status.h"
#include "engine/midi/midi_out.h"
#include "engine/pool.h"
#include "engine/timing/position_table.h"
#include "platform/vst2_records.h"

#include <xmmintrin.h>

namespace {

constexpr unsigned kFlushDenormals = 0x8840;   // flush-to-zero, denormals-are-zero, no precision exception
constexpr int32_t kTimeInfoFilter = kVstPpqPosValid | kVstTempoValid | kVstTransportChanged | kVstTransportPlaying;
static_assert(kTimeInfoFilter == 0x603);
constexpr uint32_t kBlockLockWaitMs = 100;

} // namespace

bool TesselEngine::process(int frames)
{
    // Denormals would cost more than they are worth in the voices' tails.
    // Written only when the host changed it: loading the register is slow.
    const unsigned csr = _mm_getcsr();
    if ((csr & kFlushDenormals) != kFlushDenormals)
        _mm_setcsr(csr | kFlushDenormals);
    // A host start on this thread plays the timing list as it stands (no
    // rebuild with its unbounded wait), and status writes only try their lock.
    TesselAudioThreadScope audioThread;
    if (plugin && plugin->instanceCount() > 1)
        return true;
    if (!usable_ || !editor || !plugin || frames <= 0)
        return false;
    output.applyClearRequest();
    const int n = frames < TesselBusBuffer::kFrames ? frames : TesselBusBuffer::kFrames;
    const VstTimeInfo* time = plugin->hostTimeInfo(kTimeInfoFilter);

    // Voices and positions are touched only from here on: a time-out leaves
    // everything as it was and the host hears silence. Playing reads the
    // song; what the audio thread writes into it (notes from MIDI) is
    // written under a take of its own.
    platform::MutexLock lock(*songLock_, kBlockLockWaitMs, platform::LockUse::kReadOnly);
    if (!lock)
        return false;
    voiceLines.fetchAndClear();
    resizeBlock(n);
    const TesselHostLoop loop = followHost(time);

    output.frames = blockFrames;
    output.silence();
    if (transport != kStoppedCut) {
        const bool timed = TesselPools::positions != nullptr;
        for (int f = 0; f < blockFrames; ++f) {
            if (loop.active)
                stepHostLoop(loop);
            const TesselRowEvents events = stepRowEvents();
            if (events.newTick)
                runTick(time, events, f);
            // A tick may change the tempo or speed. The step is the engine's
            // own copy of the table's: that field sits on a page of its own,
            // at the far end of 128 KB of positions.
            const double rowsPerSample = timed ? rowsPerFrame_ : 0.0;
            position().time += rowsPerSample;
            // Frames between ticks only move the time; the block's last frame
            // always takes the full step, which leaves the tick position.
            if (!loop.active)
                f += skipQuietFrames(blockFrames - f - 2, rowsPerSample);
        }
        const int sounding = renderVoices(voiceLists, output, blockFrames, &busyLists, &voiceLines);
        if (sounding == 0 && transport == kStoppedReleased)
            settleAfterStop(time);
    }

    if (midiOut) {
        midiOut->setHardwareTimeOffset(0.0);
        midiOut->processBlock(false);
    }
    if (transport != kStoppedCut)
        output.pending = 1;
    return true;
}
