#pragma once
// What the pages share while the editor lives: the current page's number and
// the offscreen every page draws through.

#include <atomic>
#include <cstdint>
#include <memory>

namespace VSTGUI {
class COffscreenContext;
}

// The editor's current page (1 pattern editor ... -1 none).
std::atomic<int32_t>& currentPageNumber();
// Owned; assigning deletes the previous offscreen.
std::unique_ptr<VSTGUI::COffscreenContext>& pageOffscreen();
