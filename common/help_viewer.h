#pragma once
// The help viewer: a "Quorbel Help" window over its owner with the page, a
// Back button, and beside the page a contents tab (the contents page's
// links) and a search tab (a case-blind search of every page, run by Enter
// or "List Topics"). It lives in the owner's message flow: the window system's
// pump drives it, and it closes when its owner goes. GUI thread only.

#include "common/help_index.h"
#include "platform/graphics/font.h"
#include "platform/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Canvas;
}

namespace help {

class Archive;

// What the viewer is asked to show beside the page.
enum class HelpCommand : uint8_t {
    topic,      // the page alone (the contents tab stays as it was)
    contents,   // the contents tab
    search,     // the search tab with a query typed in, not run
};

class HelpViewer : private platform::WindowHandler {
public:
    static constexpr const char* kTitle = "Quorbel Help";
    static constexpr const char* kClassName = "QuorbelHelpViewer";
    static constexpr platform::Point kSize{860, 620};
    // Layout: the button strip, the tabs beside the page, the page.
    static constexpr int32_t kStripHeight = 30;
    static constexpr int32_t kPaneWidth = 240;
    static constexpr int32_t kTabHeight = 24;
    static constexpr int32_t kRowHeight = 18;
    static constexpr platform::Rect kBackButton{8, 4, 72, 26};
    static constexpr platform::Rect kSearchEntry{8, kStripHeight + kTabHeight + 26, kPaneWidth - 8,
                                                 kStripHeight + kTabHeight + 48};
    static constexpr platform::Rect kListTopicsButton{8, kSearchEntry.bottom + 6, 112, kSearchEntry.bottom + 28};
    // Watches the owner.
    static constexpr uint32_t kOwnerTimer = 1;
    static constexpr uint32_t kOwnerTimerMs = 200;

    enum class Tab : uint8_t { contents, search };

    explicit HelpViewer(platform::WindowSystem& system);
    ~HelpViewer();
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // Opens the window over `owner` (or brings it up) at the page of an
    // address ("<help file>::/<page>") with the command's tab. False when
    // the window cannot be made or the address names no page of the file.
    bool show(platform::Window& owner, std::string_view address, HelpCommand command, std::string_view query = {});
    void close();
    bool isOpen() const { return window_ != nullptr; }
    platform::Window* window() const { return window_.get(); }

    Tab tab() const { return tab_; }
    // The archive page shown, empty when none.
    std::string page() const;
    const std::string& searchText() const { return searchText_; }
    const std::vector<ContentsRow>& contents() const { return contents_; }
    const std::vector<SearchHit>& searchHits() const { return hits_; }
    bool searchRun() const { return searchRun_; }
    // The row the pane shows first, and the one of the page shown (-1: none).
    int32_t firstRow() const { return firstRow_; }
    int32_t selectedRow() const { return selected_; }

    // Runs the search of the text typed.
    void runSearch();
    bool goBack();

private:
    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;
    bool createWindow(platform::Window& owner);
    bool openArchive(const std::string& path);
    void onKey(const platform::WindowMessage& message);
    void onClick(platform::Point at);
    void openRow(int32_t row);
    void selectShownPage();
    platform::Rect pageArea() const;
    platform::Rect listArea() const;
    int32_t listRows() const;
    int32_t rowAt(platform::Point at) const;
    void redraw() const;

    // help_viewer_drawing.cpp
    void paint(const platform::Rect& area);
    void drawStrip(platform::Canvas& canvas) const;
    void drawPane(platform::Canvas& canvas) const;
    void drawList(platform::Canvas& canvas) const;
    void drawButton(platform::Canvas& canvas, const platform::Rect& rect, std::string_view text, bool enabled) const;

    platform::WindowSystem& system_;
    uintptr_t owner_ = 0;
    std::string archivePath_;
    std::unique_ptr<Archive> archive_;
    std::vector<ContentsRow> contents_;
    std::vector<SearchHit> hits_;
    Tab tab_ = Tab::contents;
    std::string searchText_;
    bool searchRun_ = false;
    bool entryFocused_ = false;
    int32_t firstRow_ = 0;
    int32_t selected_ = -1;
    std::shared_ptr<const platform::Font> font_;
    std::shared_ptr<const platform::Font> boldFont_;
    std::unique_ptr<platform::Window> window_;
};

// The viewer as the help openers call it: `path` is a help file address with
// its page, the command as above, `query` for the search.
bool openHtmlHelp(HelpViewer& viewer, platform::Window& owner, std::string_view path, HelpCommand command,
                  std::string_view query = {});

} // namespace help
