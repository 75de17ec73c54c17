#pragma once
// Loop and auto-vibrato records of a sample; envelopes use the same loop record.

#include "model/sample/sample_data.h"

#include <cstdint>
#include <cstdio>

struct TesselElement;

// The furthest frame a sample loop may name. The voice walk takes positions
// as frames times 2^32 in 64 bits and adds up to three loop lengths at once;
// 2^28 frames (over an hour and a half at 48 kHz, four times the longest WAV
// the reader takes) keeps every such sum inside 64 bits.
constexpr int32_t kMaxLoopFrame = 1 << 28;

struct TesselLoop {
    int32_t type = 0;    // 0 off, 1 forwards, 2 ping-pong
    int32_t begin = 0;
    int32_t end = 0;
    TesselSamplePos workingBegin;   // always {begin, 0.0}
    TesselSamplePos workingEnd;     // always {end, 0.0}

    void setBegin(int32_t frame) { begin = frame; workingBegin = {frame, 0.0f}; }
    void setEnd(int32_t frame) { end = frame; workingEnd = {frame, 0.0f}; }
    void reset() { *this = TesselLoop{}; }
    // Type, begin and end; the working positions follow.
    void assign(const TesselLoop& other)
    {
        type = other.type;
        setBegin(other.begin);
        setEnd(other.end);
    }
    bool isEmpty() const { return type == 0 && begin == 0 && end == 0; }
    // Begin and end brought into 0..last, a type other than off, forwards
    // and ping-pong made off: what a file gives is made safe to play.
    void keepWithin(int32_t last);

    // Document markup: a self-contained "sustain" (flag set) or "loop".
    void writeXml(FILE* file, bool sustainLoop) const;
    // Zeroes the loop, then takes "type", "begin" and "end".
    void readXml(const TesselElement& element);
};

struct TesselVibrato {
    int32_t speed = 0;
    int32_t waveform = 0;
    int32_t depth = 0;
    int32_t rate = 0;

    bool isZero() const { return speed == 0 && waveform == 0 && depth == 0 && rate == 0; }
    bool operator==(const TesselVibrato&) const = default;
    // Documents carry it as a raw "vi" line of short names.
    void writeXml(FILE* file) const;
    // Zeroes all four, then takes speed, waveform, rate and depth.
    void readXml(const TesselElement& element);
};
