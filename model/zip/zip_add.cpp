// Writing archives: one file, or an entry kept as another archive stored it,
// added as a new entry.

#include "model/zip/zip_archive.h"
#include "model/zip/zip_helpers.h"

#include <minizip/zip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <zlib.h>

bool zipAddFile(const char* source, const char* archivePath, const char* entryName)
{
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kZipCopyChunk]);
    if (!buffer)
        return false;
    // The source is opened first so that an unreadable one leaves the archive as it was.
    FILE* in = std::fopen(source, "rb");
    if (!in)
        return false;
    zip_fileinfo entryInfo;
    std::memset(&entryInfo, 0, sizeof entryInfo);
    uint32_t dosTime = 0;
    fileDosTime(source, dosTime);
    entryInfo.dosDate = dosTime;

    // An archive without entries is made anew: minizip cannot append to one.
    bool append = fileExists(archivePath) && !zipIsEmptyArchive(archivePath);
    zipFile archive = zipOpen(archivePath, append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    if (!archive) {
        std::fclose(in);
        return false;
    }
    bool ok = zipOpenNewFileInZip(archive, entryName, &entryInfo, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, 9)
              == ZIP_OK;
    bool opened = ok;
    while (ok) {
        size_t got = std::fread(buffer.get(), 1, kZipCopyChunk, in);
        if (got == 0) {
            ok = !std::ferror(in);
            break;
        }
        ok = zipWriteInFileInZip(archive, buffer.get(), static_cast<unsigned>(got)) == ZIP_OK;
    }
    std::fclose(in);
    if (opened && zipCloseFileInZip(archive) != ZIP_OK)
        ok = false;
    if (zipClose(archive, nullptr) != ZIP_OK)
        ok = false;
    return ok;
}

bool zipAddStoredEntry(const ZipStoredEntry& entry, const char* archivePath, const char* entryName)
{
    if (!entry.kept)
        return false;
    zip_fileinfo entryInfo;
    std::memset(&entryInfo, 0, sizeof entryInfo);
    entryInfo.dosDate = entry.dosDate;
    const bool append = fileExists(archivePath) && !zipIsEmptyArchive(archivePath);
    zipFile archive = zipOpen(archivePath, append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    // Raw: the bytes go in as they are, under the entry's own checksum and size.
    bool ok = zipOpenNewFileInZip2(archive, entryName, &entryInfo, nullptr, 0, nullptr, 0, nullptr,
                                   static_cast<int>(entry.method), 9, 1) == ZIP_OK;
    const bool opened = ok;
    for (size_t at = 0; ok && at < entry.bytes.size(); at += kZipCopyChunk) {
        const size_t n = std::min(kZipCopyChunk, entry.bytes.size() - at);
        ok = zipWriteInFileInZip(archive, entry.bytes.data() + at, static_cast<unsigned>(n)) == ZIP_OK;
    }
    if (opened && zipCloseFileInZipRaw(archive, static_cast<uLong>(entry.inflatedSize), entry.crc) != ZIP_OK)
        ok = false;
    if (zipClose(archive, nullptr) != ZIP_OK)
        ok = false;
    return ok;
}
