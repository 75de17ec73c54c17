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
// The entries, then one more made of `copies` times the mebibyte `mebibyte`,
// deflated once: the zip holds that entry at the ratio of one copy.
std::string zipWithRepeatedEntry(const std::vector<std::pair<std::string, std::string>>& entries, const char* name,
                                 const std::string& mebibyte, uint64_t copies);
// The entries, each carrying an extra field of `fieldBytes` (at most 65535)
// made of empty four-byte headers, in the directory and in its local header.
std::string zipWithExtraFields(const std::vector<std::pair<std::string, std::string>>& entries, size_t fieldBytes);
// The zip with the compressed bytes of the named entry overwritten in their
// middle, so that the entry no longer inflates.
std::string zipWithDamagedEntry(const std::string& zipBytes, const char* entryName);
// The named entry as the zip stores it: method, checksum, inflated size and
// compressed bytes in one string; empty when missing.
std::string zipStoredEntryOf(const std::string& zipBytes, const char* entryName);
// A zip of one entry, as bytes.
std::string zipOfOneEntry(const char* entryName, const std::string& content);
