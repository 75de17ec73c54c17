// Impulse Tracker importer: any input imports to a result, and what it leaves
// in the song stays inside the model's limits.

#include "model/import/it_import.h"
#include "model/song/module.h"

#include <cstdint>
#include <cstdio>

namespace {

#define check(condition) checkAt((condition), __LINE__)

void checkAt(bool condition, int line)
{
    if (condition)
        return;
    std::fprintf(stderr, "it_import: invariant at line %d broken\n", line);
    __builtin_trap();
}

void checkSong(const TesselModule& song)
{
    for (const TesselPattern& pattern : song.patterns)
        check(pattern.length() >= 0 && pattern.length() <= kMaxRows);
    for (const TesselSample& sample : song.samples) {
        check(sample.length >= 0);
        // Frames are claimed only where audio (and its guard frames) stands behind them.
        check(sample.length == 0 || sample.audio.channel(0));
        if (sample.audio.channel(0))
            check(static_cast<uint32_t>(sample.length) + 6 == sample.audio.frames);
        for (const TesselLoop* loop : {&sample.loop, &sample.sustain})
            check(loop->begin >= 0 && loop->begin <= loop->end && loop->end <= sample.length);
    }
    for (const TesselInstrument& instrument : song.instruments) {
        for (const TesselEnvelope& envelope : instrument.envelopes) {
            check(envelope.nodeCount <= kEnvelopeNodes);
            const int last = static_cast<int>(envelope.nodeCount);
            for (const TesselLoop* loop : {&envelope.loop, &envelope.sustain})
                check(loop->begin >= 0 && loop->begin <= loop->end && (loop->end < last || loop->end == 0));
            for (int i = 0; i < last; ++i)
                check(envelope.node(i).value <= 64 && envelope.node(i).tick <= kMaxEnvelopeTick);
        }
        for (int key = 0; key < kKeys; ++key) {
            const TesselRow& row = instrument.keymap.keyRow(key);
            check(row.pitch < kKeys || row.pitch == 254 || row.pitch == 255);
            check(row.instrument >= 0 && row.instrument < 100);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4u << 20)
        return 0;
    static TesselModule* song = new TesselModule();
    TesselImportReport report;
    const int result = importImpulseTracker(data, size, *song, &report);
    check(result == kImportUnreadable || result == kImportHeaderMissing || result == kImportLoaded);
    checkSong(*song);
    return 0;
}
