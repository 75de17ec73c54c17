#pragma once
// Releases of voices by the transport: stopping playback and letting go of
// an auditioned or played key.

#include "engine/bus_buffer.h"

class TesselVoice;
class TesselEngine;

// The stop's key-off: the released flag, and the gains cut to 0 so that
// the mixer ramps the voice out and ends it even when its sample loops.
// The voice's event chain takes the change from the start of the block.
void silenceVoice(TesselVoice& voice, int blockFrames);

// The key release of the voice's instrument: cut (as the stop's key-off),
// note off or fade; "continue" leaves it sounding. A MIDI voice sends its
// note off. Caller holds the song lock.
void releaseKey(TesselVoice& voice, int blockFrames);

// The span of an event recorded between blocks: the last block's length, or
// before the first block the longest one (the mixer cuts it to the block).
inline int eventSpan(int blockFrames)
{
    return blockFrames > 0 ? blockFrames : TesselBusBuffer::kFrames;
}
