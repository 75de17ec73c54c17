#pragma once
// A pattern cell as the grid prints it: 14 fixed-width characters of the
// 8-bit code page (position 0 is the caller's), then a terminator.
//
//   1-3  note ("C-5", "===" note off, "^^^" note cut, middle dots empty)
//   5-6  instrument ("%.2d", or its label)
//   7-10 volume column (" %.2d " or a blank, two middle dots, a blank)
//   11   effect letter ('.' none), 12-13 parameter ("%.2X")
//
// Values that cannot be printed in their field (an instrument outside
// 1..99, a pitch of 120..253, a parameter outside 0..255) print as '?'.

#include "model/song/subrow.h"

#include <array>
#include <cstdint>
#include <span>

class TesselInstrument;

constexpr int kCellTextSize = 15;
constexpr int kCellTextLength = 14;
using TesselCellText = std::array<char, kCellTextSize>;

// Text positions of the cursor's columns 0..8 (note, octave, instrument,
// volume, effect letter, parameter). Columns 4-5 sit on the volume column's
// digits in every mode: its text is " %.2d " whatever it shows.
constexpr int kCursorColumnPosition[9] = {1, 3, 5, 6, 8, 9, 11, 12, 13};

// Latin-1 / Windows-1252 middle dot.
constexpr char kMiddleDot = static_cast<char>(0xB7);

// Volume column modes.
enum TesselVolumeMode : uint8_t { kShowVolume = 0, kShowPanning = 1, kShowDepth = 2 };

struct TesselCellFormat {
    uint8_t volumeMode = kShowVolume;
    bool instrumentLabels = false;
    // Labels are read from these (instrument n is entry n - 1).
    std::span<const TesselInstrument> instruments;
};

// The text of a cell that holds nothing: " ··· ·· ·· .00".
const TesselCellText& emptyCellText();

// The empty-cell texts as constants, each also without an effect (" ..."
// where " .00" stands).
constexpr const char kEmptyCell[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\x20\xB7\xB7\x20\x2E\x30\x30";
constexpr const char kEmptyCellJoined[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\xB7\xB7\xB7\xB7\x2E\x30\x30";
constexpr const char kEmptyCellNoEffect[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\x20\xB7\xB7\x20\x2E\x2E\x2E";
constexpr const char kEmptyCellJoinedNoEffect[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\xB7\xB7\xB7\xB7\x2E\x2E\x2E";
static_assert(sizeof kEmptyCell == kCellTextSize && sizeof kEmptyCellJoinedNoEffect == kCellTextSize);

// The twelve two-character note names, C first.
const char* noteName(int semitone);

// Writes positions 1-13 and the terminator; position 0 is left alone.
void formatCellText(char* text, const TesselSubrowData& cell, const TesselCellFormat& format);
