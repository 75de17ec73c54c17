// The entry points of the audio block and of the editor's auditions. An
// engine that could not set itself up (song lock not had at construction)
// refuses them all.
#include "engine/engine.h"

bool TesselEngine::process(int frames)
{
    if (!usable_ || !editor || frames <= 0)
        return false;
    platform::MutexLock lock(song.songLock(), 100);
    if (!lock)
        return false;
    blockFrames = static_cast<int16_t>(frames < TesselBusBuffer::kFrames ? frames : TesselBusBuffer::kFrames);
    output.frames = blockFrames;
    output.silence();
    renderVoices(voiceLists, output, blockFrames);
    return true;
}
