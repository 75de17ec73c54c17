#pragma once
// The effect memory of one effect cell on one channel. The song's channel
// settings keep two of these; the replay engine's live channel records work on
// them (the letters' handlers belong to the engine).

#include <array>
#include <cstddef>
#include <cstdint>

class TesselVoice;
class TesselChannel;
struct TesselEffect;

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

    // Letter handlers, built by the replay engine. With voice flag 4 (row
    // set-up) a handler takes its parameters; without it (a tick) it acts.
    // One slot step for one voice: cell is the effect cell this slot runs
    // (null when the voice has no key-map entry for slot 0).
    void step(TesselVoice& voice, const TesselEffect* cell, bool keymapSlot);
    void volumeSlide(TesselVoice& voice, uint8_t parameter);
    void channelVolumeSlide(TesselVoice& voice, TesselChannel& live, uint8_t parameter, uint16_t flags);
    void panSlide(TesselVoice& voice, uint8_t parameter);
    void pitchSlide(TesselVoice& voice, bool down, uint8_t parameter);
    void portamento(TesselVoice& voice, uint8_t speed);
    void vibrato(TesselVoice& voice, int32_t depth, int32_t speed);
    void tremolo(TesselVoice& voice, int32_t depth, int32_t speed);
    void tremor(TesselVoice& voice, uint8_t parameter);
    void arpeggio(TesselVoice& voice, int32_t x, int32_t y);
    void retrigger(TesselVoice& voice, int32_t interval, int32_t type);
    void loopPass(int32_t x);
    void panbrello(TesselVoice& voice, int32_t depth, int32_t speed);
    void subcommand(TesselVoice& voice, uint8_t parameter);
    // The vibrato factor multiplies the pitch only under these letters.
    bool modulatesPitch() const { return command == 'H' || command == 'K' || command == 'U'; }

    char command = '.';
    int32_t count = 0;
    int32_t hold = 0;
    std::array<TesselEffectMemory, kEffectMemories> memory{};
    int8_t portamentoTarget = -1;
    uint8_t portamentoSpeed = 0;
    float slideFactor = 1.0f;
    int8_t volumeSlideStep = 0;   // per tick, of D, K, L and N
    int8_t panSlideStep = 0;
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
