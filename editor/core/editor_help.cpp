// The help openers: pages of the help file in the viewer or in the popup,
// both over the editor window and gone with it.

#include "common/help_address.h"
#include "common/help_file.h"
#include "common/help_pages.h"
#include "common/help_popup.h"
#include "common/help_viewer.h"
#include "editor/core/tessel_editor.h"
#include "pagekit/frame2.h"
#include "platform/status_text.h"
#include "plugin/plugin_globals.h"
#include "shell/preferences.h"

namespace {

constexpr const char* kNoHelpFile = "Error: The help file could not be written.";

} // namespace

bool TesselEditor::openHelpViewer(const char* page, help::HelpCommand command, std::string_view query)
{
    if (!page || !window_ || !windows_)
        return false;
    // The writer runs from the constructor; a click right after it waits
    // for the file rather than failing.
    if (!helpFile_ || helpFile_->path().empty() || !helpFile_->waitUntilWritten()) {
        platform::setStatusText(kNoHelpFile);
        return false;
    }
    const std::string address = help::formatAddress(helpFile_->path(), page);
    if (!helpViewer_)
        helpViewer_ = std::make_unique<help::HelpViewer>(*windows_);
    if (address.empty() || !help::openHtmlHelp(*helpViewer_, *window_, address, command, query)) {
        platform::formatStatusText("Error: Cannot show help page %s.", page);
        return false;
    }
    return true;
}

void TesselEditor::openHelpPage(const char* name)
{
    openHelpViewer(name, help::HelpCommand::topic);
}

void TesselEditor::openDefaultHelp()
{
    openHelpPage(help::kDefaultTopic);
}

void TesselEditor::showHelpPopup(const char* name, int32_t x, int32_t y)
{
    if (!name || !window_ || !windows_ || popupActive_)
        return;
    if (!helpFile_ || !helpFile_->isWritten()) {
        openHelpPage(name);
        return;
    }
    helpPopup_ = std::make_unique<help::CHelpPopup>(*windows_, window_.get());
    beginPopup();
    if (helpPopup_->open(helpFile_->path(), name, x, y))
        return;
    helpPopup_.reset();
    endPopup();
    openHelpPage(name);
}

void TesselEditor::finishHelpPopup()
{
    if (!helpPopup_ || helpPopup_->isOpen())
        return;
    const std::string page = helpPopup_->page();
    helpPopup_.reset();
    endPopup();
    // A page that outlasted the load budget is shown where it loads anyway.
    if (help::CHelpPopup::loadBudget() <= 0)
        openHelpPage(page.c_str());
}

void TesselEditor::closeHelpWindows()
{
    if (helpPopup_) {
        helpPopup_.reset();
        endPopup();
    }
    helpViewer_.reset();
}

bool TesselEditor::windowActive() const
{
    platform::Window* pages = frame2_ ? frame2_->getWindow() : nullptr;
    return (window_ && window_->hasFocus()) || (pages && pages->hasFocus());
}

void TesselEditor::leaveTopmostForHelp()
{
    if (!pluginPreferences().alwaysOnTop || !window_ || !window_->isTopLevel())
        return;
    window_->setKeepAbove(false);
    leftTopmostForHelp_ = true;
}

void TesselEditor::restoreTopmostAfterHelp()
{
    if (!leftTopmostForHelp_ || popupActive_ || !windowActive())
        return;
    leftTopmostForHelp_ = false;
    if (window_ && window_->isTopLevel())
        window_->setKeepAbove(pluginPreferences().alwaysOnTop != 0);
}
