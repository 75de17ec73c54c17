// MOD importer: any image imports or is refused, inside its bounds.

#include "model/mod_import.h"
#include "model/module.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    static TesselModule song;
    const int result = importMod(data, size, song);
    if (result != kImportLoaded && result != kImportUnreadable)
        __builtin_trap();
    for (const TesselSample& sample : song.samples)
        if (sample.length < 0 || static_cast<size_t>(sample.length) > size || sample.loop.end > sample.length)
            __builtin_trap();
    return 0;
}
