#pragma once
// The model's process-wide values, shared by every module of the process.
// They have no lock of their own: the song reset, the module reader and
// renumbering write them.

#include "model/song/pattern.h"

#include <array>
#include <atomic>
#include <cstdint>

// Entry i: the new number of the pattern that was number i before the last
// renumbering (all -1 until then). The pattern editor follows its pattern with it.
using TesselPatternMap = std::array<int32_t, kPatterns>;

struct TesselModelGlobals {
    // Grows by one at every reset of any module; starts at -1. The controls
    // compare it to notice a new song.
    std::atomic<int32_t> songCounter{-1};
    // The version of the last document read, or the program's own after a
    // reset or save.
    float documentVersion = 0.0f;
    TesselPatternMap patternMap{};
    // What a new pattern takes (declared with the pattern: patternDefaults()).
    TesselPatternDefaults patternDefaults;

    TesselModelGlobals() { reset(); }
    TesselModelGlobals(const TesselModelGlobals&) = delete;
    TesselModelGlobals& operator=(const TesselModelGlobals&) = delete;

    // Back to the values the process starts with.
    void reset();
};

TesselModelGlobals& modelGlobals();

inline std::atomic<int32_t>& songCounter() { return modelGlobals().songCounter; }
inline float& documentVersion() { return modelGlobals().documentVersion; }
inline TesselPatternMap& patternMap() { return modelGlobals().patternMap; }
TesselPatternMap identityPatternMap();

// Resetting or loading a private module (a file browser's preview) writes
// values that every module of the process shares; this keeps the song's
// own: they come back when the scope ends.
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

// The same values, put back only when asked: a song read or made apart that
// does not take the song's place leaves them as they were.
class SharedReadState {
public:
    SharedReadState() : version_(documentVersion()), defaults_(patternDefaults()) {}
    void restore() const
    {
        documentVersion() = version_;
        patternDefaults() = defaults_;
    }

private:
    float version_;
    TesselPatternDefaults defaults_;
};
