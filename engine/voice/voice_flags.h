#pragma once
// Row flags of a voice (its flags field) as row processing sets them.

#include <cstdint>

namespace voice_flag {
constexpr uint16_t kNewNote = 0x0001;
constexpr uint16_t kSetup = 0x0004;        // the row's set-up: effects take parameters
constexpr uint16_t kVolumeSet = 0x0010;
constexpr uint16_t kPanningSet = 0x0020;
constexpr uint16_t kNewPitch = 0x0040;
constexpr uint16_t kNewInstrument = 0x0080;
constexpr uint16_t kPlayback = 0x0100;     // song or pattern playback, not an audition
} // namespace voice_flag
