// Module reader: each "module" element of the input is read into one song;
// a finished one is written again, so that whatever a document put into the
// records is also walked by the writers.

#include "model/markup/markup.h"
#include "model/song/module.h"

#include <cstdint>
#include <cstdio>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    static auto song = std::make_unique<TesselModule>();
    static FILE* sink = std::fopen("/dev/null", "w");
    TesselMemoryFile file;
    if (!file.assign(data, static_cast<uint32_t>(size)))
        return 0;
    markupDepth = 0;
    TesselElement element;
    while (readElement(file, element)) {
        if (!element.is("module", "mo", kElementOpen | kElementSelf))
            continue;
        // No module path: the fuzzer never touches files.
        const int result = song->readXml(file, nullptr, element);
        if (result != 0 && result != 2)
            __builtin_trap();
        // Writing a whole song is slow next to reading: only finished documents.
        if (sink && result == 2)
            song->writeXml(sink, "", false);
        if (markupDepth != 0)
            __builtin_trap();
    }
    return 0;
}
