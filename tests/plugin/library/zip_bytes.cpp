#include "library/zip_bytes.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

#include "model/scratch_folder.h"

namespace {

// The rest of the entry the zip has open, which is then closed.
std::string readOpenEntry(unzFile zip)
{
    std::string content;
    char buffer[4096];
    int n;
    while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
        content.append(buffer, static_cast<size_t>(n));
    unzCloseCurrentFile(zip);
    return content;
}

} // namespace

std::string zipEntryOf(const std::string& zipBytes, const char* entryName)
{
    const ScratchFolder folder;
    const std::string path = folder.write("chunk.zip", zipBytes);
    std::string content;
    if (unzFile zip = unzOpen(path.c_str())) {
        if (unzLocateFile(zip, entryName, 2) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK)
            content = readOpenEntry(zip);
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

namespace {

// One MiB of `pattern`, deflated raw and ended by a full flush: the piece
// starts from an empty history, so any number of copies in a row is a valid
// stream.
struct DeflatedPiece {
    std::string piece;
    std::string finish;
    uint32_t crc = 0;
};

DeflatedPiece deflatedMiB(const std::string& content)
{
    DeflatedPiece result;
    result.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                                             static_cast<uInt>(content.size())));
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(content.size() + 4096, '\0');
    auto run = [&](const char* in, size_t n, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
        stream.avail_in = static_cast<uInt>(n);
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        return out.substr(0, out.size() - stream.avail_out);
    };
    result.piece = run(content.data(), content.size(), Z_FULL_FLUSH);
    result.finish = run(nullptr, 0, Z_FINISH);
    deflateEnd(&stream);
    return result;
}

} // namespace

std::string zipWithRepeatedEntry(const std::vector<std::pair<std::string, std::string>>& entries, const char* name,
                                 const std::string& mebibyte, uint64_t copies)
{
    const ScratchFolder folder;
    const std::string path = folder.write("chunk.zip", zipOfEntries(entries));
    const DeflatedPiece deflated = deflatedMiB(mebibyte);
    uLong crc = 0;
    for (uint64_t i = 0; i < copies; ++i)
        crc = crc32_combine(crc, deflated.crc, 1 << 20);
    if (zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_ADDINZIP)) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip2(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1) == ZIP_OK) {
            for (uint64_t i = 0; i < copies; ++i)
                zipWriteInFileInZip(zip, deflated.piece.data(), static_cast<unsigned>(deflated.piece.size()));
            zipWriteInFileInZip(zip, deflated.finish.data(), static_cast<unsigned>(deflated.finish.size()));
            zipCloseFileInZipRaw(zip, static_cast<uLong>(copies << 20), crc);
        }
        zipClose(zip, nullptr);
    }
    return readWholeFile(path);
}

std::string zipWithZeroEntry(const std::vector<std::pair<std::string, std::string>>& entries, const char* name,
                             uint64_t zeros)
{
    return zipWithRepeatedEntry(entries, name, std::string(size_t{1} << 20, '\0'), zeros >> 20);
}

std::string zipWithExtraFields(const std::vector<std::pair<std::string, std::string>>& entries, size_t fieldBytes)
{
    // Headers of an unknown kind with no data: four bytes each.
    std::string field;
    while (field.size() + 4 <= fieldBytes)
        field += std::string("\xfe\xca\0\0", 4);
    const ScratchFolder folder;
    const std::string path = folder.file("chunk.zip");
    if (zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE)) {
        for (const auto& [name, content] : entries) {
            zip_fileinfo info{};
            if (zipOpenNewFileInZip(zip, name.c_str(), &info, field.data(), static_cast<uInt>(field.size()),
                                    field.data(), static_cast<uInt>(field.size()), nullptr, Z_DEFLATED, 9) != ZIP_OK)
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

std::string zipWithDamagedEntry(const std::string& zipBytes, const char* entryName)
{
    std::string damaged = zipBytes;
    const std::string name = entryName;
    auto field = [&damaged](size_t at, int n) {
        uint32_t value = 0;
        for (int i = n - 1; i >= 0; --i)
            value = (value << 8) | static_cast<uint8_t>(damaged[at + static_cast<size_t>(i)]);
        return value;
    };
    for (size_t at = damaged.find("PK\x03\x04"); at != std::string::npos; at = damaged.find("PK\x03\x04", at + 4)) {
        const uint32_t nameLength = field(at + 26, 2);
        if (damaged.compare(at + 30, nameLength, name) != 0)
            continue;
        const size_t data = at + 30 + nameLength + field(at + 28, 2);
        const uint32_t compressed = field(at + 18, 4);
        for (size_t i = data + compressed / 4; i < data + compressed / 2; ++i)
            damaged[i] = static_cast<char>(0xA5);
        break;
    }
    return damaged;
}

std::string zipStoredEntryOf(const std::string& zipBytes, const char* entryName)
{
    const ScratchFolder folder;
    const std::string path = folder.write("chunk.zip", zipBytes);
    std::string stored;
    if (unzFile zip = unzOpen(path.c_str())) {
        unz_file_info info{};
        int method = 0;
        int level = 0;
        if (unzLocateFile(zip, entryName, 2) == UNZ_OK &&
            unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
            unzOpenCurrentFile2(zip, &method, &level, 1) == UNZ_OK)
            stored = std::to_string(method) + "/" + std::to_string(info.crc) + "/" +
                     std::to_string(info.uncompressed_size) + "/" + readOpenEntry(zip);
        unzClose(zip);
    }
    return stored;
}
