#include "engine/timing/timing_lists.h"

TesselTimingLists::TesselTimingLists(const TesselModule& module)
{
    song.reset(module.tempo, module.resolution);
    buildSongTiming(module, song, 0, module.resolution);
    for (int p = 0; p < kPatterns; ++p) {
        auto list = std::make_unique<TesselPlaylist>(kPatternTimingCapacity, module.tempo, module.resolution);
        buildPatternList(module, *list, p);
        patterns[static_cast<size_t>(p)] = std::move(list);
    }
}
