#pragma once
// Resetting or loading a private module (a file browser's preview) writes
// values that every module of the process shares; this keeps the song's
// own: they come back when the scope ends.

#include "model/model_globals.h"
#include "model/pattern.h"

class SharedSongState {
public:
    SharedSongState() : defaults_(patternDefaults()), version_(documentVersion()) {}
    ~SharedSongState()
    {
        patternDefaults() = defaults_;
        documentVersion() = version_;
    }
    SharedSongState(const SharedSongState&) = delete;
    SharedSongState& operator=(const SharedSongState&) = delete;

private:
    TesselPatternDefaults defaults_;
    float version_;
};
