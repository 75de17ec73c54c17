// Reading archives: listing entries and extracting one to a file.

#include "model/zip/zip_helpers.h"

#include "model/zip/zip_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

// Gives the file the entry's date, which the archive keeps in local time.
void setFileDate(const char* path, const tm_unz& date)
{
    struct tm local = {};
    local.tm_sec = static_cast<int>(date.tm_sec);
    local.tm_min = static_cast<int>(date.tm_min);
    local.tm_hour = static_cast<int>(date.tm_hour);
    local.tm_mday = static_cast<int>(date.tm_mday);
    local.tm_mon = static_cast<int>(date.tm_mon);
    local.tm_year = static_cast<int>(date.tm_year) - 1900;
    local.tm_isdst = -1;
    time_t when = mktime(&local);
    if (when == static_cast<time_t>(-1))
        return;
    struct utimbuf times = {when, when};
    utime(path, &times);
}

// Current entry's information and its name, cut to 255 characters.
bool currentEntry(unzFile archive, unz_file_info& info, char (&name)[kZipEntryNameSize])
{
    char full[kZipEntryNameSize + 1] = {};
    if (unzGetCurrentFileInfo(archive, &info, full, kZipEntryNameSize, nullptr, 0, nullptr, 0)
        != UNZ_OK)
        return false;
    std::snprintf(name, sizeof name, "%.*s", kZipEntryNameSize - 1, full);
    return true;
}

// Every entry within its bounds and the declared sizes together within the
// total; false as soon as one is passed, or when the directory cannot be walked.
bool archiveWithinBounds(unzFile archive, uint64_t archiveSize)
{
    uint64_t total = 0;
    int step = unzGoToFirstFile(archive);
    for (; step == UNZ_OK; step = unzGoToNextFile(archive)) {
        unz_file_info info;
        if (unzGetCurrentFileInfo(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            !zipEntryWithinBounds(info))
            return false;
        total += info.uncompressed_size;
        if (!zipTotalWithinBounds(total, archiveSize))
            return false;
    }
    return step == UNZ_END_OF_LIST_OF_FILE;
}

} // namespace

bool zipEntryWithinBounds(const unz_file_info& info)
{
    const uint64_t declared = info.uncompressed_size;
    return declared <= kZipMaxInflatedTotal &&
           (declared <= kZipFreelyInflatedSize || declared / kZipMaxInflateRatio <= info.compressed_size);
}

bool zipTotalWithinBounds(uint64_t total, uint64_t archiveSize)
{
    return total <= kZipMaxInflatedTotal &&
           (total <= kZipFreelyInflatedTotal || total / kZipMaxArchiveRatio <= archiveSize);
}

// minizip refuses an archive whose end record is its very first byte, which
// is what every writer makes of an archive without entries.
bool zipIsEmptyArchive(const char* path)
{
    uint8_t record[22];
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    bool read = std::fread(record, 1, sizeof record, file) == sizeof record;
    std::fclose(file);
    const uint8_t signature[] = {'P', 'K', 5, 6};
    // Disk numbers, entry counts, directory size and offset all zero.
    return read && std::memcmp(record, signature, 4) == 0
           && std::all_of(record + 4, record + 20, [](uint8_t b) { return b == 0; });
}

int32_t ZipEntryList::indexOf(const char* name) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (strncasecmp(entries[i].name, name, kZipEntryNameSize) == 0)
            return static_cast<int32_t>(i);
    return -1;
}

int zipExtractCurrent(unzFile archive, const char* destination)
{
    unz_file_info info;
    char name[kZipEntryNameSize];
    if (!currentEntry(archive, info, name))
        return UNZ_ERRNO;
    if (!zipEntryWithinBounds(info))
        return UNZ_BADZIPFILE;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kZipCopyChunk]);
    if (!buffer)
        return UNZ_INTERNALERROR;
    int result = unzOpenCurrentFile(archive);
    if (result != UNZ_OK)
        return result;
    FILE* out = std::fopen(destination, "wb");
    if (!out)
        result = UNZ_ERRNO;
    uLong total = 0;
    while (out) {
        int got = unzReadCurrentFile(archive, buffer.get(), kZipCopyChunk);
        if (got < 0)
            result = got;
        if (got <= 0)
            break;
        total += static_cast<uLong>(got);
        // A stream that inflates past its declared size is damaged or
        // hostile: stopped here, not read to its end.
        if (total > info.uncompressed_size) {
            result = UNZ_BADZIPFILE;
            break;
        }
        if (std::fwrite(buffer.get(), 1, static_cast<size_t>(got), out) != static_cast<size_t>(got)) {
            result = UNZ_ERRNO;
            break;
        }
    }
    if (out && std::fclose(out) != 0 && result == UNZ_OK)
        result = UNZ_ERRNO;
    // A deflate stream that ends early is not caught by the checksum, which
    // is only tested once the announced size was read.
    if (result == UNZ_OK && total != info.uncompressed_size)
        result = UNZ_BADZIPFILE;
    // Closing checks the entry's checksum once it was read to its end.
    int closed = unzCloseCurrentFile(archive);
    if (result == UNZ_OK && closed != UNZ_OK)
        result = closed;
    return result;
}

bool zipExtractFile(const char* archivePath, const char* destination, const char* entryName)
{
    if (std::strlen(entryName) >= static_cast<size_t>(kZipEntryNameSize))
        return false;
    uint64_t archiveSize = 0;
    unzFile archive = zipOpenForReading(archivePath, archiveSize);
    if (!archive)
        return false;
    bool existed = access(destination, F_OK) == 0;
    unz_file_info info;
    char name[kZipEntryNameSize];
    if (!archiveWithinBounds(archive, archiveSize)) {
        unzClose(archive);
        return false;
    }
    bool found = unzLocateFile(archive, entryName, 2) == UNZ_OK; // 2: without regard to case
    bool done = found && zipExtractCurrent(archive, destination) == UNZ_OK
                && currentEntry(archive, info, name);
    unzClose(archive);
    if (!done) {
        if (found && !existed)
            std::remove(destination); // no half-written file is left behind
        return false;
    }
    setFileDate(destination, info.tmu_date);
    return true;
}

bool zipListEntries(const char* archivePath, ZipEntryList& list)
{
    list.clear();
    uint64_t archiveSize = 0;
    unzFile archive = zipOpenForReading(archivePath, archiveSize);
    if (!archive)
        return zipIsEmptyArchive(archivePath);
    unz_global_info global;
    if (unzGetGlobalInfo(archive, &global) != UNZ_OK) {
        unzClose(archive);
        return false;
    }
    // The count comes from the file: it only hints, the walk decides.
    list.entries.reserve(global.number_entry < 1024 ? global.number_entry : 1024);
    for (int step = unzGoToFirstFile(archive); step == UNZ_OK; step = unzGoToNextFile(archive)) {
        ZipEntry entry;
        auto info = std::make_unique<unz_file_info>();
        if (!currentEntry(archive, *info, entry.name))
            break;
        entry.info = std::move(info);
        list.entries.push_back(std::move(entry));
    }
    unzClose(archive);
    return true;
}
