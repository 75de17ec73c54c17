#include "library/zip_bytes.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace {

std::string scratchName()
{
    static std::atomic<int> counter{0};
    return "/tmp/qb-chunk-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".zip";
}

void writeFile(const std::string& path, const std::string& bytes)
{
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

std::string readFile(const std::string& path)
{
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

} // namespace

std::string zipEntryOf(const std::string& zipBytes, const char* entryName)
{
    const std::string path = scratchName();
    writeFile(path, zipBytes);
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
    std::remove(path.c_str());
    return content;
}

std::string zipOfOneEntry(const char* entryName, const std::string& content)
{
    const std::string path = scratchName();
    if (zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE)) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip(zip, entryName, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9) == ZIP_OK) {
            zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
            zipCloseFileInZip(zip);
        }
        zipClose(zip, nullptr);
    }
    std::string bytes = readFile(path);
    std::remove(path.c_str());
    return bytes;
}
