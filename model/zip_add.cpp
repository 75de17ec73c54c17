// Writing archives: one file added as a new entry.

#include "model/zip_helpers.h"

#include <minizip/zip.h>

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
