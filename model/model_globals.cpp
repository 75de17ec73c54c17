#include "model/model_globals.h"

#include "platform/system/version.h"

#include <numeric>

TesselModelGlobals& modelGlobals()
{
    static TesselModelGlobals globals;
    return globals;
}

void TesselModelGlobals::reset()
{
    songCounter.store(-1);
    documentVersion = platform::programVersion();
    patternMap.fill(-1);
    patternDefaults = {};
}

TesselPatternDefaults& patternDefaults()
{
    return modelGlobals().patternDefaults;
}

TesselPatternMap identityPatternMap()
{
    TesselPatternMap m;
    std::iota(m.begin(), m.end(), 0);
    return m;
}
