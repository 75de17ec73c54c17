#pragma once
// The mixer's voice path and the vector primitives' processor level for the
// length of a scope; both are process-wide.

#include "engine/vector/vector_cpu.h"
#include "engine/voice/voice_direct.h"

#include <vector>

class MixPathScope {
public:
    MixPathScope(TesselMixPath path, int level) : path_(setMixPath(path)), level_(vec::forceLevel(level)) {}
    ~MixPathScope()
    {
        setMixPath(path_);
        vec::forceLevel(level_);
    }
    MixPathScope(const MixPathScope&) = delete;
    MixPathScope& operator=(const MixPathScope&) = delete;

private:
    TesselMixPath path_;
    int level_;
};

// The direct path's variants worth comparing on this processor: SSE2 (level 1)
// and AVX2 (level 6) where it runs.
inline std::vector<int> directPathLevels()
{
    std::vector<int> levels;
    for (int level : {1, 6})
        if (vec::levelSupported(level))
            levels.push_back(level);
    return levels;
}
