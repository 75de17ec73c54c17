// WAV reader: every image is read with loop information, applied to the slot
// and written out again.

#include "model/audio_files/memory_file.h"
#include "model/audio_files/wav_loop_info.h"
#include "model/sample/sample.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    TesselMemoryFile image;
    if (!image.assign(data, static_cast<uint32_t>(size)))
        return 0;
    // One slot for every input, as the editor reuses its slots.
    static TesselSample sample;
    TesselWavLoopInfo info;
    if (!sample.readWav(image, &info)) {
        if (sample.length != 0 || sample.audio.channels != 0)
            __builtin_trap();
        return 0;
    }
    if (sample.length < 1 || sample.audio.frames != uint32_t(sample.length) + 6 || sample.channels < 1
        || sample.channels > 2)
        __builtin_trap();
    info.applyTo(sample);
    if (!info.loops.empty() && (sample.loop.begin > sample.length || sample.loop.end > sample.length))
        __builtin_trap();
    sample.writeWav("/dev/null");
    return 0;
}
