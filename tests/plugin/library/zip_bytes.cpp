#include "library/zip_bytes.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include "model/scratch_folder.h"

std::string zipEntryOf(const std::string& zipBytes, const char* entryName)
{
    const ScratchFolder folder;
    const std::string path = folder.write("chunk.zip", zipBytes);
    std::string content;
    if (unzFile zip = unzOpen(path.c_str())) {
        if (unzLocateFile(zip, entryName, 2) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
            char buffer[4096];
            int n;
            while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
                content.append(buffer, static_cast<size_t>(n));
            unzCloseCurrentFile(zip);
        }
        unzClose(zip);
    }
    return content;
}

std::string zipOfEntries(const std::vector<std::pair<std::string, std::string>>& entries)
{
    const ScratchFolder folder;
    const std::string path = folder.file("chunk.zip");
    if (zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE)) {
        for (const auto& [name, content] : entries) {
            zip_fileinfo info{};
            if (zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9) !=
                ZIP_OK)
                continue;
            zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
            zipCloseFileInZip(zip);
        }
        zipClose(zip, nullptr);
    }
    return readWholeFile(path);
}

std::string zipOfOneEntry(const char* entryName, const std::string& content)
{
    return zipOfEntries({{entryName, content}});
}
