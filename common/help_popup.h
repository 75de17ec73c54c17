#pragma once
// The help popup: a frameless tool window over its owner that shows one
// key-reference page of the help, sizes itself to the page's table, keeps
// itself on the monitor, pages through the chain of key pages with the
// arrow keys and Page Up / Page Down, and closes on any other key, when it
// loses the focus, or when a page will not load in time. It runs its own
// loop on the GUI thread: the command that opens it waits until it closes.
// GUI thread only.

#include "platform/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace help {

class CHelpPopup : private platform::WindowHandler {
public:
    static constexpr const char* kClassName = "QuorbelHelp";
    static constexpr const char* kTitle = "Quorbel Help";
    static constexpr int32_t kOk = 1;
    static constexpr int32_t kCancelled = 2;
    // Timer 1 watches the page load every 10 ms, within the load budget.
    static constexpr uint32_t kLoadTimer = 1;
    static constexpr uint32_t kLoadTimerMs = 10;
    static constexpr int32_t kLoadBudgetMs = 5000;
    // The size the window is made at, before it fits the page.
    static constexpr platform::Point kFirstSize{1600, 1200};

    // `owner`: the window the popup stays above and gives the focus back to
    // when a key closes it; may be null.
    CHelpPopup(platform::WindowSystem& system, platform::Window* owner);
    ~CHelpPopup();
    CHelpPopup(const CHelpPopup&) = delete;
    CHelpPopup& operator=(const CHelpPopup&) = delete;

    // The page shown next, and its address in the help file.
    void setPage(std::string_view name);
    // False at once when the load budget is spent (a page once took longer
    // than it to load): the caller opens the help viewer instead. Otherwise
    // opens the popup at (x, y) on the screen and runs it until it closes;
    // true while the budget lasts.
    bool showPage(std::string_view helpFile, std::string_view page, int32_t x, int32_t y);
    // Makes the window and runs its loop; the result.
    int32_t run();
    // Close with the result 1 or 2.
    void onOK();
    void onCancel();

    // The popup without its loop, for a caller that pumps the window system
    // itself: showPage's checks, then the window is made and the page
    // starts loading. False when it refuses or the page cannot be shown.
    bool open(std::string_view helpFile, std::string_view page, int32_t x, int32_t y);
    bool isOpen() const { return window_ != nullptr; }
    int32_t result() const { return result_; }
    const std::string& page() const { return page_; }
    const std::string& address() const { return address_; }
    platform::Window* window() const { return window_.get(); }

    // Milliseconds a page may take to load; 0 once one took longer.
    static int32_t loadBudget();

private:
    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;
    // The window's handlers.
    bool onCreate();
    bool showAddress();
    void onTimer();
    void onKeyDown(uint8_t windowsKey);
    void onDeactivate();
    void fitToPage();
    bool createWindow();
    void close(int32_t result, bool focusBack);

    platform::WindowSystem& system_;
    uintptr_t owner_ = 0;   // by handle: the owner may go first
    std::string page_;
    std::string helpFile_;
    std::string address_;
    platform::Point position_;
    int32_t result_ = kCancelled;
    std::unique_ptr<platform::Window> window_;
};

} // namespace help
