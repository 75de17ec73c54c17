// The plug-in as a host runs it: Quorbel.so loaded with dlopen and driven
// through its VST 2 entry. Prints its start-up (dlopen to effEditOpen, with
// the editor on the X display named by DISPLAY; without one, to the last
// call before it) and, for blocks of 64 and 256 frames paced at real time,
// the processor time of each processReplacing call: mean, 99.9th percentile
// and the worst block, beside libopenmpt (linear interpolation) reading the
// same song in blocks of the same size in the same run, in alternating turns.
//
//   vst_block_bench MODULE [--seconds S] [--plugin LIBRARY] [--block FRAMES] [--profile CPU_SECONDS]
//
// --plugin loads another build of the library, e.g. an older one to compare;
// --block measures that one block size only, e.g. under a profiler.
// --profile runs the plug-in's blocks alone, unpaced, for that much processor
// time, the host going back to the song's start every minute of song: a
// steady run for perf (scripts/audio-path-order.sh).
//
// The song is taken in through the engine's import and handed to the
// plug-in as its chunk, as a host restores a saved project.
#include "bench/vst_bench_host.h"
#include "engine/engine.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using vst_bench::hostTime;
using vst_bench::kRate;
using vst_bench::readFile;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The engine's own module file of the song, as the plug-in's chunk holds it.
std::string songChunk(const std::string& module)
{
    TesselEngine engine;
    if (!engine.usable() || engine.loadModule(module) < 1)
        return {};
    char folder[] = "/tmp/vst_block_bench.XXXXXX";
    if (!mkdtemp(folder))
        return {};
    std::string path = std::string(folder) + "/song";
    std::string chunk;
    if (engine.saveModule(path))
        chunk = readFile(path);
    std::remove(path.c_str());
    rmdir(folder);
    return chunk;
}

struct BlockTimes {
    std::vector<double> seconds;   // processor time of each block

    double mean() const
    {
        double sum = 0.0;
        for (double s : seconds)
            sum += s;
        return seconds.empty() ? 0.0 : sum / static_cast<double>(seconds.size());
    }
    // The time that all but the slowest thousandth of the blocks stay within (q 0.999), or the worst (q 1).
    double quantile(double q) const
    {
        if (seconds.empty())
            return 0.0;
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        const auto at = static_cast<size_t>(q * static_cast<double>(sorted.size() - 1));
        return sorted[at];
    }
    void print(const char* who, int block) const
    {
        std::printf("%-10s block %4d: %6zu blocks, mean %8.2f us, 99.9%% %8.2f us, worst %8.2f us\n", who, block,
                    seconds.size(), mean() * 1e6, quantile(0.999) * 1e6, quantile(1.0) * 1e6);
    }
};

// Calls render() once per block period of wall time, timing each call into
// `times`; false when render() had no more to give. What the host does
// around the block (its transport, the meter) comes after, untimed.
template <typename Render, typename After>
bool paced(int block, int blocks, BlockTimes& times, Render render, After after)
{
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const long period = static_cast<long>(1e9 * block / kRate);
    for (int b = 0; b < blocks; ++b) {
        const double before = threadSeconds();
        if (!render())
            return false;
        times.seconds.push_back(threadSeconds() - before);
        after();
        next.tv_nsec += period;
        while (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
    return true;
}

// The two players take turns of half a second each, so that what else the
// machine runs meanwhile weighs on both alike.
template <typename Ours, typename AfterOurs, typename Reference>
void inTurns(int block, int blocks, BlockTimes& ours, BlockTimes& reference, Ours renderOurs, AfterOurs afterOurs,
             Reference renderReference)
{
    const int turn = std::max(1, kRate / 2 / block);
    ours.seconds.reserve(static_cast<size_t>(blocks));
    reference.seconds.reserve(static_cast<size_t>(blocks));
    for (int done = 0; done < blocks; done += turn) {
        const int n = std::min(turn, blocks - done);
        if (!paced(block, n, ours, renderOurs, afterOurs) || !paced(block, n, reference, renderReference, [] {}))
            break;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: vst_block_bench MODULE [--seconds S] [--plugin LIBRARY] [--block FRAMES]\n");
        return 2;
    }
    const std::string module = argv[1];
    double seconds = 10.0;
    const char* plugin = QB_PLUGIN_LIBRARY;
    std::vector<int> blockSizes = {64, 256};
    double profileSeconds = 0.0;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--plugin") == 0)
            plugin = argv[i + 1];
        else if (std::strcmp(argv[i], "--profile") == 0)
            profileSeconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--block") == 0)
            blockSizes = {std::clamp(std::atoi(argv[i + 1]), 1, 16384)};
    }

    // Start-up first, before anything else in the process warms up.
    const auto start = std::chrono::steady_clock::now();
    void* library = dlopen(plugin, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "vst_block_bench: %s\n", dlerror());
        return 1;
    }
    const double loaded = millisecondsSince(start);
    AEffect* effect = vst_bench::makeEffect(library);
    if (!effect) {
        std::fprintf(stderr, "vst_block_bench: the library made no effect\n");
        return 1;
    }
    auto dispatch = [effect](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                             float opt = 0.0f) { return effect->dispatcher(effect, opcode, index, value, ptr, opt); };
    hostTime.sampleRate = kRate;
    hostTime.tempo = 120.0;
    hostTime.flags = kVstTempoValid;
    const double made = millisecondsSince(start);
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    dispatch(effSetBlockSize, 0, 64);
    dispatch(effMainsChanged, 0, 1);
    const double opened = millisecondsSince(start);
    const bool display = std::getenv("DISPLAY") != nullptr;
    const bool editor = display && dispatch(effEditOpen) == 1;
    const double edited = millisecondsSince(start);
    std::printf("startup: dlopen %.1f ms, main %.1f ms, effOpen to effMainsChanged %.1f ms, effEditOpen %s, "
                "total %.1f ms\n",
                loaded, made - loaded, opened - made, editor ? "opened" : display ? "failed" : "skipped (no DISPLAY)",
                edited);
    if (editor)
        dispatch(effEditClose);

    const std::string chunk = songChunk(module);
    const std::string bytes = readFile(module);
    if (chunk.empty() || bytes.empty()) {
        std::fprintf(stderr, "vst_block_bench: %s did not load\n", module.c_str());
        return 1;
    }
    std::vector<float> left(16384);
    std::vector<float> right(16384);
    if (profileSeconds > 0.0) {
        const int block = blockSizes.front();
        dispatch(effSetBlockSize, 0, block);
        std::string copy = chunk;
        dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data());
        const auto songMinute = static_cast<long>(60 * kRate / block);
        const double end = threadSeconds() + profileSeconds;
        long blocks = 0;
        for (; threadSeconds() < end; ++blocks) {
            if (blocks % songMinute == 0) {
                hostTime.samplePos = 0.0;
                hostTime.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
            }
            float* outputs[2] = {left.data(), right.data()};
            effect->processReplacing(effect, nullptr, outputs, block);
            hostTime.flags &= ~kVstTransportChanged;
            hostTime.samplePos += block;
            hostTime.ppqPos = hostTime.samplePos / kRate * hostTime.tempo / 60.0;
        }
        std::printf("profile: %ld blocks of %d frames\n", blocks, block);
        blockSizes.clear();
    }
    for (int block : blockSizes) {
        const int blocks = static_cast<int>(seconds * kRate / block);
        dispatch(effMainsChanged, 0, 0);
        dispatch(effSetBlockSize, 0, block);
        dispatch(effMainsChanged, 0, 1);
        std::string copy = chunk;
        if (dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data()) != 2) {
            std::fprintf(stderr, "vst_block_bench: the plug-in refused the song\n");
            return 1;
        }
        hostTime.samplePos = 0.0;
        hostTime.ppqPos = 0.0;
        hostTime.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
        openmpt_module* mod =
            openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr);
        if (!mod)
            return 1;
        openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 2);   // linear
        float peak = 0.0f;
        BlockTimes ours;
        BlockTimes reference;
        inTurns(
            block, blocks, ours, reference,
            [&] {
                float* outputs[2] = {left.data(), right.data()};
                effect->processReplacing(effect, nullptr, outputs, block);
                return true;
            },
            [&] {
                hostTime.flags &= ~kVstTransportChanged;
                hostTime.samplePos += block;
                hostTime.ppqPos = hostTime.samplePos / kRate * hostTime.tempo / 60.0;
                for (int i = 0; i < block; ++i)
                    peak = std::max(peak, std::fabs(left[static_cast<size_t>(i)]));
            },
            [&] {
                return openmpt_module_read_float_stereo(mod, kRate, static_cast<size_t>(block), left.data(),
                                                        right.data()) > 0;
            });
        hostTime.flags = kVstTransportChanged | kVstTempoValid;
        openmpt_module_destroy(mod);

        ours.print("Quorbel", block);
        reference.print("libopenmpt", block);
        std::printf("block %4d: ours / libopenmpt: mean %.3f, 99.9%% %.3f (peak of ours %.3f)\n", block,
                    ours.mean() / reference.mean(), ours.quantile(0.999) / reference.quantile(0.999), peak);
    }
    dispatch(effClose);
    dlclose(library);
    return 0;
}
