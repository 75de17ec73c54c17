#include "common/help_archive.h"

#include "common/help_pages.h"

#include <minizip/unzip.h>

namespace help {

Archive::~Archive()
{
    close();
}

bool Archive::open(const std::string& path)
{
    close();
    unzFile file = unzOpen64(path.c_str());
    if (!file)
        return false;
    for (int status = unzGoToFirstFile(file); status == UNZ_OK; status = unzGoToNextFile(file)) {
        char name[1024];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(file, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        names_.emplace_back(name);
    }
    handle_ = file;
    return true;
}

void Archive::close()
{
    if (handle_)
        unzClose(static_cast<unzFile>(handle_));
    handle_ = nullptr;
    names_.clear();
}

const std::string* Archive::find(std::string_view name) const
{
    for (const std::string& entry : names_)
        if (samePage(entry, name))
            return &entry;
    return nullptr;
}

bool Archive::contains(std::string_view name) const
{
    return find(name) != nullptr;
}

bool Archive::read(std::string_view name, std::string& bytes) const
{
    bytes.clear();
    const std::string* entry = find(name);
    unzFile file = static_cast<unzFile>(handle_);
    if (!entry || unzLocateFile(file, entry->c_str(), 1) != UNZ_OK)
        return false;
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(file, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > kEntryLimit || unzOpenCurrentFile(file) != UNZ_OK)
        return false;
    bytes.resize(size_t(info.uncompressed_size));
    size_t done = 0;
    bool good = true;
    while (good && done < bytes.size()) {
        const int got = unzReadCurrentFile(file, bytes.data() + done, unsigned(bytes.size() - done));
        good = got > 0;
        if (good)
            done += size_t(got);
    }
    // The end check also verifies the entry's CRC.
    char extra;
    good = good && unzReadCurrentFile(file, &extra, 1) == 0;
    good = unzCloseCurrentFile(file) == UNZ_OK && good;
    if (!good)
        bytes.clear();
    return good;
}

} // namespace help
