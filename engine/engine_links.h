#pragma once
// What the engine needs of the layers above it, declared here so that the
// engine does not depend on them: the plug-in that owns it, the editor that
// attaches to it, and the plug-in shell's preferences and command tree. The
// plug-in shell implements these.

#include <cstdint>

class TesselEngine;

class TesselPluginLink {
public:
    // Dispatcher thread: the host's answer to canDo (non-zero = yes).
    virtual intptr_t canHostDo(const char* what) = 0;
    // The host's vendor string as the plug-in asked it once; "" when unknown.
    virtual const char* hostVendor() const = 0;

protected:
    ~TesselPluginLink() = default;
};

// The editor as the engine sees it; `process` runs only while one is attached.
class TesselEditorLink {
public:
    // Audio thread, song lock held: the order, pattern and row being played
    // (-1 = none), for the editor to show. Must not block.
    virtual void setPlaybackPosition(int32_t order, int32_t pattern, int32_t row)
    {
        (void)order;
        (void)pattern;
        (void)row;
    }

    // After a load into the engine's song: the pattern editor lays itself out
    // again, refills its instrument list and redraws with the current page.
    virtual void refreshAfterLoad() {}

protected:
    ~TesselEditorLink() = default;
};

// The preference values the engine reads itself.
struct TesselEnginePreferences {
    uint8_t disableMidi = 0;
    double defaultTempo = 120.0;
    int32_t defaultResolution = 6;
    int32_t defaultRowsPerBeat = 4;

    void setDefaults() { *this = TesselEnginePreferences{}; }
};

// Hooks the plug-in shell sets when the library loads; null ones are skipped.
struct TesselEngineHooks {
    // Builds the process-wide command tree from its definition table.
    static inline void (*buildCommandTree)() = nullptr;
    // Reads "Quorbel.ini" into the engine's preferences (the full record is the
    // shell's) and hands the song defaults on.
    static inline void (*loadPreferences)(TesselEngine& engine) = nullptr;
    // Appends one action record (engine/engine_actions.h) to the usage log.
    // Any thread, the audio thread included: must neither block nor touch files.
    static inline void (*logAction)(int action, int32_t value) = nullptr;
};
