#pragma once
// How the grid edits the song: the checkpoint and the edit under one hold
// of the song lock (1000 ms, re-entrant); on a time-out neither happens.

#include "model/song/module.h"
#include "patterneditor/grid/pattern_grid.h"

template <class Edit>
bool TesselPatternUI::checkpointed(const char* message, Edit edit)
{
    if (!pattern_)
        return false;
    platform::MutexLock lock(song_.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    host_->pushCheckpoint(*pattern_, message);
    edit();
    markAllDirty();
    return true;
}

// Region commands do nothing without a region; they count as handled.
template <class Edit>
bool TesselPatternUI::regionEdit(const char* message, Edit edit)
{
    if (selection.active && selection.pattern)
        checkpointed(message, edit);
    return true;
}
