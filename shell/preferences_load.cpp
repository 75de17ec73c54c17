// "Quorbel.ini": the preferences element, then the default scheme.

#include "shell/preferences.h"

#include "model/markup/markup.h"
#include "model/settings_file.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"
#include "shell/commands_usage.h"
#include "shell/preferences_files.h"

#include <cmath>

void TesselPreferences::load(TesselCommandScheme& scheme, TesselSongTiming* song, TesselEditorSettings* editor)
{
    std::string path;
    if (!findSettingsFile(kPreferencesFileName, path))
        return;
    TesselMemoryFile file;
    if (!file.load(path))
        return;
    TesselElement element;
    while (!file.atEnd() && readElement(file, element)) {
        if (element.is("preferences", "pr", kElementOpen | kElementSelf))
            read(element);
        else if (element.is("scheme", "sc", kElementOpen | kElementSelf))
            scheme.read(file, element);
    }
    if (song)
        *song = songDefaults();
    if (editor) {
        editor->setKeyMode(keyboardMode, true);
        editor->setWindowsLinked(linkWindows != 0, true);
        editor->setIntegrated(mergeWithHost != 0, true);
    }
}

TesselPreferencesSave TesselPreferences::save(const TesselCommandScheme& scheme, const TesselSongTiming& song)
{
    std::string path;
    if (!makeSettingsFilePath(kPreferencesFileName, path))
        return TesselPreferencesSave::kNoFolder;
    defaultTempo = song.tempo;
    const double resolution = std::floor(song.resolution + 0.0001);
    defaultResolution = std::isfinite(resolution) && std::fabs(resolution) < 2147483647.0
                            ? static_cast<int32_t>(resolution) : defaultResolution;
    const bool saved = saveTextFileReplacing(path, [&](FILE* stream) {
        const bool preferencesWritten = write(stream);
        return scheme.write(stream) && preferencesWritten;
    });
    if (!saved) {
        platform::setStatusText(kPreferencesWriteError);
        return TesselPreferencesSave::kWriteFailed;
    }
    if (TesselUsageSink* sink = usageSink())
        sink->logPreferences(*this);
    platform::setStatusText(kPreferencesSavedText);
    return TesselPreferencesSave::kSaved;
}
