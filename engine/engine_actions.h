#pragma once
// The usage log's action numbers for what the engine does. They index the
// log's CMD_ name table, so they keep its order.

#include "engine/engine_links.h"

#include <cstdint>

enum TesselEngineAction : int {
    kActPlaySong = 10,
    kActPlayPattern = 11,
    kActPlayRow = 12,
    kActPlaySample = 13,
    kActPlayNote = 14,
    kActStopNote = 15,
    kActStopNow = 16,
    kActStop = 17,
    kActHostPlay = 18,
    kActHostStop = 19,
    kActHostCycle = 20,
    // The pattern editor's undo history restoring a checkpoint.
    kActUndo = 21,
    kActRedo = 22,
    kActUndoRedo = 23,
    kActReset = 24,
    kActSetSampleRate = 25,
    kActTempo = 26,
    kActMidiInput = 29,
};

// Does nothing until the plug-in shell has set the hook.
inline void logEngineAction(TesselEngineAction action, int32_t value)
{
    if (TesselEngineHooks::logAction)
        TesselEngineHooks::logAction(action, value);
}
