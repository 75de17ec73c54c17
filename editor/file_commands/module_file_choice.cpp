// What the module file commands ask and tell the user, and where their
// folders start: the file selector
// over the module types, Yes/No and Yes/No/Cancel boxes, a box to read, and
// the default folder a chosen file leaves. The dialogs are bracketed as
// popups, so that keys typed meanwhile start nothing and an always-on-top
// editor window does not cover them.

#include "editor/core/tessel_editor.h"
#include "editor/file_commands/file_commands.h"
#include "editor/file_commands/module_paths.h"
#include "engine/engine.h"
#include "gui_vst2/file_selector.h"
#include "platform/dialogs/dialogs.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "shell/preferences.h"

#include <cstring>

namespace {

// A popup for as long as it lives, unless one is up already (a command run
// from a popup menu keeps the menu's bracket).
class PopupScope {
public:
    explicit PopupScope(TesselEditor& editor) : editor_(editor), own_(!editor.popupActive())
    {
        if (own_)
            editor_.beginPopup();
    }
    ~PopupScope()
    {
        if (own_)
            editor_.endPopup();
    }
    PopupScope(const PopupScope&) = delete;
    PopupScope& operator=(const PopupScope&) = delete;

private:
    TesselEditor& editor_;
    bool own_;
};

VstFileType moduleType(const char* name, const char* extension)
{
    const std::string mac = std::string(".") + extension;
    const std::string mime = std::string("audio/") + extension;
    const std::string mimeX = std::string("audio/x-") + extension;
    return VstFileType(name, mac.c_str(), extension, extension, mime.c_str(), mimeX.c_str());
}

VstFileType zipType(const char* name)
{
    return VstFileType(name, ".zip", "zip", "zip", "audio/qbz", "audio/x-qbz");
}

} // namespace

TesselFileCommands::TesselFileCommands(TesselEditor& editor) : editor_(editor), engine_(*editor.engine())
{
    const TesselPreferences& preferences = pluginPreferences();
    moduleFolder_ = preferences.modulePath;
    sampleFolder_ = preferences.samplePath;
    instrumentFolder_ = preferences.instrumentPath;
}

platform::Dialogs* TesselFileCommands::dialogs() const
{
    return editor_.windowSystem() ? &editor_.windowSystem()->dialogs() : nullptr;
}

bool TesselFileCommands::askYesNo(const char* text, const char* caption)
{
    platform::Dialogs* service = dialogs();
    if (!service)
        return false;
    PopupScope popup(editor_);
    return service->messageBox(editor_.editorWindow(), text, caption, platform::kBoxYesNo) == platform::kAnswerYes;
}

void TesselFileCommands::tell(const char* text, const char* caption)
{
    if (platform::Dialogs* service = dialogs()) {
        PopupScope popup(editor_);
        service->messageBox(editor_.editorWindow(), text, caption, platform::kBoxOk | platform::kBoxIconWarning);
    }
}

int32_t TesselFileCommands::askYesNoCancel(const char* text, const char* caption)
{
    platform::Dialogs* service = dialogs();
    if (!service)
        return platform::kAnswerCancel;
    PopupScope popup(editor_);
    return service->messageBox(editor_.editorWindow(), text, caption, platform::kBoxYesNoCancel | platform::kBoxIconQuestion);
}

bool TesselFileCommands::chooseModuleFile(bool save, std::string& path)
{
    // The open dialog's first name keeps its trailing blank, as it always had.
    VstFileType openTypes[] = {
        zipType("Compressed Quorbel Module "),
        moduleType("Impulse Tracker Module", "it"),
        moduleType("Scream Tracker 3 Module", "s3m"),
        moduleType("Fast Tracker Module", "xm"),
        moduleType("Protracker Module", "mod"),
    };
    VstFileType saveType = zipType("Compressed Quorbel Module");

    std::string initial = folderWithSlash(moduleFolder_);
    if (save && engine_.hostVendorIs("steinberg"))
        initial += "*.zip";
    VstFileSelect select;
    std::memset(&select, 0, sizeof select);
    select.command = save ? kVstFileSave : kVstFileLoad;
    select.type = kVstFileType;
    select.nbFileTypes = save ? 1 : static_cast<VstInt32>(std::size(openTypes));
    select.fileTypes = save ? &saveType : openTypes;
    std::strncpy(select.title, save ? "Save Module..." : "Open Module...", sizeof select.title - 1);
    select.initialPath = initial.data();

    CFileSelector selector(editor_.plugin());
    PopupScope popup(editor_);
    if (selector.run(&select, editor_.editorWindow()) < 1 || !select.returnPath || !select.returnPath[0])
        return false;
    path = select.returnPath;
    return true;
}

void TesselFileCommands::keepModuleFolder(const std::string& path)
{
    moduleFolder_ = nextDefaultFolder(moduleFolder_, path);
}
