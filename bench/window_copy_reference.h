#pragma once
// The reference the pattern editor's benchmarks are read against: one 1:1
// copy of a whole window of the size they draw.

#include "platform/graphics/canvas.h"
#include "platform/graphics/image.h"

#include <benchmark/benchmark.h>

inline void copyWholeWindow(benchmark::State& state, int width, int height)
{
    const platform::Image source(width, height, platform::rgb(20, 30, 40));
    platform::Image target(width, height);
    platform::Canvas canvas(target);
    for (auto _ : state)
        canvas.copy(source, target.bounds(), {0, 0});
}
