// Instrument and sample files as the instrument and sample pages load them:
// the input is written to a file of its own and loaded as a WAV file, or, when
// it is a zip, as a zipped sample and as a zipped instrument with its samples.
// The loads read the file through the zip helpers and their temporary files.

#include "model/file_kind.h"
#include "model/instrument/instrument.h"
#include "model/sample/sample.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// One folder for the whole run: the loads put their temporary files beside
// the input and remove them again, so only the empty folder is left at exit.
char folderPath[] = "/tmp/qb-fuzz-instrument-XXXXXX";

const char* folder()
{
    static const bool made = [] {
        if (!mkdtemp(folderPath))
            return false;
        std::atexit([] { rmdir(folderPath); });
        return true;
    }();
    return made ? folderPath : "/tmp";
}

bool writeInput(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void checkSample(const TesselSample& sample, unsigned result)
{
    if (result > kFileNoFreeSlot)
        __builtin_trap();
    // Never a length without the audio behind it.
    if (sample.length > 0 && (!sample.audio.channel(0) || sample.audio.frames < uint32_t(sample.length)))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    const bool zipped = size >= 2 && data[0] == 'P' && data[1] == 'K';
    const std::string path = std::string(folder()) + (zipped ? "/input.zip" : "/input.wav");
    if (!writeInput(path, data, size))
        return 0;
    // Slots reused from input to input, as the pages reuse theirs.
    static auto sample = std::make_unique<TesselSample>();
    checkSample(*sample, sample->loadFile(path, zipped ? kSampleZip : kSampleWav));
    if (zipped) {
        static auto samples = std::make_unique<std::array<TesselSample, kSamples>>();
        static auto instrument = std::make_unique<TesselInstrument>();
        for (TesselSample& slot : *samples)
            slot.reset();
        const unsigned result = instrument->loadFile(path, *samples);
        if (result > kFileNoFreeSlot)
            __builtin_trap();
        for (const TesselSample& slot : *samples)
            checkSample(slot, kFileLoaded);
    }
    std::remove(path.c_str());
    return 0;
}
