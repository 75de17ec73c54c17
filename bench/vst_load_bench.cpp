// Loads and saves while a host plays: Quorbel.so loaded with dlopen and
// driven through its VST 2 entry in blocks of 64 and 256 frames paced at real
// time, while a second thread hands it whole songs through effSetChunk, as a
// host does when the user opens a project during playback, and a second
// later takes the song back through effGetChunk, as a host saving its
// session does. For each block size it prints the worst block with nothing
// running beside it and while each song loads and is saved (the wall time of
// processReplacing, which is what the host waits for: a block that waits for
// the song lock uses no processor time), and, from an engine in this process
// loading the same chunks as the chunk does, how long each load held the
// song lock, and how long a save's copy of the song holds it: the copy in
// one take, and the longest of the turns a save takes it in.
//
//   vst_load_bench [--seconds S] [--loads N] [--plugin LIBRARY]
//
// The songs are made here: "32 channels" (8 patterns of 64 rows, a note of a
// looped sample on every fourth row of 32 channels) and "20 full patterns"
// (64 channels x 256 rows, every cell holding a note, an instrument, a volume
// and an effect; its instrument has no audio, so that playing it costs the
// row steps but little mixing). The host starts its transport again after
// each load, so that the new song plays on.
#include "bench/vst_bench_host.h"
#include "engine/engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using vst_bench::hostTime;
using vst_bench::kRate;
using vst_bench::readFile;
using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A folder of this run's own for the songs' files.
class Scratch {
public:
    Scratch()
    {
        char folder[] = "/tmp/vst_load_bench.XXXXXX";
        if (mkdtemp(folder))
            folder_ = folder;
    }
    ~Scratch()
    {
        for (const std::string& path : made_)
            std::remove(path.c_str());
        if (!folder_.empty())
            rmdir(folder_.c_str());
    }
    std::string path(const char* name)
    {
        made_.push_back(folder_ + "/" + name);
        return made_.back();
    }

private:
    std::string folder_;
    std::vector<std::string> made_;
};

void giveLoopedSample(TesselSample& sample)
{
    constexpr int frames = 4410;
    constexpr int guard = 6;
    if (!sample.audio.allocate(1, frames + guard))
        return;
    for (int f = 0; f < frames; ++f)
        sample.audio.buffers[0][f] = static_cast<float>(8000.0 * std::sin(f * 2.0 * M_PI * 441.0 / kRate));
    sample.audio.holdFrom(frames - 1);
    sample.length = frames;
    sample.channels = 1;
    sample.bits = 16;
    sample.speed = kRate;
    sample.pitch = 60;
    sample.loop.type = 1;
    sample.loop.setBegin(0);
    sample.loop.setEnd(frames);
}

void fillCell(TesselModule& song, int pattern, int channel, int row, int instrument, bool effect)
{
    TesselRow& cell = song.patterns[static_cast<size_t>(pattern)].tracks.getTrack(channel).getRow(row);
    cell.pitch = static_cast<int16_t>(36 + (channel * 5 + row) % 48);
    cell.instrument = static_cast<int16_t>(instrument);
    cell.volume = static_cast<int16_t>(16 + (channel + row) % 48);
    if (effect) {
        cell.effect.command = 'D';
        cell.effect.parameter = 0x01;
    }
}

// The module file of each song, as the plug-in's chunk holds it.
struct Songs {
    std::string channels32;
    std::string fullPatterns;
};

Songs makeSongs(Scratch& scratch)
{
    Songs songs;
    TesselEngine engine;
    if (!engine.usable())
        return songs;
    TesselModule& song = engine.song;
    auto save = [&](const char* name, std::string& chunk) {
        std::string path = scratch.path(name);
        if (engine.saveModule(path))
            chunk = readFile(path);
    };

    giveLoopedSample(song.samples[0]);
    for (int p = 0; p < 8; ++p) {
        song.patterns[static_cast<size_t>(p)].tracks.setLength(64);
        song.orderList.entries[static_cast<size_t>(p)].pattern = p;
        for (int c = 0; c < 32; ++c)
            for (int row = (c / 8) % 4; row < 64; row += 4)
                fillCell(song, p, c, row, 1, false);
    }
    song.orderList.updateLength();
    save("channels32.zip", songs.channels32);

    engine.newSong();
    for (int p = 0; p < 20; ++p) {
        song.patterns[static_cast<size_t>(p)].tracks.setLength(256);
        song.orderList.entries[static_cast<size_t>(p)].pattern = p;
        for (int c = 0; c < kChannels; ++c)
            for (int row = 0; row < 256; ++row)
                fillCell(song, p, c, row, 2, true);
    }
    song.orderList.updateLength();
    save("full20.zip", songs.fullPatterns);
    return songs;
}

struct Block {
    Clock::time_point start;
    double milliseconds;
};

struct Load {
    int song;   // 0 = 32 channels, 1 = 20 full patterns
    Clock::time_point start;
    Clock::time_point end;
    bool loaded;   // for a save: a chunk came back
    bool save = false;
};

const char* const kSongNames[2] = {"32 channels", "20 full patterns"};

// The worst block that overlaps the load (or, for null, no load at all); -1
// when none does (a load that ends between two blocks delays neither).
double worstBlock(const std::vector<Block>& blocks, const std::vector<Load>& loads, const Load* only)
{
    double worst = -1.0;
    for (const Block& b : blocks) {
        const auto end = b.start + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double, std::milli>(b.milliseconds));
        const auto overlaps = [&](const Load& l) { return b.start < l.end && l.start < end; };
        const bool inLoad = std::any_of(loads.begin(), loads.end(), overlaps);
        if (only ? overlaps(*only) : !inLoad)
            worst = std::max(worst, b.milliseconds);
    }
    return worst;
}

// How long one load held the song lock on an engine of this process, loading
// the chunk as the plug-in's setChunk does: the engine's load, which puts the
// song in place (timed by the engine itself), then the song taken over under
// the lock (timed here). Negative when the song did not load.
struct LockHolds {
    double swap = -1.0;
    double apply = -1.0;
};

LockHolds loadHoldingLock(TesselEngine& engine, const std::string& path)
{
    LockHolds holds;
    if (engine.loadModule(path) < 2)
        return holds;
    holds.swap = 1e3 * engine.lastSwapLockSeconds();
    platform::MutexLock held(engine.song.songLock(), kEditLockWaitMs);
    const Clock::time_point start = Clock::now();
    if (held)
        engine.applyLoadedSong();
    holds.apply = millisecondsBetween(start, Clock::now());
    return holds;
}

// How long a save's copy of the song holds the song lock: the whole copy in
// one take, and the longest of the turns the save takes (the settings and
// channels; then a sample, an instrument, or one track of one pattern each).
struct SaveHolds {
    double whole = 0.0;
    double longestTurn = 0.0;
};

SaveHolds saveCopyHoldingLock(TesselEngine& engine)
{
    SaveHolds holds;
    TesselModule& song = engine.song;
    {
        auto copy = std::make_unique<TesselModule>(&engine);
        const Clock::time_point start = Clock::now();
        copy->copySongFrom(song);
        holds.whole = millisecondsBetween(start, Clock::now());
    }
    auto copy = std::make_unique<TesselModule>(&engine);
    Clock::time_point start = Clock::now();
    const auto timed = [&](auto part) {
        start = Clock::now();
        part();
        holds.longestTurn = std::max(holds.longestTurn, millisecondsBetween(start, Clock::now()));
    };
    timed([&] { copy->copyOutlineFrom(song); });
    for (size_t i = 0; i < song.samples.size(); ++i)
        timed([&] { copy->copySampleFrom(song, i); });
    for (size_t i = 0; i < song.instruments.size(); ++i)
        timed([&] { copy->copyInstrumentFrom(song, i); });
    for (size_t p = 0; p < song.patterns.size(); ++p)
        for (int track = 0; track < kChannels; ++track) {
            start = Clock::now();
            if (track == 0)
                copy->patterns[p].assignOutline(song.patterns[p]);
            copy->patterns[p].tracks.assignTrack(track, song.patterns[p].tracks);
            holds.longestTurn = std::max(holds.longestTurn, millisecondsBetween(start, Clock::now()));
        }
    return holds;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 12.0;
    int loadsPerSong = 3;
    const char* plugin = QB_PLUGIN_LIBRARY;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--loads") == 0)
            loadsPerSong = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--plugin") == 0)
            plugin = argv[i + 1];
    }

    Scratch scratch;
    const Songs songs = makeSongs(scratch);
    if (songs.channels32.empty() || songs.fullPatterns.empty()) {
        std::fprintf(stderr, "vst_load_bench: the songs could not be made\n");
        return 1;
    }
    const std::string* const chunks[2] = {&songs.channels32, &songs.fullPatterns};
    std::printf("songs: 32 channels %zu bytes, 20 full patterns %zu bytes\n", songs.channels32.size(),
                songs.fullPatterns.size());

    void* library = dlopen(plugin, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "vst_load_bench: %s\n", dlerror());
        return 1;
    }
    AEffect* effect = vst_bench::makeEffect(library);
    if (!effect) {
        std::fprintf(stderr, "vst_load_bench: the library made no effect\n");
        return 1;
    }
    auto dispatch = [effect](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                             float opt = 0.0f) { return effect->dispatcher(effect, opcode, index, value, ptr, opt); };
    auto setChunk = [&dispatch](std::string bytes) {
        return dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data()) == 2;
    };
    hostTime.sampleRate = kRate;
    hostTime.tempo = 120.0;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, kRate);

    std::vector<float> left(16384);
    std::vector<float> right(16384);
    for (const int block : {64, 256}) {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effSetBlockSize, 0, block);
        dispatch(effMainsChanged, 0, 1);
        if (!setChunk(songs.channels32)) {
            std::fprintf(stderr, "vst_load_bench: the plug-in refused the song\n");
            return 1;
        }
        std::atomic<bool> restart{true};
        std::atomic<bool> loading{true};
        std::vector<Load> loads;
        // Songs alternate, a second apart, starting a second into playback.
        std::thread loader([&] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            for (int n = 0; n < 2 * loadsPerSong; ++n) {
                const int song = (n + 1) % 2;
                Load load{song, Clock::now(), {}, false};
                load.loaded = setChunk(*chunks[song]);
                load.end = Clock::now();
                loads.push_back(load);
                restart = true;
                std::this_thread::sleep_for(std::chrono::seconds(1));
                Load save{song, Clock::now(), {}, false, true};
                void* data = nullptr;
                save.loaded = dispatch(effGetChunk, 0, 0, &data) > 0 && data;
                save.end = Clock::now();
                loads.push_back(save);
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            }
            loading = false;
        });

        std::vector<Block> blocks;
        blocks.reserve(static_cast<size_t>(seconds * kRate / block) + 1000);
        timespec next{};
        clock_gettime(CLOCK_MONOTONIC, &next);
        const long period = static_cast<long>(1e9 * block / kRate);
        const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                         std::chrono::duration<double>(seconds));
        while (loading || Clock::now() < end) {
            if (restart.exchange(false)) {
                hostTime.samplePos = 0.0;
                hostTime.ppqPos = 0.0;
                hostTime.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
            }
            float* outputs[2] = {left.data(), right.data()};
            const Clock::time_point before = Clock::now();
            effect->processReplacing(effect, nullptr, outputs, block);
            blocks.push_back(Block{before, millisecondsBetween(before, Clock::now())});
            hostTime.flags &= ~kVstTransportChanged;
            hostTime.samplePos += block;
            hostTime.ppqPos = hostTime.samplePos / kRate * hostTime.tempo / 60.0;
            next.tv_nsec += period;
            while (next.tv_nsec >= 1000000000L) {
                next.tv_nsec -= 1000000000L;
                ++next.tv_sec;
            }
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        }
        loader.join();
        hostTime.flags = kVstTransportChanged | kVstTempoValid;

        std::printf("block %4d (period %.2f ms): %zu blocks, worst with no load %.2f ms\n", block,
                    1e3 * block / kRate, blocks.size(), worstBlock(blocks, loads, nullptr));
        for (int row = 0; row < 4; ++row) {
            const int song = row % 2;
            const bool saving = row >= 2;
            double worst = 0.0;
            std::printf("  while %s %-16s worst block", saving ? "saving " : "loading", kSongNames[song]);
            for (const Load& load : loads) {
                if (load.song != song || load.save != saving)
                    continue;
                const double w = worstBlock(blocks, loads, &load);
                worst = std::max(worst, w);
                if (w < 0.0)
                    std::printf(" (none in %.2f ms)", millisecondsBetween(load.start, load.end));
                else
                    std::printf(" %.2f", w);
                if (!load.loaded)
                    std::printf(" (refused)");
                if (saving)
                    std::printf(" (in %.0f)", millisecondsBetween(load.start, load.end));
            }
            std::printf(" ms; worst of all %.2f ms\n", worst);
        }
    }
    dispatch(effClose);
    dlclose(library);

    // The lock's share of each load, on an engine of this process.
    TesselEngine engine;
    if (!engine.usable())
        return 1;
    const std::string paths[2] = {scratch.path("chunk32.zip"), scratch.path("chunkfull.zip")};
    for (int song = 0; song < 2; ++song)
        if (!writeFile(paths[song], *chunks[song]))
            return 1;
    for (int song = 0; song < 2; ++song) {
        std::printf("song lock held while loading %-16s (put in place + taken over):", kSongNames[song]);
        for (int n = 0; n < loadsPerSong; ++n) {
            loadHoldingLock(engine, paths[1 - song]);   // the other song is in place before each load
            const LockHolds holds = loadHoldingLock(engine, paths[song]);
            std::printf(" %.3f + %.3f", holds.swap, holds.apply);
        }
        std::printf(" ms\n");
    }
    for (int song = 0; song < 2; ++song) {
        if (engine.loadModule(paths[song]) < 2)
            return 1;
        std::printf("song lock held while saving %-16s (the copy in one take; the longest turn):", kSongNames[song]);
        for (int n = 0; n < loadsPerSong; ++n) {
            const SaveHolds holds = saveCopyHoldingLock(engine);
            std::printf(" %.3f; %.3f", holds.whole, holds.longestTurn);
        }
        std::printf(" ms\n");
    }
    return 0;
}
