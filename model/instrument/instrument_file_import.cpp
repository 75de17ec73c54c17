// Copying an instrument of another song, with the samples it uses, into a slot of this song.

#include "model/instrument/instrument.h"
#include "model/instrument/instrument_file_keymap.h"
#include "model/song/module.h"

#include <cstdio>

unsigned TesselInstrument::importWithSamples(const TesselInstrument& source,
                                             const std::array<TesselSample, kSamples>& sourceSamples,
                                             TesselModule& destination)
{
    platform::MutexLock lock(destination.songLock(), editLockWaitMs);
    if (!lock)
        return kFileUnreadable;
    assign(source);
    constexpr int kNotMet = -2;
    std::array<int, kSamples + 1> slotOf;
    slotOf.fill(kNotMet);
    bool missedSlot = false;
    renumberKeymapSamples(keymap, [&](int number) {
        // Numbers beyond the table name no sample of the source.
        if (number < 1 || number > kSamples)
            return 0;
        int& slot = slotOf[static_cast<size_t>(number)];
        if (slot == kNotMet) {
            slot = findFreeSample(destination.samples, 0);
            if (slot < 0) {
                missedSlot = true;
                return 0;
            }
            TesselSample& target = destination.samples[static_cast<size_t>(slot)];
            target.assign(sourceSamples[static_cast<size_t>(number - 1)]);
            if (target.isEmpty()) {
                // An empty copy would still count as free and be taken again.
                char name[48];
                std::snprintf(name, sizeof name, "(used by Instrument %d)", index + 1);
                target.setName(name);
            }
        }
        return slot + 1;
    });
    return missedSlot ? kFileNoFreeSlot : kFileLoaded;
}
