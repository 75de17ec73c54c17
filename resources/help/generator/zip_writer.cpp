#include "zip_writer.h"

#include <minizip/zip.h>

#include <cstdio>

namespace helpgen {

bool writeArchive(const std::string& path, const std::vector<ArchiveEntry>& entries)
{
    zipFile archive = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    zip_fileinfo info{};
    info.tmz_date.tm_year = 2024;
    info.tmz_date.tm_mon = 0;
    info.tmz_date.tm_mday = 1;
    bool good = true;
    for (const auto& [name, bytes] : entries) {
        good = zipOpenNewFileInZip64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9,
                                     bytes.size() >= 0xffffffffu) == ZIP_OK &&
               zipWriteInFileInZip(archive, bytes.data(), unsigned(bytes.size())) == ZIP_OK &&
               zipCloseFileInZip(archive) == ZIP_OK;
        if (!good)
            break;
    }
    good = zipClose(archive, nullptr) == ZIP_OK && good;
    if (!good)
        std::remove(path.c_str());
    return good;
}

} // namespace helpgen
