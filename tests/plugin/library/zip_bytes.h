#pragma once
// Zip archives held in memory for the chunk tests, through minizip and
// files in a scratch folder.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The named entry of a zip given as bytes; empty when missing.
std::string zipEntryOf(const std::string& zipBytes, const char* entryName);
// A zip of the entries (name, content) in order, as bytes.
std::string zipOfEntries(const std::vector<std::pair<std::string, std::string>>& entries);
// The entries, then one more of `zeros` zero bytes whose deflated stream is
// built from one repeated piece, so that a small zip can hold a huge entry.
std::string zipWithZeroEntry(const std::vector<std::pair<std::string, std::string>>& entries, const char* name,
                             uint64_t zeros);
// A zip of one entry, as bytes.
std::string zipOfOneEntry(const char* entryName, const std::string& content);
