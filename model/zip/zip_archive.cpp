// The archive of one load: one walk over the directory, entries read by place.

#include "model/zip/zip_archive.h"

#include "model/audio_files/memory_file.h"
#include "model/zip/zip_file_reader.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

bool ZipArchive::open(const std::string& path)
{
    close();
    archive_ = zipOpenForReading(path.c_str(), archiveSize_);
    if (!archive_)
        return false;
    uint64_t total = 0;
    int step = unzGoToFirstFile(archive_);
    for (; step == UNZ_OK; step = unzGoToNextFile(archive_)) {
        Entry entry;
        char full[kZipEntryNameSize + 1] = {};
        if (unzGetCurrentFileInfo(archive_, &entry.info, full, kZipEntryNameSize, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzGetFilePos(archive_, &entry.place) != UNZ_OK || !zipEntryWithinBounds(entry.info))
            break;
        std::snprintf(entry.name, sizeof entry.name, "%.*s", kZipEntryNameSize - 1, full);
        total += entry.info.uncompressed_size;
        if (!zipTotalWithinBounds(total, archiveSize_))
            break;
        entries_.push_back(entry);
    }
    if (step != UNZ_END_OF_LIST_OF_FILE) {
        close();
        return false;
    }
    return true;
}

void ZipArchive::close()
{
    if (archive_)
        unzClose(archive_);
    archive_ = nullptr;
    entries_.clear();
    archiveSize_ = 0;
    storedBytes_ = 0;
}

int32_t ZipArchive::indexOf(const char* name) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (strncasecmp(entries_[i].name, name, kZipEntryNameSize) == 0)
            return static_cast<int32_t>(i);
    return -1;
}

bool ZipArchive::goTo(int32_t index)
{
    return archive_ && index >= 0 && static_cast<size_t>(index) < entries_.size() &&
           unzGoToFilePos(archive_, &entries_[static_cast<size_t>(index)].place) == UNZ_OK;
}

bool ZipArchive::read(int32_t index, TesselMemoryFile& into, uint64_t limit)
{
    into.free();
    if (!goTo(index))
        return false;
    const uint64_t declared = info(index).uncompressed_size;
    if (declared > limit || declared > TesselMemoryFile::kMaxLoadSize)
        return false;
    // One byte more than declared, so that a stream that inflates past its
    // declared size is seen without reading it to its end.
    if (!into.allocate(static_cast<uint32_t>(declared) + 1) || unzOpenCurrentFile(archive_) != UNZ_OK) {
        into.free();
        return false;
    }
    uint64_t total = 0;
    int got = 0;
    do {
        const uint64_t room = declared + 1 - total;
        got = unzReadCurrentFile(archive_, into.data + total, static_cast<unsigned>(room < (1u << 30) ? room : 1u << 30));
        if (got > 0)
            total += static_cast<uint64_t>(got);
    } while (got > 0 && total <= declared);
    // Closing tests the checksum once the entry was read to its end.
    const bool whole = got == 0 && total == declared;
    const bool checked = unzCloseCurrentFile(archive_) == UNZ_OK;
    if (!whole || !checked) {
        into.free();
        return false;
    }
    into.end = into.data + declared;
    into.size = static_cast<uint32_t>(declared);
    into.position = into.data;
    return true;
}

bool ZipArchive::readStored(int32_t index, ZipStoredEntry& entry)
{
    if (!goTo(index))
        return false;
    const unz_file_info& record = info(index);
    // Only what minizip can write back unchanged.
    if (record.compression_method != 0 && record.compression_method != Z_DEFLATED)
        return false;
    if (record.compressed_size > archiveSize_ - storedBytes_)
        return false;
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(archive_, &method, &level, 1) != UNZ_OK)
        return false;
    entry.name = entries_[static_cast<size_t>(index)].name;
    entry.method = static_cast<uint32_t>(method);
    entry.crc = static_cast<uint32_t>(record.crc);
    entry.inflatedSize = record.uncompressed_size;
    entry.dosDate = static_cast<uint32_t>(record.dosDate);
    entry.bytes.clear();
    unsigned char buffer[kZipCopyChunk];
    int got;
    // The stored bytes lie inside the archive: never more than its size.
    while ((got = unzReadCurrentFile(archive_, buffer, sizeof buffer)) > 0)
        entry.bytes.insert(entry.bytes.end(), buffer, buffer + got);
    unzCloseCurrentFile(archive_);
    if (got != 0 || entry.bytes.size() > archiveSize_ - storedBytes_) {
        entry.bytes.clear();
        return false;
    }
    storedBytes_ += entry.bytes.size();
    return true;
}
