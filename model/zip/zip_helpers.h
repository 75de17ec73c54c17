#pragma once
// File and zip helpers over path names. Archives are streamed through a
// 16 KiB buffer, never held in memory (only an entry given from memory, the
// song document, is deflated from there); the zip format is minizip's.

#include <minizip/unzip.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr size_t kZipCopyChunk = 16384;
constexpr int kZipEntryNameSize = 256;   // 255 characters and the terminator
constexpr int kModuleSampleListLimit = 99; // one name per sample slot of a module

// What reading an archive may inflate to, so that a small damaged or hostile
// file cannot take the memory and time of a huge one. An entry never gives
// more than its declared size; beyond kZipFreelyInflatedSize it may declare
// at most kZipMaxInflateRatio times its compressed size (real songs and
// samples stay far below). The declared sizes of all entries of one archive
// together stay within kZipMaxInflatedTotal, and beyond
// kZipFreelyInflatedTotal within kZipMaxArchiveRatio times the archive's own
// size: sample audio deflates two or three times, a song document some
// twenty, and a song whose document is large has audio beside it. The
// readers refuse every entry of an archive that passes any of them, before
// inflating any.
constexpr uint64_t kZipFreelyInflatedSize = 4u << 20;
constexpr uint64_t kZipMaxInflateRatio = 256;
constexpr uint64_t kZipMaxInflatedTotal = 1u << 30;
constexpr uint64_t kZipFreelyInflatedTotal = 16u << 20;
constexpr uint64_t kZipMaxArchiveRatio = 32;
// A song document beyond this is no song: 200 patterns of 256 rows with a
// note, an instrument and an effect on every row of all 64 channels write
// about 200 MiB.
constexpr uint64_t kZipMaxDocumentSize = 256u << 20;

struct ZipStoredEntry;

struct ZipEntry {
    char name[kZipEntryNameSize] = {};
    // A copy of the archive's record of the entry (sizes, date, method); empty
    // for the names that zipListModuleSamples makes.
    std::unique_ptr<unz_file_info> info;
};

struct ZipEntryList {
    std::vector<ZipEntry> entries;

    int32_t count() const { return static_cast<int32_t>(entries.size()); }
    void clear() { entries.clear(); }
    // The first entry whose name equals `name` without regard to case, or -1.
    int32_t indexOf(const char* name) const;
};

// A calendar date and time in UTC; all fields 0 when unknown.
struct TesselFileTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// True for a regular file that can be opened for reading (a folder is not).
bool fileExists(const char* path);
// Size in bytes; 0 when the file cannot be opened.
uint64_t fileSize(const char* path);
// Last-write time; folders answer too.
TesselFileTime fileModifiedTime(const char* path);
// Last-write time in local time packed as DOS date (high 16 bits) and time
// (low 16 bits, two-second steps); false when the file is not found.
bool fileDosTime(const char* path, uint32_t& dosTime);
// The same packing of a moment.
uint32_t dosTimeOf(time_t moment);

// Writes the entry the open archive stands on to `destination`: 0 when done,
// a negative minizip code (or UNZ_ERRNO for a file that cannot be written).
int zipExtractCurrent(unzFile archive, const char* destination);
// True when the entry's declared and compressed sizes keep to the bounds above.
bool zipEntryWithinBounds(const unz_file_info& info);
// True when entries declaring `total` bytes together fit an archive of `archiveSize` bytes.
bool zipTotalWithinBounds(uint64_t total, uint64_t archiveSize);
// Extracts the named entry (names compare without regard to case) and gives
// the written file the entry's date. False, and nothing left behind, when the
// archive, the entry or the destination fails.
bool zipExtractFile(const char* archive, const char* destination, const char* entryName);
// Adds `source` under `entryName`, deflated at level 9 and dated by the
// source's last-write time, appending to an existing archive or creating one.
// False when anything failed; a source that cannot be read leaves the archive
// untouched.
bool zipAddFile(const char* source, const char* archive, const char* entryName);
// As zipAddFile for bytes in memory, dated now. Large ones are deflated in
// pieces on several threads, each piece primed with the 32 KiB before it,
// into one deflate stream at level 9: what any reader inflates, at a
// fraction of the time a single stream at that level takes.
bool zipAddBuffer(const void* data, size_t size, const char* archive, const char* entryName);
// Adds the entry exactly as it was stored in another archive (see
// zip_archive.h), appending or creating as zipAddFile does; false when
// anything failed or the entry was not kept whole.
bool zipAddStoredEntry(const ZipStoredEntry& entry, const char* archive, const char* entryName);
// An archive without entries, which minizip itself refuses to open.
bool zipIsEmptyArchive(const char* path);
// Every entry of the archive with its information; false when the archive
// cannot be opened or read.
bool zipListEntries(const char* archive, ZipEntryList& list);
// The "Sample %.3d.wav" names that the module's "Module.xml" announces, in
// file order, at most 99; false when that entry cannot be read.
bool zipListModuleSamples(const char* modulePath, ZipEntryList& list);
