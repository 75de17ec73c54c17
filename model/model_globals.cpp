#include "model/model_globals.h"

#include "platform/version.h"

#include <numeric>

std::atomic<int32_t>& songCounter()
{
    static std::atomic<int32_t> counter{-1};
    return counter;
}

float& documentVersion()
{
    static float version = platform::programVersion();
    return version;
}

TesselPatternMap& patternMap()
{
    static TesselPatternMap map = [] {
        TesselPatternMap m;
        m.fill(-1);
        return m;
    }();
    return map;
}

TesselPatternMap identityPatternMap()
{
    TesselPatternMap m;
    std::iota(m.begin(), m.end(), 0);
    return m;
}
