#pragma once
// The four modulation waveforms of vibrato, tremolo, panbrello and the
// samples' auto-vibrato: 256 steps each, -64..64.

#include <cstdint>

constexpr int kWaveforms = 4;   // 0 sine, 1 square, 2 ramp down, 3 triangle
constexpr int kWaveformSteps = 256;

// The value of a waveform at a phase; a waveform number outside 0..3 (from a
// loaded sample or a copied channel) reads as the nearest valid one.
int8_t waveformValue(int32_t waveform, uint8_t position);
