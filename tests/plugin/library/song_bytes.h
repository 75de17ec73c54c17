#pragma once
// Songs and sample files built as bytes, for the chunk tests and the
// benchmark of hostile chunks.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A 16-bit stereo WAV file at 44.1 kHz of noise: it does not compress.
std::string noiseWav(uint32_t frames);
// An 8-bit mono WAV file at 44.1 kHz of `frames` frames of silence: it
// deflates about a thousand times.
std::string silentWav8(uint32_t frames);
// A "Module.xml" with the sample slots 0 .. count - 1 named "s<slot>".
std::string moduleWithSamples(int count);
// A mebibyte of blanks with a letter about every 10000 / `lettersPerTenThousand`
// bytes: the sparser, the better it deflates (26 gives about 110 times).
std::string sparseText(int lettersPerTenThousand);
// The entries of a module zip: one sample entry of `wav` per slot
// 0 .. count - 1, then a "Module.xml" naming them.
std::vector<std::pair<std::string, std::string>> samplesAndDocument(int count, const std::string& wav);
// The entry name of a sample slot in the module zip.
std::string sampleEntry(int slot);
