// getChunk as a host calls it while it saves its session: Quorbel.so loaded
// with dlopen, a full song handed in with effSetChunk, then effGetChunk
// timed. Beside it, in the same run, the reference: zlib's deflate at the
// module file's level (9) of the song's document text alone, which any save
// of the song has to do at least once.
//
//   chunk_save_bench [--plugin LIBRARY] [--rounds N]
//
// Two songs, every cell filled (note, instrument, volume, panning and an
// effect): 32 channels x 20 patterns of 64 rows, and 64 channels x 20
// patterns of 256 rows. Also printed: how long the save's copy of the song
// takes (what it holds the song lock for, and so may keep a block waiting)
// and how long writing the document into memory takes (the part of a save
// that no other thread shares). --plugin loads another build of the
// library, e.g. one built from an older tree, to compare.
#include "bench/vst_bench_host.h"
#include "engine/engine.h"
#include "engine/song_files/song_snapshot.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct SongShape {
    const char* name;
    int channels;
    int patterns;
    int rows;
};

void fillSong(TesselModule& song, const SongShape& shape)
{
    for (int p = 0; p < shape.patterns; ++p) {
        TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
        pattern.setLength(shape.rows);
        for (int c = 0; c < shape.channels; ++c) {
            TesselTrack& track = pattern.tracks.getTrack(c);
            for (int r = 0; r < shape.rows; ++r) {
                TesselRow& row = track.getRow(r);
                row.pitch = static_cast<int16_t>(24 + (p + c + r) % 72);
                row.instrument = static_cast<int16_t>(1 + (c + r) % 9);
                row.volume = static_cast<int16_t>((r * 7 + c) % 65);
                row.panning = static_cast<int16_t>((r * 3 + p) % 65);
                row.effect.command = static_cast<char>('A' + (r + c) % 20);
                row.effect.parameter = static_cast<int16_t>((r * 11 + c * 5) % 256);
            }
        }
        song.orderList.entries[static_cast<size_t>(p)].pattern = p;
    }
}

// The song's module file as the chunk holds it, its document text alone, and
// the times of the save's copy of the song and of writing its document.
bool makeSong(const SongShape& shape, std::string& chunk, std::string& document, double& copySeconds,
              double& writeSeconds)
{
    TesselEngine engine;
    if (!engine.usable())
        return false;
    fillSong(engine.song, shape);
    {
        auto copy = std::make_unique<TesselModule>(&engine);
        const auto start = std::chrono::steady_clock::now();
        snapshotSong(engine.song, *copy, editLockWaitMs);
        copySeconds = secondsSince(start);
    }
    char folder[] = "/tmp/chunk_save_bench.XXXXXX";
    if (!mkdtemp(folder))
        return false;
    std::string path = std::string(folder) + "/song.zip";
    if (engine.saveModule(path))
        chunk = vst_bench::readFile(path);
    std::remove(path.c_str());
    char* text = nullptr;
    size_t size = 0;
    if (FILE* memory = open_memstream(&text, &size)) {
        const auto start = std::chrono::steady_clock::now();
        engine.song.writeXml(memory, path, false);
        std::fclose(memory);
        writeSeconds = secondsSince(start);
        document.assign(text, size);
        std::free(text);
    }
    rmdir(folder);
    return !chunk.empty() && !document.empty();
}

double deflateSeconds(const std::string& document)
{
    std::vector<Bytef> out(compressBound(static_cast<uLong>(document.size())));
    uLongf outSize = static_cast<uLongf>(out.size());
    const auto start = std::chrono::steady_clock::now();
    compress2(out.data(), &outSize, reinterpret_cast<const Bytef*>(document.data()),
              static_cast<uLong>(document.size()), 9);
    return secondsSince(start);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const char* plugin = QB_PLUGIN_LIBRARY;
    int rounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--plugin") == 0)
            plugin = argv[i + 1];
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    void* library = dlopen(plugin, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "chunk_save_bench: %s\n", dlerror());
        return 1;
    }
    AEffect* effect = vst_bench::makeEffect(library);
    if (!effect) {
        std::fprintf(stderr, "chunk_save_bench: the library made no effect\n");
        return 1;
    }
    auto dispatch = [effect](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                             float opt = 0.0f) { return effect->dispatcher(effect, opcode, index, value, ptr, opt); };
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(vst_bench::kRate));
    dispatch(effSetBlockSize, 0, 512);
    dispatch(effMainsChanged, 0, 1);

    const SongShape shapes[] = {{"32 channels x 20 patterns x 64 rows", 32, 20, 64},
                                {"64 channels x 20 patterns x 256 rows", 64, 20, 256}};
    int status = 0;
    for (const SongShape& shape : shapes) {
        std::string chunk, document;
        double copySeconds = 0.0, writeSeconds = 0.0;
        if (!makeSong(shape, chunk, document, copySeconds, writeSeconds)) {
            std::fprintf(stderr, "chunk_save_bench: could not make the song %s\n", shape.name);
            return 1;
        }
        if (dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) != 2) {
            std::fprintf(stderr, "chunk_save_bench: the plug-in refused the song %s\n", shape.name);
            return 1;
        }
        std::vector<double> ours, reference;
        VstIntPtr size = 0;
        for (int round = 0; round < rounds; ++round) {
            reference.push_back(deflateSeconds(document));
            void* data = nullptr;
            const auto start = std::chrono::steady_clock::now();
            size = dispatch(effGetChunk, 0, 0, &data);
            ours.push_back(secondsSince(start));
            if (size <= 0 || !data)
                status = 1;
        }
        const double mine = median(ours), theirs = median(reference);
        std::printf("%s: document %.1f MB, chunk %.1f MB; getChunk %.3f s, deflate of the document %.3f s, "
                    "ratio %.2f; the song's copy (in turns of a track under the lock) %.1f ms, its document in memory %.1f ms\n",
                    shape.name, static_cast<double>(document.size()) / 1e6, static_cast<double>(size) / 1e6, mine,
                    theirs, theirs > 0.0 ? mine / theirs : 0.0, copySeconds * 1e3, writeSeconds * 1e3);
    }
    dispatch(effMainsChanged, 0, 0);
    dispatch(effClose);
    return status;
}
