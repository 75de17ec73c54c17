#pragma once
// Impulse Tracker's compressed sample data (versions 2.14 and 2.15): blocks of
// variable-width deltas read least significant bit first.

#include <cstddef>
#include <cstdint>

struct ItDecodeResult {
    size_t produced = 0;   // samples written before the data ended or went bad
    size_t consumed = 0;   // bytes of input used, block headers included
    bool complete = false; // every requested sample was decoded
};

// Decodes `frames` samples from `data` (bounded by `size`) into `out`, 8-bit
// values as -128..127 and 16-bit values as -32768..32767. `integrateTwice`
// selects the 2.15 variant, whose output is the running sum of the deltas.
// A block with an invalid width, or one that runs out of bits, ends the
// decoding; the samples not produced are left as they were.
ItDecodeResult itDecompress(const uint8_t* data, size_t size, bool sixteenBit, bool integrateTwice,
                            int16_t* out, size_t frames);
