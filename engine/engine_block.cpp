// The entry points of the audio block and of the editor's auditions. An
// engine that could not set itself up (song lock not had at construction)
// refuses them all; otherwise the block silences the output and the
// auditions are accepted only by the note-playing code built on this.
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
    return true;
}

bool TesselEngine::playSample(int note, int sample)
{
    (void)note;
    (void)sample;
    return auditionAllowed() && false;
}

bool TesselEngine::playNote(const TesselSubrow& subrow, int channel)
{
    (void)subrow;
    (void)channel;
    return auditionAllowed() && false;
}

bool TesselEngine::previewNote(const TesselSubrow& subrow, TesselModule* module)
{
    (void)subrow;
    (void)module;
    return auditionAllowed() && false;
}

bool TesselEngine::playRow(int pattern, int row)
{
    (void)pattern;
    (void)row;
    return auditionAllowed() && false;
}
