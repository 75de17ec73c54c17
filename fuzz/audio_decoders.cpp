// FLAC and Ogg Vorbis loads: the input goes to a scratch file (the decoders
// read by path) and is loaded into a slot by its signature.

#include "model/sample/sample.h"
#include "platform/system/folders.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 16)
        return 0;
    // Never destroyed, so that the exit handler can still remove the file.
    static const std::string* path = [] {
        auto* p = new std::string(
            platform::joinPath(platform::temporaryFolder(), "fuzz-audio-" + std::to_string(getpid())));
        std::atexit([] { std::remove(path->c_str()); });
        return p;
    }();
    FILE* file = std::fopen(path->c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    static TesselSample sample;
    const bool flac = size >= 4 && std::memcmp(data, "fLaC", 4) == 0;
    const bool loaded = flac ? sample.loadFlac(*path) : sample.loadOgg(*path);
    if (loaded && (sample.length < 1 || sample.channels < 1 || sample.channels > 2
                   || sample.audio.frames != uint32_t(sample.length) + 6))
        __builtin_trap();
    return 0;
}
