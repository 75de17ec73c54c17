#pragma once
// The VST 2 records that travel between host and plug-in while they run
// (events, time information, the editor's key and rectangle), declared for
// 64-bit Linux. Header only, so that the engine, the toolkit and the
// stand-alone host can use them without the plug-in shell. Pointer-sized
// fields are intptr_t, never long.

#include <cstddef>
#include <cstdint>

using VstInt32 = int32_t;
using VstIntPtr = intptr_t;

// Event types.
constexpr VstInt32 kVstMidiType = 1;
constexpr VstInt32 kVstSysExType = 6;

// One event of any type; the host reads type and byteSize first.
struct VstEvent {
    VstInt32 type;
    VstInt32 byteSize;     // size of the part after these two fields
    VstInt32 deltaFrames;  // frame of the block the event belongs to
    VstInt32 flags;
    char data[16];
};

struct VstMidiEvent {
    VstInt32 type;        // kVstMidiType
    VstInt32 byteSize;    // kVstMidiEventByteSize
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4];     // status, data 1, data 2, 0
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

constexpr VstInt32 kVstMidiEventByteSize = 24;

// The list handed over with each block: the published record holds room
// for two pointers; longer lists use VstEventList below with the same head.
struct VstEvents {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

template <int N>
struct VstEventList {
    VstInt32 numEvents = 0;
    VstIntPtr reserved = 0;
    VstEvent* events[N] = {};

    VstEvents* get() { return reinterpret_cast<VstEvents*>(this); }
};

struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};

// VstTimeInfo flags.
enum : VstInt32 {
    kVstTransportChanged = 1,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstAutomationWriting = 1 << 6,
    kVstAutomationReading = 1 << 7,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15,
};

// The editor's rectangle and key records (the toolkit takes keys too).
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;
    unsigned char modifier;
};

static_assert(sizeof(ERect) == 8);
static_assert(sizeof(VstKeyCode) == 8);

static_assert(sizeof(VstEvent) == 32);
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(sizeof(VstMidiEvent) - 2 * sizeof(VstInt32) == kVstMidiEventByteSize);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(offsetof(VstEventList<256>, events) == offsetof(VstEvents, events));
static_assert(sizeof(VstTimeInfo) == 88);
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64);
