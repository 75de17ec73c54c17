#include "editor/help_windows/help_windows.h"

#include "common/help_address.h"
#include "common/help_file.h"
#include "common/help_pages.h"
#include "common/help_popup.h"
#include "common/help_viewer.h"
#include "editor/core/editor_page_services.h"
#include "platform/status_text.h"
#include "platform/window.h"
#include "plugin/plugin_globals.h"
#include "resources/help/embedded_help.h"
#include "shell/preferences.h"

namespace {

constexpr const char* kNoHelpFile = "Error: The help file could not be written.";

} // namespace

TesselHelpWindows::TesselHelpWindows(TesselEditorPageServices& editor, const std::string& temporaryFolder)
    : editor_(editor), file_(std::make_unique<help::HelpFile>(temporaryFolder, resources::helpArchive()))
{
}

// The windows first; the file's writer is joined last.
TesselHelpWindows::~TesselHelpWindows()
{
    popup_.reset();
    viewer_.reset();
    file_.reset();
}

bool TesselHelpWindows::openViewer(const char* page, help::HelpCommand command, std::string_view query)
{
    platform::Window* window = editor_.editorWindow();
    platform::WindowSystem* windows = editor_.windowSystem();
    if (!page || !window || !windows)
        return false;
    // The writer runs from the editor's constructor; a click right after it
    // waits for the file rather than failing.
    if (!file_ || file_->path().empty() || !file_->waitUntilWritten()) {
        platform::setStatusText(kNoHelpFile);
        return false;
    }
    const std::string address = help::formatAddress(file_->path(), page);
    if (!viewer_)
        viewer_ = std::make_unique<help::HelpViewer>(*windows);
    if (address.empty() || !help::openHtmlHelp(*viewer_, *window, address, command, query)) {
        platform::formatStatusText("Error: Cannot show help page %s.", page);
        return false;
    }
    return true;
}

void TesselHelpWindows::openPage(const char* name)
{
    openViewer(name, help::HelpCommand::topic);
}

void TesselHelpWindows::openDefaultPage()
{
    openPage(help::kDefaultTopic);
}

void TesselHelpWindows::showPopup(const char* name, int32_t x, int32_t y)
{
    platform::Window* window = editor_.editorWindow();
    platform::WindowSystem* windows = editor_.windowSystem();
    if (!name || !window || !windows || editor_.popupActive())
        return;
    if (!file_ || !file_->isWritten()) {
        openPage(name);
        return;
    }
    popup_ = std::make_unique<help::CHelpPopup>(*windows, window);
    editor_.beginPopup();
    if (popup_->open(file_->path(), name, x, y))
        return;
    popup_.reset();
    editor_.endPopup();
    openPage(name);
}

void TesselHelpWindows::finishPopup()
{
    if (!popup_ || popup_->isOpen())
        return;
    const std::string page = popup_->page();
    popup_.reset();
    editor_.endPopup();
    // A page that outlasted the load budget is shown where it loads anyway.
    if (help::CHelpPopup::loadBudget() <= 0)
        openPage(page.c_str());
}

void TesselHelpWindows::closeAll()
{
    if (popup_) {
        popup_.reset();
        editor_.endPopup();
    }
    viewer_.reset();
}

void TesselHelpWindows::leaveTopmost()
{
    platform::Window* window = editor_.editorWindow();
    if (!pluginPreferences().alwaysOnTop || !window || !window->isTopLevel())
        return;
    window->setKeepAbove(false);
    leftTopmost_ = true;
}

void TesselHelpWindows::restoreTopmost()
{
    if (!leftTopmost_ || editor_.popupActive() || !editor_.windowActive())
        return;
    leftTopmost_ = false;
    platform::Window* window = editor_.editorWindow();
    if (window && window->isTopLevel())
        window->setKeepAbove(pluginPreferences().alwaysOnTop != 0);
}
