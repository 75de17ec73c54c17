#pragma once
// A key's velocity regions as one comparable text: "0-10:3 11-64:4".

#include "editor/instrument_list/keymap_regions.h"

#include <string>

inline std::string regionsText(const TesselKeyRegions& regions)
{
    std::string out;
    for (const TesselKeyRegion& r : regions.regions) {
        if (r.isZero())
            break;
        if (!out.empty())
            out += ' ';
        out += std::to_string(r.from) + "-" + std::to_string(r.to) + ":" + std::to_string(r.value);
    }
    return out;
}
