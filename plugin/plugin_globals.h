#pragma once
// Process-wide values of the plug-in library: those the entry points and the
// plug-in object keep (instance count, running engine, host identity), and
// the objects built when the library loads.

#include "gui/page_fonts.h"
#include "pagekit/page_globals.h"
#include "shell/preferences.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class TesselEngine;

// The host as the plug-in asked it once at construction; read-only afterwards.
struct TesselHostIdentity {
    char vendor[256] = {};
    char product[256] = {};
    int32_t vendorVersion = 0;
    // Subtracted from the host's position; 160.0 for the one host that needs it.
    double positionOffset = 0.0;
};

TesselHostIdentity& hostIdentity();
// The host is our own stand-alone host (product "Quorbel Host", any case).
bool inOwnHost();

struct TesselInstances {
    static inline std::atomic<int32_t> count{0};
    static inline int32_t number = 0;
    static inline bool constructionFailed = false;
    // The engine the data exports serve; cleared when its plug-in goes.
    static inline std::atomic<TesselEngine*> running{nullptr};
};

// Moved by whatever changes the song behind the pages' backs; the editor's
// idle redraws the current page when it moved.
std::atomic<uint32_t>& changeCounter();


// Text lookups of the pattern editor; nothing adds to it.
std::map<std::string, int32_t>& keyLookupMap();

constexpr const char* kOptionalText = "(optional)";
// Empty note cells as the pattern editor draws them (0xB7 = middle dot).
constexpr const char kEmptyCell[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\x20\xB7\xB7\x20\x2E\x30\x30";
constexpr const char kEmptyCellJoined[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\xB7\xB7\xB7\xB7\x2E\x30\x30";
constexpr const char kEmptyCellNoEffect[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\x20\xB7\xB7\x20\x2E\x2E\x2E";
constexpr const char kEmptyCellJoinedNoEffect[] = "\x20\xB7\xB7\xB7\x20\xB7\xB7\xB7\xB7\xB7\xB7\x2E\x2E\x2E";
static_assert(sizeof kEmptyCell == 15 && sizeof kEmptyCellJoinedNoEffect == 15);

// Sets the engine's hooks (command tree, preferences); the library calls
// it at load, tests that build engines call it themselves.
void installEngineHooks();
