#pragma once
// The effect memory of one effect cell on one channel. The song's channel
// settings keep two of these; the replay engine's live channel records work on
// them (the letters' handlers belong to the engine).

#include <array>
#include <cstddef>
#include <cstdint>

// An effect letter's remembered parameter.
struct TesselEffectMemory {
    uint8_t value = 0;
    uint8_t nibbleMode = 0;

    // A zero parameter recalls the stored value; in nibble mode each non-zero
    // nibble replaces only its half. Returns the stored value.
    uint8_t apply(uint8_t parameter);
};

constexpr int kEffectMemories = 43;   // '0'..'Z'

struct TesselEffectSlot {
    TesselEffectSlot() { reset(); }

    // Memory of a character '0'..'Z'; null for anything else.
    TesselEffectMemory* memoryFor(char letter);
    const TesselEffectMemory* memoryFor(char letter) const
    {
        return const_cast<TesselEffectSlot*>(this)->memoryFor(letter);
    }
    // Back to the start state; factors and the modulation values are not touched.
    void reset();
    // reset, then every field but the vibrato and arpeggio factors and the loop bookkeeping.
    void assignStored(const TesselEffectSlot& other);

    char command = '.';
    int32_t count = 0;
    int32_t hold = 0;
    std::array<TesselEffectMemory, kEffectMemories> memory{};
    int8_t portamentoTarget = -1;
    uint8_t portamentoSpeed = 0;
    float slideFactor = 1.0f;
    int8_t volumeSlide = 0;
    int8_t panSlide = 0;
    int32_t vibratoSpeed = 0;
    int32_t vibratoWaveform = 0;
    int32_t vibratoDepth = 0;
    uint8_t vibratoPosition = 0;
    float vibratoFactor = 1.0f;
    int32_t tremoloSpeed = 0;
    int32_t tremoloWaveform = 0;
    int32_t tremoloDepth = 0;
    uint8_t tremoloPosition = 0;
    int8_t tremoloValue = 0;
    int32_t panbrelloSpeed = 0;
    int32_t panbrelloWaveform = 0;
    int32_t panbrelloDepth = 0;
    uint8_t panbrelloPosition = 0;
    int8_t panbrelloValue = 0;
    uint8_t tremorOff = 0;
    float arpeggioFactor = 1.0f;
    uint8_t loopPasses = 0;
    uint8_t loopMark = 0;
};
