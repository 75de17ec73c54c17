#pragma once
// Scratch files for the file-format tests: a fresh folder per test, whole-file
// reads and writes, small zips and the command-line tools of the system.

#include <cstdint>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<uint8_t>;

// A fresh empty folder named after the running test, below the private
// temporary folder.
std::string freshFolder();

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);

// A zip holding one small entry per name.
void writeZip(const std::string& path, const std::vector<std::string>& entryNames);

// Runs a shell command with its output discarded; true when it exits with 0.
bool run(const std::string& command);
// The standard output of a shell command.
std::string output(const std::string& command);

// Little-endian builders for hand-made files.
void append(Bytes& b, const std::string& text);
void append16(Bytes& b, uint32_t v);
void append24(Bytes& b, uint32_t v);
void append32(Bytes& b, uint32_t v);

} // namespace testfiles

namespace testfiles {

// The bytes of the first chunk with that identifier in a RIFF file; empty
// when there is none.
Bytes riffChunk(const Bytes& file, const char* id);

// A noise WAV in the plain 16-byte-format layout, made by sox.
bool makeNoiseWav(const std::string& path, int channels, int bits, int rate, double seconds);

} // namespace testfiles
