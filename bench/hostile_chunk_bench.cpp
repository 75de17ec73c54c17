// Damaged and hostile chunks through the plug-in's VST 2 entry: for each
// case, a process of its own loads Quorbel.so with dlopen, hands it the chunk
// (effSetChunk) and takes it back (effGetChunk); printed are the answer, the
// time of both calls and the process's peak resident size. Beside each
// hostile chunk stands a real song of about the same size or entries, run
// the same way, and the hostile case's times as a ratio to it.
//
//   hostile_chunk_bench [--plugin LIBRARY] [--case N]
//
// --plugin runs another build of the library, e.g. an older one to compare;
// --case runs the N-th case (1 to 4) only.
#include "library/song_bytes.h"
#include "library/zip_bytes.h"
#include "vst2/effect_record.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : (opcode == audioMasterGetSampleRate ? 44100 : 0);
}

struct Measure {
    long setAnswer = -1;
    double setSeconds = 0.0;
    long getSize = 0;
    double getSeconds = 0.0;
    long peakKiB = 0;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// In the child: the chunk in and out through the entry.
Measure runChunk(const char* plugin, std::string chunk)
{
    Measure m;
    void* library = dlopen(plugin, RTLD_NOW | RTLD_LOCAL);
    using Main = AEffect* (*)(audioMasterCallback);
    auto entry = library ? reinterpret_cast<Main>(dlsym(library, "main")) : nullptr;
    AEffect* effect = entry ? entry(hostCallback) : nullptr;
    if (!effect)
        return m;
    auto dispatch = [effect](VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    };
    dispatch(effOpen);
    auto start = std::chrono::steady_clock::now();
    m.setAnswer = static_cast<long>(dispatch(effSetChunk, static_cast<VstIntPtr>(chunk.size()), chunk.data()));
    m.setSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    void* data = nullptr;
    m.getSize = static_cast<long>(dispatch(effGetChunk, 0, &data));
    m.getSeconds = secondsSince(start);
    dispatch(effClose);
    return m;
}

// The case in a process of its own, so that its peak size is its own.
Measure measure(const char* plugin, const std::string& chunk)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const Measure m = runChunk(plugin, chunk);
        if (write(pipeEnds[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) {}
        _exit(0);
    }
    close(pipeEnds[1]);
    Measure m;
    if (read(pipeEnds[0], &m, sizeof m) != static_cast<ssize_t>(sizeof m))
        m = Measure{};
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    m.peakKiB = usage.ru_maxrss;
    return m;
}

void report(const char* plugin, const char* name, const std::string& hostile, const std::string& reference)
{
    const Measure h = measure(plugin, hostile);
    const Measure r = measure(plugin, reference);
    std::printf("%s\n  hostile   %8.0f KB: setChunk %ld in %6.3f s, getChunk %ld B in %6.3f s, peak %7.1f MB\n",
                name, hostile.size() / 1000.0, h.setAnswer, h.setSeconds, h.getSize, h.getSeconds, h.peakKiB / 1024.0);
    std::printf("  reference %8.0f KB: setChunk %ld in %6.3f s, getChunk %ld B in %6.3f s, peak %7.1f MB\n",
                reference.size() / 1000.0, r.setAnswer, r.setSeconds, r.getSize, r.getSeconds, r.peakKiB / 1024.0);
    std::printf("  hostile / reference: setChunk %.1f, getChunk %.1f, peak %.2f\n", h.setSeconds / r.setSeconds,
                h.getSeconds / r.getSeconds, static_cast<double>(h.peakKiB) / static_cast<double>(r.peakKiB));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const char* plugin = QB_PLUGIN_LIBRARY;
    int only = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--plugin") == 0)
            plugin = argv[i + 1];
        else if (std::strcmp(argv[i], "--case") == 0)
            only = std::atoi(argv[i + 1]);
    }
    auto wanted = [only](int n) { return only == 0 || only == n; };

    // Each chunk is made before its case runs, and nothing else is held: a
    // forked child's peak counts the parent's pages too.
    constexpr uint32_t kFourMiB = 4u << 20;
    std::string hostile;
    std::string reference;
    if (wanted(1)) {
        hostile = zipOfEntries(samplesAndDocument(99, silentWav8(kFourMiB - 44)));
        reference = zipOfEntries(samplesAndDocument(99, noiseWav(1100)));
        report(plugin, "99 samples, each a 4 MiB 8-bit WAV of silence", hostile, reference);
    }
    if (wanted(2)) {
        hostile = zipWithRepeatedEntry({}, "Module.xml", sparseText(26), 900);
        reference = zipOfEntries(samplesAndDocument(20, noiseWav(105000)));
        report(plugin, "\"Module.xml\" inflating to 900 MiB", hostile, reference);
    }
    for (int samples : {20, 99}) {
        if (!wanted(samples == 20 ? 3 : 4))
            continue;
        hostile = zipWithExtraFields(samplesAndDocument(samples, noiseWav(1000)), 65532);
        reference = zipOfEntries(samplesAndDocument(samples, noiseWav(1000)));
        const std::string name = std::to_string(samples) + " samples, 64 KB extra fields of empty headers";
        report(plugin, name.c_str(), hostile, reference);
    }
    return 0;
}
