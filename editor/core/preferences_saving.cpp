// Saving the preferences.

#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "platform/dialogs/message_box.h"
#include "plugin/plugin_globals.h"
#include "shell/command_scheme.h"
#include "shell/preferences.h"

#include <cstring>

namespace {

void storeFolder(char* field, size_t size, const std::string& folder)
{
    // A folder that does not fit is not stored cut; the old one stays.
    if (folder.size() < size)
        std::memcpy(field, folder.c_str(), folder.size() + 1);
}

} // namespace

void TesselEditor::savePreferences()
{
    TesselPreferences& preferences = pluginPreferences();
    platform::Window* window = editorWindow();
    if (window && !inOwnHost()) {
        const platform::Rect place = window->rect();
        preferences.positionX1 = place.left;
        preferences.positionY1 = place.top;
        preferences.positionX2 = place.right;
        preferences.positionY2 = place.bottom;
    }
    storeFolder(preferences.modulePath, sizeof preferences.modulePath, fileCommands_.moduleFolder());
    storeFolder(preferences.samplePath, sizeof preferences.samplePath, fileCommands_.sampleFolder());
    storeFolder(preferences.instrumentPath, sizeof preferences.instrumentPath, fileCommands_.instrumentFolder());
    const TesselModule& song = engine_->song;
    const TesselSongTiming timing{song.tempo, song.resolution, song.rowsPerQuarter};
    if (preferences.save(defaultScheme(), timing) == TesselPreferencesSave::kNoFolder)
        platform::showMessageBox(kPreferencesFolderError, "Quorbel", platform::kBoxIconError);
}
