#pragma once
// An archive read for one load: opened once, its directory walked once (the
// bounds of zip_helpers.h checked on the way, each entry's record and place
// kept), each entry then read from its place without another walk. Entries
// are read whole into memory, or as stored for carrying them over unread.

#include "model/zip/zip_helpers.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TesselMemoryFile;

// An entry exactly as the archive stores it: its compressed bytes and what a
// writer needs to store them again unchanged. Never changed once read, so
// song copies share it.
struct ZipStoredEntry {
    // False when not even the stored bytes could be read (a method no
    // writer here knows): the entry is known, but cannot be written again.
    bool kept = false;
    std::string name;
    uint32_t method = 0;     // 0 stored, 8 deflated
    uint32_t crc = 0;
    uint64_t inflatedSize = 0;
    uint32_t dosDate = 0;
    std::vector<uint8_t> bytes;
};

class ZipArchive {
public:
    ZipArchive() = default;
    ~ZipArchive() { close(); }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // False, and nothing open, when the file is no archive, its directory
    // cannot be walked, or its entries pass the bounds.
    bool open(const std::string& path);
    void close();

    // The first entry of that name (compared without regard to case), or -1.
    int32_t indexOf(const char* name) const;
    const unz_file_info& info(int32_t index) const { return entries_[static_cast<size_t>(index)].info; }

    // The entry inflated into `into`, its checksum tested; false when it
    // declares more than `limit` bytes, or is damaged.
    bool read(int32_t index, TesselMemoryFile& into, uint64_t limit = kZipMaxInflatedTotal);
    // The entry as stored; false, and no bytes, when its method is none a
    // writer can store again, the bytes cannot be read, or the entries kept
    // so far would pass the archive's size with it.
    bool readStored(int32_t index, ZipStoredEntry& entry);

private:
    struct Entry {
        char name[kZipEntryNameSize] = {};
        unz_file_info info{};
        unz_file_pos place{};
    };
    bool goTo(int32_t index);

    unzFile archive_ = nullptr;
    std::vector<Entry> entries_;
    uint64_t archiveSize_ = 0;
    // Entries may share their bytes: what is kept as stored stays within
    // the archive's own size, however many entries point at the same bytes.
    uint64_t storedBytes_ = 0;
};
