#pragma once
// The pattern-loop state machine of one channel (SBx), shared by the timing
// list build and looped-pattern playback so that both loop alike.

#include "engine/timing/play_position.h"

// Steps `loops[channel]` at `row` with loop count x (0 marks the loop
// start). Returns the row to go back to when a loop end has repeats left,
// else -1. On a jump back, the other channels in state 1 whose loop row
// lies after the loop row fall back to state 0.
int stepPatternLoop(TesselLoopState* loops, int count, int channel, int x, int row);
