#pragma once
// What every module importer promises for any input: a known result, and
// sample lengths and loops inside the bytes it was given.

#include "model/import/import_result.h"
#include "model/song/module.h"

#include <cstddef>
#include <cstdint>

template <typename Import>
int fuzzModuleImport(const uint8_t* data, size_t size, Import import)
{
    if (size > 1u << 20)
        return 0;
    static TesselModule song;
    const int result = import(data, size, song);
    if (result != kImportLoaded && result != kImportUnreadable)
        __builtin_trap();
    for (const TesselSample& sample : song.samples)
        if (sample.length < 0 || static_cast<size_t>(sample.length) > size || sample.loop.end > sample.length ||
            (sample.loop.type != 0 && sample.loop.end <= sample.loop.begin))
            __builtin_trap();
    return 0;
}
