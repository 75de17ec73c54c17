// XM importer: any image imports without reading past it, and what it
// stores stays inside the song's limits.

#include "model/audio_files/memory_file.h"
#include "model/import/xm_import.h"
#include "model/song/module.h"

#include <cstdint>

namespace {

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void checkSong(const TesselModule& song)
{
    for (const TesselSample& s : song.samples) {
        check(s.length >= 0);
        check(s.length == 0 || s.audio.frames >= static_cast<uint32_t>(s.length));
        check(s.loop.begin >= 0 && s.loop.begin <= s.loop.end && s.loop.end <= s.length);
    }
    for (const TesselInstrument& in : song.instruments) {
        for (const TesselEnvelope& e : in.envelopes) {
            check(e.nodeCount <= kEnvelopeNodes);
            check(e.nodeCount == 0 || (e.loop.end < static_cast<int32_t>(e.nodeCount) &&
                                       e.sustain.end < static_cast<int32_t>(e.nodeCount)));
        }
    }
    for (const TesselPattern& p : song.patterns)
        check(p.length() > 0 && p.length() <= kMaxRows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    static TesselModule* song = new TesselModule();
    TesselMemoryFile file;
    if (!file.assign(data, static_cast<uint32_t>(size)))
        return 0;
    const int result = importFastTracker(file, *song);
    check(result >= kXmNotLoaded && result <= kXmLoaded);
    checkSong(*song);
    return 0;
}
