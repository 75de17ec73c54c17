// Song-wide pattern renumbering and the clean-up after an import.
#include "model/song/module.h"

#include <algorithm>

namespace {

bool isPatternNumber(int32_t p)
{
    return p >= 0 && p < kPatterns;
}

} // namespace

void TesselModule::renumberPatterns()
{
    TesselPatternMap map;
    map.fill(-1);
    int32_t n = 0;
    const int used = std::clamp(orderList.length, 0, kOrderEntries);
    for (int i = 0; i < used; ++i) {
        const int32_t p = orderList.entries[static_cast<size_t>(i)].pattern;
        // Markers are skipped; a broken value must not index the map.
        if (isPatternNumber(p) && map[static_cast<size_t>(p)] == -1)
            map[static_cast<size_t>(p)] = n++;
    }
    for (int32_t& m : map)
        if (m == -1)
            m = n++;
    applyPatternMap(map);
}

bool TesselModule::applyPatternMap(const TesselPatternMap& map)
{
    std::array<bool, kPatterns> taken{};
    for (int32_t m : map) {
        if (!isPatternNumber(m) || taken[static_cast<size_t>(m)])
            return false;
        taken[static_cast<size_t>(m)] = true;
    }
    for (int i = 0; i < kPatterns; ++i)
        patterns[static_cast<size_t>(i)].index = map[static_cast<size_t>(i)];
    // Each swap puts one record at its place for good: at most 199 swaps.
    for (int i = 0; i < kPatterns; ++i) {
        TesselPattern& here = patterns[static_cast<size_t>(i)];
        while (here.index != i)
            here.swap(patterns[static_cast<size_t>(here.index)]);
    }
    const int used = std::clamp(orderList.length, 0, kOrderEntries);
    for (int i = 0; i < used; ++i) {
        int32_t& p = orderList.entries[static_cast<size_t>(i)].pattern;
        if (isPatternNumber(p))
            p = map[static_cast<size_t>(p)];
    }
    patternMap() = map;
    return true;
}

void TesselModule::convertImportedEffects()
{
    for (TesselPattern& pattern : patterns) {
        for (int t = 0; t < kChannels; ++t) {
            TesselTrack* track = pattern.tracks.trackAt(t);
            if (!track || track->isEmpty())
                continue;
            for (int r = 0; r < track->length(); ++r) {
                TesselRow* row = track->rowAt(r);
                if (!row || row->isEmpty())
                    continue;
                TesselEffect& effect = row->effect;
                const int high = (effect.parameter >> 4) & 0x0F;
                const bool unsupportedS = high <= 2 || high == 6 || high == 9 || high == 14 || high == 15;
                if (effect.command == 'T') {
                    effect.command = '@';
                } else if (effect.command == 'V' || effect.command == 'W' ||
                           (effect.command == 'S' && unsupportedS)) {
                    effect.command = '.';
                    effect.parameter = 0;
                }
            }
        }
        pattern.tracks.freeEmptyTracks();
    }
}

int TesselModule::findEmptyPattern(int from) const
{
    if (!isPatternNumber(from))
        return -1;
    for (int p = from; p < kPatterns; ++p)
        if (patterns[static_cast<size_t>(p)].isUnused())
            return p;
    return -1;
}
