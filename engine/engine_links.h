#pragma once
// What the engine needs of the layers above it, declared here so that the
// engine does not depend on them: the plug-in that owns it, the editor that
// attaches to it, and the plug-in shell's preferences and command tree. The
// plug-in shell implements these.

#include <cstdint>

class TesselEngine;
struct VstEvents;
struct VstTimeInfo;

class TesselPluginLink {
public:
    // Dispatcher thread: the host's answer to canDo (non-zero = yes).
    virtual intptr_t canHostDo(const char* what) = 0;
    // The host's vendor string as the plug-in asked it once; "" when unknown.
    virtual const char* hostVendor() const = 0;

    // What the audio block asks of its plug-in (audio thread; never blocks).
    // The host's time information for the filter, or null.
    virtual const VstTimeInfo* hostTimeInfo(int32_t filter)
    {
        (void)filter;
        return nullptr;
    }
    // The block length the plug-in last rendered for, and its update.
    virtual int32_t hostBlockSize() const { return 0; }
    virtual void noteHostBlockSize(int32_t frames) { (void)frames; }
    // Plug-in instances in the process; a second one renders nothing.
    virtual int32_t instanceCount() const { return 1; }
    // Rows subtracted from the host's song position (160.0 for one host).
    virtual double hostPositionOffset() const { return 0.0; }
    // The block's MIDI events for the host; true when the host took them.
    virtual bool sendHostEvents(VstEvents* events)
    {
        (void)events;
        return false;
    }

protected:
    ~TesselPluginLink() = default;
};

// What MIDI note entry needs of the pattern editor page, read on the audio
// thread in one call so that the page's fields are read together.
struct TesselNoteEntry {
    bool isCurrentPage = false;   // the pattern editor is the page shown
    bool wantsKeys = false;       // a text field of the page has the keys
    int32_t channel = 0;          // cursor
    int32_t row = 0;
    int32_t rowStep = 1;          // rows the page's cursor step moves
    bool enterInstrument = false;
    bool enterVolume = false;
    bool enterLetter = false;
    bool enterParameter = false;
    int32_t instrument = 0;       // the editor's current instrument
    int32_t panning = -1;
    int32_t depth = -1;
    char letter = '.';
    int32_t parameter = 0;
    bool stepAfterChord = false;
};

// The editor as the engine sees it; `process` runs only while one is
// attached. The audio thread only reads through it; what the editor must do
// in answer (cursor steps, redraws) is handed over through the engine's
// TesselMidiInputRequests and picked up on the editor's own thread.
class TesselEditorLink {
public:
    // The pattern editor page's current pattern (TesselUI::getCurrentPattern);
    // -1 without a pattern editor page.
    virtual int32_t currentPattern() const { return -1; }
    // False without a pattern editor page or pattern grid.
    virtual bool noteEntry(TesselNoteEntry& entry) const
    {
        (void)entry;
        return false;
    }
    // After a load into the engine's song: the pattern editor lays itself out
    // again, refills its instrument list and redraws with the current page.
    virtual void refreshAfterLoad() {}
    // Audio thread, song lock held: the order, pattern and row being played
    // (-1 = none), for the editor to show. Must not block.
    virtual void setPlaybackPosition(int32_t order, int32_t pattern, int32_t row)
    {
        (void)order;
        (void)pattern;
        (void)row;
    }

protected:
    ~TesselEditorLink() = default;
};

// The preference values the engine reads itself.
struct TesselEnginePreferences {
    uint8_t disableMidi = 0;
    double defaultTempo = 120.0;
    int32_t defaultResolution = 6;
    int32_t defaultRowsPerBeat = 4;
    // MIDI note entry: 0 off, 1 one channel with a cursor step, 2 spread over free channels.
    int32_t midiInMode = 2;
    uint8_t followPattern = 0;

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
