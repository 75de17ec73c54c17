#pragma once
// The page kit's process-wide values, what the pages share while the editor
// lives: the current page's number and the offscreen every page draws through.

#include <atomic>
#include <cstdint>
#include <memory>

namespace VSTGUI {
class COffscreenContext;
}

struct TesselPageGlobals {
    // The editor's current page (1 pattern editor ... -1 none).
    std::atomic<int32_t> currentPageNumber{-1};
    // Owned; assigning deletes the previous offscreen.
    std::unique_ptr<VSTGUI::COffscreenContext> pageOffscreen;

    TesselPageGlobals();
    ~TesselPageGlobals();
    TesselPageGlobals(const TesselPageGlobals&) = delete;
    TesselPageGlobals& operator=(const TesselPageGlobals&) = delete;

    // Back to the values the process starts with.
    void reset();
};

TesselPageGlobals& pageGlobals();

inline std::atomic<int32_t>& currentPageNumber() { return pageGlobals().currentPageNumber; }
inline std::unique_ptr<VSTGUI::COffscreenContext>& pageOffscreen() { return pageGlobals().pageOffscreen; }
