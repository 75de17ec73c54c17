#pragma once
// How the zip readers open an archive file for minizip. minizip walks an
// entry's extra field four bytes and one seek at a time; through stdio every
// seek costs a call into the system, so that a field of 64 KB of empty
// headers took seconds. Here reads come from a window of the file held in
// memory and a seek only moves the position, so a walk costs what the bytes
// it reads cost.

#include <minizip/unzip.h>

#include <cstdint>

// The archive opened for reading with the windowed file functions; null when
// it cannot be opened. `size` receives the file's size in bytes.
unzFile zipOpenForReading(const char* path, uint64_t& size);
