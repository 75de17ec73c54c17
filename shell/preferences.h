#pragma once
// The plug-in's settings record, kept in "Quorbel.ini" together with the
// default command scheme.

#include <cstdint>
#include <cstdio>

class TesselCommandScheme;
struct TesselElement;

constexpr const char* kPreferencesFileName = "Quorbel.ini";
constexpr const char* kPreferencesSavedText = "Quorbel preferences saved as default.";
constexpr const char* kPreferencesFolderError = "Error saving preferences (Could not access AppData folder).";
constexpr const char* kPreferencesWriteError = "Error saving preferences (Could not write Quorbel.ini).";

// The pattern font as the system's logical-font record.
struct TesselFontRecord {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charSet;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char faceName[32];
};
static_assert(sizeof(TesselFontRecord) == 60);

// The song values the preferences give a new song and take from the current one.
struct TesselSongTiming {
    double tempo = 120.0;
    double resolution = 6.0;
    int32_t rowsPerQuarter = 4;
};

// What the preferences apply to an open editor window after loading.
class TesselEditorSettings {
public:
    virtual ~TesselEditorSettings() = default;
    virtual void setKeyMode(int mode, bool quiet) = 0;
    virtual void setWindowsLinked(bool linked, bool quiet) = 0;
    virtual void setIntegrated(bool integrated, bool quiet) = 0;
};

enum class TesselPreferencesSave {
    kSaved,
    kNoFolder,      // show kPreferencesFolderError in a box captioned "Quorbel"
    kWriteFailed,   // the previous file stays; the status line says so
};

// Not locked: loaded by the engine's constructor, changed and saved on the
// editor's thread.
struct TesselPreferences {
    static constexpr int kPortNameSize = 256;
    static constexpr int kFolderSize = 260;

    int32_t midiDelay;
    char midiSyncOutput[kPortNameSize];
    int32_t midiSyncType;
    uint8_t disableMidi;
    uint8_t keyboardMode;
    uint8_t alwaysOnTop;
    uint8_t linkWindows;
    uint8_t mergeWithHost;
    uint8_t graphicsPriority;
    uint8_t followPattern;
    uint8_t showGuide;
    uint8_t showHelp;
    char modulePath[kFolderSize];
    char samplePath[kFolderSize];
    char instrumentPath[kFolderSize];
    int32_t midiInMode;
    int32_t positionX1;
    int32_t positionY1;
    int32_t positionX2;
    int32_t positionY2;
    int32_t windowState;
    uint8_t doubleSize;
    TesselFontRecord font;
    int16_t fontWidth;
    int8_t timingMode;          // 0 resolution, 1 speed
    double defaultTempo;
    int32_t defaultResolution;
    int32_t defaultRowsPerBeat;
    int32_t pagePosition[4];    // kept in memory and logged only
    uint8_t showDependencies;

    TesselPreferences() { setDefaults(); }

    void setDefaults();
    // Defaults, then every key the element holds. Returns true.
    bool read(const TesselElement& element);
    // The self-contained "preferences" element; false on a stream error.
    bool write(FILE* stream) const;

    // Reads "Quorbel.ini" from the settings folders into these preferences
    // and `scheme`; without a file the preferences stay as they are. Gives
    // the song its default timing and an open editor window its settings.
    void load(TesselCommandScheme& scheme, TesselSongTiming* song = nullptr,
              TesselEditorSettings* editor = nullptr);
    // Takes the song's tempo and resolution as the new defaults and writes
    // the preferences and `scheme` to "Quorbel.ini" in the settings folder.
    TesselPreferencesSave save(const TesselCommandScheme& scheme, const TesselSongTiming& song);

    TesselSongTiming songDefaults() const;
};

// The shell's full preferences record; the engine gets its part through a hook.
TesselPreferences& pluginPreferences();
