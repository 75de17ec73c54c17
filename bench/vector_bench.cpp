// The vector primitives at each processor level against a plain loop.
// Argument pairs: (level, floats); level -1 is the plain loop.
#include "engine/vector/vector.h"
#include "engine/vector/vector_cpu.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

struct Arrays {
    explicit Arrays(int n)
        : a(static_cast<float*>(std::aligned_alloc(64, static_cast<size_t>(n) * 4 + 64))),
          b(static_cast<float*>(std::aligned_alloc(64, static_cast<size_t>(n) * 4 + 64))),
          dst(static_cast<float*>(std::aligned_alloc(64, static_cast<size_t>(n) * 4 + 64)))
    {
        for (int i = 0; i < n; ++i) {
            a[i] = static_cast<float>(i % 97) * 0.25f;
            b[i] = static_cast<float>(i % 89) * -0.5f;
            dst[i] = 0.0f;
        }
    }
    ~Arrays()
    {
        std::free(a);
        std::free(b);
        std::free(dst);
    }
    float* a;
    float* b;
    float* dst;
};

// Runs the body at the requested level; skips levels this processor lacks.
template <typename Vector, typename Plain>
void run(benchmark::State& state, Vector vector, Plain plain)
{
    const int level = static_cast<int>(state.range(0));
    const int n = static_cast<int>(state.range(1));
    if (level >= 0 && !vec::levelSupported(level)) {
        state.SkipWithError("level not supported here");
        return;
    }
    const int previous = vec::forceLevel(level < 0 ? 0 : level);
    Arrays arrays(n);
    for (auto _ : state) {
        if (level < 0)
            plain(arrays, n);
        else
            vector(arrays, n);
        benchmark::DoNotOptimize(arrays.dst);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(n) * 4);
    vec::forceLevel(previous);
}

void addArgs(benchmark::internal::Benchmark* b)
{
    for (int level = -1; level < vec::kLevels; ++level)
        for (int n : {64, 1024, 16384, 1 << 20})
            b->Args({level, n});
}

void BM_Add(benchmark::State& state)
{
    run(
        state, [](Arrays& x, int n) { vecAdd(x.a, x.b, x.dst, n); },
        [](Arrays& x, int n) {
            for (int i = 0; i < n; ++i)
                x.dst[i] = x.a[i] + x.b[i];
        });
}

void BM_Max(benchmark::State& state)
{
    run(
        state,
        [](Arrays& x, int n) {
            float r = 0.0f;
            vecMax(x.a, n, &r);
            x.dst[0] = r;
        },
        [](Arrays& x, int n) {
            float r = x.a[0];
            for (int i = 1; i < n; ++i)
                r = r > x.a[i] ? r : x.a[i];
            x.dst[0] = r;
        });
}

void BM_Copy(benchmark::State& state)
{
    run(
        state, [](Arrays& x, int n) { vecCopy(x.a, x.dst, n); },
        [](Arrays& x, int n) {
            for (int i = 0; i < n; ++i)
                x.dst[i] = x.a[i];
        });
}

void BM_Zero(benchmark::State& state)
{
    run(
        state, [](Arrays& x, int n) { vecZero(x.dst, n); },
        [](Arrays& x, int n) {
            for (int i = 0; i < n; ++i)
                x.dst[i] = 0.0f;
        });
}

} // namespace

BENCHMARK(BM_Add)->Apply(addArgs);
BENCHMARK(BM_Max)->Apply(addArgs);
BENCHMARK(BM_Copy)->Apply(addArgs);
BENCHMARK(BM_Zero)->Apply(addArgs);
