#pragma once
// The sample page's read-outs: the format, the length, the base note and a
// sample value, each bounded for any value the slot may hold.

#include <cstdint>
#include <string>

class TesselSample;

// "16bb/44.1kk" with the bitmap font's unit glyphs in place of "bb" and
// "kk"; "No sample" without data.
std::string sampleFormatText(const TesselSample& sample);
// The length in frames; empty for 0.
std::string sampleLengthText(const TesselSample& sample);
// "@ C-5": the note's name and octave.
std::string sampleNoteText(int32_t note);
// A value as "%+.0f", at most 16 characters ("+inf" and "nan" spelled out).
std::string sampleValueText(float value);
// The decimal digits a loop point of that length needs, 6 to 9.
int32_t loopDigits(int32_t length);
