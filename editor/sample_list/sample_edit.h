#pragma once
// One action of the sample page on one slot of the song: the action works on
// a copy, made when it first writes, and the copy goes back to that slot,
// under the song lock, only when the action changed it. Keys that only move
// the selection or the focus therefore write nothing. GUI thread only.

#include "model/sample/sample.h"

#include <cstdint>
#include <memory>

class TesselModule;

class TesselSampleEdit {
public:
    // A slot outside 0..98, or no song, gives an edit that writes nothing.
    TesselSampleEdit(TesselModule* song, int32_t index);

    // What the action sees: its copy once made, else the slot.
    const TesselSample& sample() const;
    // The copy to change; null when the slot has none or the copy could
    // not be made whole (memory short), and then the action is dropped.
    TesselSample* copy();
    // An empty slot in place of the copy, for actions that replace the
    // whole sample (cut, paste, delete): nothing of the slot is copied.
    TesselSample* fresh();
    // Called by the action after it changed the copy.
    void changed() { changed_ = true; }
    bool isChanged() const { return changed_ && copy_; }
    int32_t index() const { return index_; }

    // Clamps the copy's loop points to its length, then moves it into its
    // slot under the song lock (1000 ms). False, with the slot as it was,
    // when nothing changed or the lock was not had.
    bool commit();

private:
    TesselModule* song_;
    int32_t index_;
    std::unique_ptr<TesselSample> copy_;
    bool failed_ = false;
    bool changed_ = false;
};

// Loop and sustain points cut to the length; a loop whose end lies before
// its begin is turned off. Through the loops' setters, so that the working
// positions the engine plays follow.
void clampSampleLoops(TesselSample& sample);

// True when the copy holds all the audio of its source.
bool isWholeCopy(const TesselSample& copy, const TesselSample& source);

// Everything of `from` into the slot without allocating for the audio: the
// buffers are handed over, so the slot never ends half written. `from` is
// left without audio.
void moveSampleInto(TesselSample& slot, TesselSample& from);
