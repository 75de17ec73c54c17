// The output rate: row timing and the rate-dependent pitch and filter tables.
#include "engine/engine.h"

#include "engine/engine_actions.h"
#include "engine/voice/voice_update_tables.h"

void TesselEngine::setSampleRate(float rate)
{
    // A rate of 0 or less would divide the timing by zero.
    if (!(rate > 0.0f))
        return;
    logEngineAction(kActSetSampleRate, static_cast<int32_t>(rate + 0.0001f));
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return;
    sampleRate = rate;
    computeTiming();
    fillRateTables(rate);
}
