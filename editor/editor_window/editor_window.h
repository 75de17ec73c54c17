#pragma once
// The editor window as a window of the desktop, apart from the pages in it:
// the window system it comes from, where the window goes when it is made,
// its window procedure, the hot keys, the key filter of manual key mode and
// the host hook that keeps it with the host's window (shown and hidden with
// it, placed below it when linked, hung on its top window). What the
// messages mean to the pages (keys, the wheel, timers, focus, size) it hands
// to the editor.
//
// GUI thread only.

#include "editor/editor_window/host_hook.h"
#include "platform/graphics/geometry.h"
#include "platform/window.h"

#include <cstdint>
#include <memory>

class TesselEditor;

class TesselEditorWindow final : private platform::WindowHandler, private platform::KeyFilter {
public:
    explicit TesselEditorWindow(TesselEditor& editor);
    ~TesselEditorWindow();
    TesselEditorWindow(const TesselEditorWindow&) = delete;
    TesselEditorWindow& operator=(const TesselEditorWindow&) = delete;

    // effEditOpen: the window system a test supplies, else an X connection
    // of our own; effEditClose lets it go after the last window.
    void connect();
    void disconnect();
    platform::WindowSystem* system() const { return windows_; }
    platform::Window* window() const { return window_.get(); }

    // Makes the window, hidden, where it belongs; false when no window could
    // be made. `client` is its client area at its own origin.
    bool create(platform::Rect& client);
    // Keeps the window with the host's windows (outside our own host).
    void hookHost();
    // The hot keys off, the key filter and the host hook gone, the window too.
    void destroy();

    void registerHotKeys(bool on);
    // Manual key mode: keys of the host's thread come here first.
    void filterKeys();

    // The user asked for the window (the host may still keep it hidden).
    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }
    // Shows or hides the window as its shown flag and the host allow.
    void followHost();
    // The host's top window (its framed window, else its root); null when
    // the toolbar's window is the top one itself.
    platform::Window* hostTopWindow() const;
    // Places the window at the host's window again (posted, so that it runs
    // after the host's own handling).
    void relink();

private:
    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;
    bool filterKey(platform::Window& target, const platform::WindowMessage& message) override;

    platform::Window* hostWindow() const;
    platform::Window* hookedHostTop() const;
    platform::Rect chooseRect(platform::Window*& parent, bool& child);
    void installHostHook(bool install);
    void rehangOnHost();
    // Whether the host's windows let the editor window show now: the host's
    // window shows, and no modal dialog of the host stands over it.
    bool hostLetsWindowShow() const;
    void linkToHost();

    TesselEditor& editor_;
    platform::WindowSystem* windows_ = nullptr;
    std::unique_ptr<platform::WindowSystem> ownWindows_;
    std::unique_ptr<platform::Window> window_;
    TesselHostHook hostHook_;
    // The host's top window the hook ends at (0 before the hook), by handle:
    // the host may destroy it at any time.
    uintptr_t hostTop_ = 0;
    bool keyFilterOn_ = false;
    bool hotKeysOn_ = false;
    bool shown_ = false;
    platform::Rect savedRect_;
};
