#pragma once
// The editor's help windows: the help file written at start, the viewer and
// the popup over the editor window, and the topmost band the window leaves
// while the viewer is in front. A page goes to the popup at a screen point
// or to the viewer; before the help file is written, and once a page took
// too long to load, pages go to the viewer. The popup runs in the editor's
// flow between beginPopup and endPopup; the idle notices when it closed.
//
// GUI thread only; the help file is written by a thread of its own, joined
// when this object goes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TesselEditorPageServices;
namespace help {
class CHelpPopup;
class HelpFile;
class HelpViewer;
enum class HelpCommand : uint8_t;
} // namespace help

class TesselHelpWindows {
public:
    // Starts writing the help file into the temporary folder.
    TesselHelpWindows(TesselEditorPageServices& editor, const std::string& temporaryFolder);
    ~TesselHelpWindows();
    TesselHelpWindows(const TesselHelpWindows&) = delete;
    TesselHelpWindows& operator=(const TesselHelpWindows&) = delete;

    // The viewer at a page with a tab. Waits (bounded) for the help file;
    // false, with a status text, when the page cannot be shown.
    bool openViewer(const char* page, help::HelpCommand command, std::string_view query = {});
    // A page at its topic in the viewer.
    void openPage(const char* name);
    // The help at its default topic.
    void openDefaultPage();
    // The popup at a screen point, or the viewer when the popup cannot be.
    void showPopup(const char* name, int32_t x, int32_t y);
    // The popup closed: the editor takes the input back.
    void finishPopup();
    // Both windows go (with the editor window, before the window system).
    void closeAll();
    // The viewer comes to the front over a window kept on top: the editor
    // window leaves the topmost band until it is active again.
    void leaveTopmost();
    void restoreTopmost();

    help::HelpViewer* viewer() const { return viewer_.get(); }
    help::CHelpPopup* popup() const { return popup_.get(); }

private:
    TesselEditorPageServices& editor_;
    std::unique_ptr<help::HelpFile> file_;
    std::unique_ptr<help::HelpViewer> viewer_;
    std::unique_ptr<help::CHelpPopup> popup_;
    bool leftTopmost_ = false;
};
