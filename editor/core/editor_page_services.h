#pragma once
// What the editor's own pages reach beyond the page services: page switches,
// help, playback, the editor window, the default folders, the current sample
// and the pattern editor page. The editor implements it and hands it to the
// pages it makes; GUI thread only.

#include "pagekit/editor_services.h"
#include "pagekit/page_numbers.h"

#include <cstdint>
#include <string>
#include <string_view>

class TesselPatternEditorPage;
namespace help {
enum class HelpCommand : uint8_t;
}
namespace platform {
class Window;
class WindowSystem;
} // namespace platform

class TesselEditorPageServices : public TesselEditorServices {
public:
    // Makes the page of that number current; with redraw it draws at once.
    virtual void switchPage(int32_t number, bool redraw) = 0;
    // The pattern editor page; null before the editor window made it.
    virtual TesselPatternEditorPage* patternEditorPage() const = 0;

    // Current sample 1..99; with follow, an instrument using it becomes current.
    virtual void setCurrentSample(int32_t n, bool follow) = 0;

    // A page of the help file (help popup or viewer, as the editor chooses).
    virtual void openHelpPage(const char* name) = 0;
    // The viewer at a page with a tab; false, with a status text, when the
    // page cannot be shown.
    virtual bool openHelpViewer(const char* page, help::HelpCommand command, std::string_view query = {}) = 0;
    // The viewer comes to the front over a window kept on top.
    virtual void leaveTopmostForHelp() = 0;

    // Plays the song from an order and row (waits 1000 ms for the song lock).
    virtual void playSong(int32_t order, int32_t row) = 0;
    // What the engine last reported playing: pattern and row (-1 none).
    virtual int32_t playingPattern() const = 0;
    virtual int32_t playingRow() const = 0;

    // The editor window (null while there is none), the window system that
    // makes it, and whether it or its pages' window has the focus.
    virtual platform::Window* editorWindow() const = 0;
    virtual platform::WindowSystem* windowSystem() const = 0;
    virtual bool windowActive() const = 0;

    // Settings the preferences pages change, and their saving.
    virtual void setFastRefresh(bool on) = 0;
    virtual void setPatternFont(const TesselFontRecord& font) = 0;
    virtual void setPatternFontWidth(int32_t width) = 0;
    virtual void savePreferences() = 0;

    // The file selectors' default folders (modules, samples, instruments).
    virtual std::string& moduleFolder() = 0;
    virtual std::string& sampleFolder() = 0;
    virtual std::string& instrumentFolder() = 0;

protected:
    ~TesselEditorPageServices() = default;
};

// Each of the editor's pages keeps its editor this way beside the page
// base's services: the same object, seen through the editor's page services.
class TesselEditorPageOwner {
public:
    explicit TesselEditorPageOwner(TesselEditorPageServices* owner) : owner_(owner) {}
    TesselEditorPageServices* owner() const { return owner_; }
    // The pattern editor page; null before the editor window made it.
    TesselPatternEditorPage* patternEditorPage() const { return owner_ ? owner_->patternEditorPage() : nullptr; }

private:
    TesselEditorPageServices* owner_;
};
