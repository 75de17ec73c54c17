// Writing archives: bytes in memory added as a new entry, deflated at level 9
// on several threads. Each piece is its own raw deflate stream primed with
// the 32 KiB before it and ended by a sync flush (the last by the stream's
// end), so that the pieces laid end to end are one deflate stream; the
// entry is written raw with the whole input's CRC and size.

#include "model/zip/zip_helpers.h"

#include <minizip/zip.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <new>
#include <system_error>
#include <thread>
#include <vector>
#include <zlib.h>

namespace {

constexpr size_t kPieceSize = size_t{1} << 20;
constexpr size_t kWindow = size_t{1} << 15;
// Enough to bring a large song's save well under a second; more would only
// crowd the host's own threads.
constexpr unsigned kMostThreads = 8;

struct Piece {
    const Bytef* data = nullptr;
    size_t size = 0;
    const Bytef* dictionary = nullptr;
    size_t dictionarySize = 0;
    bool last = false;
    uLong crc = 0;
    std::vector<Bytef> deflated;
    bool ok = false;
};

void deflatePiece(Piece& piece)
{
    piece.crc = crc32(0L, piece.data, static_cast<uInt>(piece.size));
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    // Level 9's own settings but for a hash chain searched to 1024 instead of
    // 4096: on song documents, whose lines repeat with small changes, the
    // longer search finds nothing better (the same size to a thousandth) and
    // costs a quarter more time.
    deflateTune(&stream, 32, 258, 258, 1024);
    bool ok = !piece.dictionarySize ||
              deflateSetDictionary(&stream, piece.dictionary, static_cast<uInt>(piece.dictionarySize)) == Z_OK;
    // Room for the worst case and the flush's empty stored block; this runs
    // on a helper thread, where an exception would end the program.
    try {
        piece.deflated.resize(deflateBound(&stream, static_cast<uLong>(piece.size)) + 16);
    } catch (const std::bad_alloc&) {
        deflateEnd(&stream);
        return;
    }
    stream.next_in = const_cast<Bytef*>(piece.data);
    stream.avail_in = static_cast<uInt>(piece.size);
    stream.next_out = piece.deflated.data();
    stream.avail_out = static_cast<uInt>(piece.deflated.size());
    const int result = ok ? deflate(&stream, piece.last ? Z_FINISH : Z_SYNC_FLUSH) : Z_STREAM_ERROR;
    ok = ok && (piece.last ? result == Z_STREAM_END : result == Z_OK && stream.avail_in == 0);
    piece.deflated.resize(stream.total_out);
    deflateEnd(&stream);
    piece.ok = ok;
}

std::vector<Piece> deflatedPieces(const Bytef* data, size_t size)
{
    std::vector<Piece> pieces((size + kPieceSize - 1) / kPieceSize + (size == 0 ? 1 : 0));
    for (size_t i = 0; i < pieces.size(); ++i) {
        Piece& piece = pieces[i];
        const size_t start = i * kPieceSize;
        piece.data = data + start;
        piece.size = std::min(kPieceSize, size - start);
        piece.dictionarySize = std::min(kWindow, start);
        piece.dictionary = data + start - piece.dictionarySize;
        piece.last = i + 1 == pieces.size();
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next.fetch_add(1)) < pieces.size();)
            deflatePiece(pieces[i]);
    };
    const unsigned threadsHere = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
    const size_t helpers = std::min<size_t>(pieces.size(), threadsHere) - 1;
    std::vector<std::thread> threads;
    threads.reserve(helpers);
    for (size_t i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;   // fewer helpers: this thread takes the pieces left
        }
    }
    work();
    for (std::thread& thread : threads)
        thread.join();
    return pieces;
}

} // namespace

bool zipAddBuffer(const void* data, size_t size, const char* archivePath, const char* entryName)
{
    if (size > UINT32_MAX)
        return false;   // beyond what an entry without zip64 records can hold
    std::vector<Piece> pieces;
    try {
        pieces = deflatedPieces(static_cast<const Bytef*>(data), size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uLong crc = 0;
    for (const Piece& piece : pieces) {
        if (!piece.ok)
            return false;
        crc = crc32_combine(crc, piece.crc, static_cast<z_off_t>(piece.size));
    }

    zip_fileinfo entryInfo;
    std::memset(&entryInfo, 0, sizeof entryInfo);
    entryInfo.dosDate = dosTimeOf(std::time(nullptr));
    // An archive without entries is made anew: minizip cannot append to one.
    const bool append = fileExists(archivePath) && !zipIsEmptyArchive(archivePath);
    zipFile archive = zipOpen(archivePath, append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    bool ok = zipOpenNewFileInZip2(archive, entryName, &entryInfo, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9,
                                   1) == ZIP_OK;
    const bool opened = ok;
    for (const Piece& piece : pieces)
        ok = ok && zipWriteInFileInZip(archive, piece.deflated.data(), static_cast<unsigned>(piece.deflated.size())) ==
                       ZIP_OK;
    if (opened && zipCloseFileInZipRaw(archive, static_cast<uLong>(size), crc) != ZIP_OK)
        ok = false;
    if (zipClose(archive, nullptr) != ZIP_OK)
        ok = false;
    return ok;
}
