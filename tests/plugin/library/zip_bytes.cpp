#include "library/zip_bytes.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

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

namespace {

// One MiB of zeros, deflated raw and ended by a full flush: the piece starts
// from an empty history, so any number of copies in a row is a valid stream.
struct ZeroPiece {
    std::string piece;
    std::string finish;
    uint32_t crc = 0;
};

ZeroPiece deflatedZeroMiB()
{
    ZeroPiece result;
    std::string zeros(size_t{1} << 20, '\0');
    result.crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(zeros.data()),
                                             static_cast<uInt>(zeros.size())));
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(zeros.size(), '\0');
    auto run = [&](const char* in, size_t n, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
        stream.avail_in = static_cast<uInt>(n);
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        return out.substr(0, out.size() - stream.avail_out);
    };
    result.piece = run(zeros.data(), zeros.size(), Z_FULL_FLUSH);
    result.finish = run(nullptr, 0, Z_FINISH);
    deflateEnd(&stream);
    return result;
}

} // namespace

std::string zipWithZeroEntry(const std::vector<std::pair<std::string, std::string>>& entries, const char* name,
                             uint64_t zeros)
{
    const ScratchFolder folder;
    const std::string path = folder.write("chunk.zip", zipOfEntries(entries));
    const ZeroPiece zero = deflatedZeroMiB();
    const uint64_t pieces = zeros >> 20;
    uLong crc = 0;
    for (uint64_t i = 0; i < pieces; ++i)
        crc = crc32_combine(crc, zero.crc, 1 << 20);
    if (zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_ADDINZIP)) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip2(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1) == ZIP_OK) {
            for (uint64_t i = 0; i < pieces; ++i)
                zipWriteInFileInZip(zip, zero.piece.data(), static_cast<unsigned>(zero.piece.size()));
            zipWriteInFileInZip(zip, zero.finish.data(), static_cast<unsigned>(zero.finish.size()));
            zipCloseFileInZipRaw(zip, static_cast<uLong>(pieces << 20), crc);
        }
        zipClose(zip, nullptr);
    }
    return readWholeFile(path);
}

std::string zipOfOneEntry(const char* entryName, const std::string& content)
{
    return zipOfEntries({{entryName, content}});
}
