// The mixing pass: voice-frames per second for 1, 4, 16 and 64 voices on a
// looped mono sample (16-bit or float data), filter off or on, into a stereo
// block of 512 frames, by the plain per-voice render (path 0) and the direct
// path (path 1). Arguments: (voices, bits, filter, path).
#include "engine/engine.h"
#include "engine/pool.h"
#include "engine/tables.h"
#include "engine/vector/vector.h"
#include "engine/voice/voice_direct.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr int kBlock = 512;
constexpr int kSampleFrames = 44100;

void fill(TesselSample& sample, int bits)
{
    sample.audio.allocate(1, kSampleFrames + 6);
    const float scale = bits == 32 ? 0.5f : 32767.0f;
    for (int f = 0; f < kSampleFrames + 6; ++f)
        sample.audio.buffers[0][f] = scale * std::sin(static_cast<float>(f) * 0.031f);
    sample.length = kSampleFrames;
    sample.channels = 1;
    sample.bits = bits;
    sample.loop.type = 1;
    sample.loop.setBegin(1000);
    sample.loop.setEnd(44000);
}

void mixVoices(benchmark::State& state)
{
    const int voices = static_cast<int>(state.range(0));
    const int bits = static_cast<int>(state.range(1));
    const bool filtered = state.range(2) != 0;
    const TesselMixPath previous = setMixPath(state.range(3) ? TesselMixPath::Direct : TesselMixPath::Plain);
    fillTesselTables();
    vecSelectCpuLevel();
    if (!TesselPools::create()) {
        state.SkipWithError("no pools");
        return;
    }
    TesselSample sample;
    fill(sample, bits);
    auto lists = std::make_unique<std::array<TesselChannelVoiceList, kVoiceLists>>();
    auto out = std::make_unique<TesselBusBuffer>();
    out->frames = kBlock;
    out->requestedChannels = 2;
    for (int v = 0; v < voices; ++v) {
        TesselChannelVoiceList& list = (*lists)[static_cast<size_t>(v)];
        list.insert(nullptr, nullptr);
        TesselVoice& voice = *(list.head->voice = TesselPools::voices->acquire(nullptr));
        voice.sample = &sample;
        voice.position = 1000 + 300 * v;
        voice.fraction = 0.0f;
        voice.sustainState = 3;
        voice.ramp[0] = voice.ramp[2] = 0.5f;
        if (filtered) {
            voice.filter[0] = 0.3f;
            voice.filter[1] = 1.2f;
            voice.filter[2] = -0.5f;
        }
        TesselVoiceEvent event;
        event.gain0 = 0.5f;
        event.gain1 = 0.25f;
        event.pitch = 1.0f + 0.013f * static_cast<float>(v);
        event.end = kBlock;
        event.state = voice_state::kActive | voice_state::kSample;
        event.bus = 1;
        voice.appendEvent(event);
    }
    for (auto _ : state) {
        out->silence();
        benchmark::DoNotOptimize(TesselEngine::renderVoices(*lists, *out, kBlock));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * voices * kBlock);
    state.counters["voice_frames_per_s"] =
        benchmark::Counter(static_cast<double>(voices) * kBlock, benchmark::Counter::kIsIterationInvariantRate);
    lists.reset();
    TesselPools::destroy();
    setMixPath(previous);
}

} // namespace

BENCHMARK(mixVoices)
    ->ArgNames({"voices", "bits", "filter", "path"})
    ->ArgsProduct({{1, 4, 16, 64}, {16, 32}, {0, 1}, {0, 1}});
