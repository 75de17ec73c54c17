#pragma once
// The toolkit's process-wide values: the bitmap fonts. GUI thread only.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

class TesselFont;

constexpr int kBitmapFonts = 13;

struct TesselGuiGlobals {
    // The editor's fonts, owning pointers it fills when it is built;
    // assigning deletes the previous font.
    std::array<std::unique_ptr<TesselFont>, kBitmapFonts> bitmapFonts;
    // Fonts made once per (resource id, character width) for texts the
    // editor's set does not cover; they live as long as the process, since
    // controls keep the pointers.
    std::map<std::pair<int32_t, int32_t>, std::unique_ptr<TesselFont>> keptFonts;

    TesselGuiGlobals();
    ~TesselGuiGlobals();
    TesselGuiGlobals(const TesselGuiGlobals&) = delete;
    TesselGuiGlobals& operator=(const TesselGuiGlobals&) = delete;

    // Back to the values the process starts with; the kept fonts stay.
    void reset();
};

TesselGuiGlobals& guiGlobals();
