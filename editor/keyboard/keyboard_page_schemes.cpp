// The keyboard page's scheme files: load, save (through a temporary, so a
// failed write leaves the old file) and the built-in scheme.

#include "editor/keyboard/keyboard_page.h"

#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "gui_vst2/file_selector.h"
#include "pagekit/frame2.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"
#include "plugin/plugin_object.h"

#include <cstring>

bool TesselKeyboardUI::chooseSchemeFile(bool save, std::string& path)
{
    if (!editor || editor->popupActive())
        return false;
    VstFileType type("Keyboard XML Description", "", "xml", "xml", "application/xml", "text/xml");
    VstFileSelect selection{};
    selection.command = save ? kVstFileSave : kVstFileLoad;
    selection.type = kVstFileType;
    selection.nbFileTypes = 1;
    selection.fileTypes = &type;
    const char* title = save ? "Save Keyboard Scheme..." : "Load Keyboard Scheme...";
    std::strncpy(selection.title, title, sizeof selection.title - 1);
    char anyScheme[] = "*.xml";
    if (engine && engine->hostVendorIs("steinberg"))
        selection.initialPath = anyScheme;

    CFrame2* frame = editor->frame2();
    CFileSelector selector(editor->plugin());
    editor->beginPopup();
    const bool chose = selector.run(&selection, frame ? frame->getSystemWindow() : nullptr) > 0;
    editor->endPopup();
    if (chose && selection.returnPath)
        path = selection.returnPath;
    return chose && !path.empty();
}

void TesselKeyboardUI::loadScheme()
{
    std::string path;
    if (!chooseSchemeFile(false, path)) {
        platform::setStatusText("Loading keyboard scheme... cancelled.");
        return;
    }
    platform::setStatusText("Loading keyboard scheme...");
    // A file that fails to read leaves the scheme as it was.
    if (defaultScheme().readFile(path)) {
        defaultScheme().rebuildKeyList();
        platform::setStatusText("Loading keyboard scheme... complete.");
    } else {
        platform::setStatusText("Loading keyboard scheme... failed.");
    }
    slot_ = 0;
    rebuildTree();
}

void TesselKeyboardUI::saveScheme()
{
    std::string path;
    if (!chooseSchemeFile(true, path)) {
        platform::setStatusText("Saving keyboard scheme... cancelled.");
        return;
    }
    platform::setStatusText("Saving keyboard scheme...");
    platform::setStatusText(defaultScheme().writeFile(path) ? "Saving keyboard scheme... complete."
                                                            : "Saving keyboard scheme... failed.");
}

void TesselKeyboardUI::restoreDefaults()
{
    defaultScheme().resetToDefaults();
    defaultScheme().rebuildKeyList();
    slot_ = 0;
    rebuildTree();
}
