#pragma once
// The host's frame window: a strip across the top (the plug-in's toolbar
// on the left, the host's volume slider, export and settings buttons on the
// right) and below it the window of class "MDIClient" in which the plug-in
// places its editor window, kept filling it. Its timer drives the editor's
// idle; its keys go on to the editor window, Shift+F10/F11 export and
// Shift+F12 opens the audio settings; closing asks first. GUI thread only,
// except postTitle.

#include "host/caption.h"
#include "host/host_state.h"
#include "platform/window.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace host {

extern const char kMainWindowTitle[];   // "Quorbel"
extern const char kMainWindowClass[];   // "QuorbelHost"
extern const char kMdiClientClass[];    // "MDIClient"
constexpr uint32_t kIdleTimer = 1;
constexpr uint32_t kIdlePeriodMs = 10;
// The window is the editor's size and this much more.
constexpr int kExtraWidth = 400;
constexpr int kExtraHeight = 585;

// What the window asks of the rest of the program.
class MainWindowActions {
public:
    virtual void openAudioSettings(platform::Window& owner) = 0;
    // Mode 1 from F10 and the export button, 0 from F11 and the button with Shift.
    virtual void startExport(platform::Window& owner, int mode) = 0;
    // The plug-in's question about an edited song, else "Are you sure you
    // want to quit?": true to quit.
    virtual bool confirmQuit(platform::Window& owner) = 0;

protected:
    ~MainWindowActions() = default;
};

class MainWindow : private platform::WindowHandler {
public:
    MainWindow(platform::WindowSystem& windows, HostState& state, MainWindowActions& actions);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates and shows the window with the plug-in's editor in it. False,
    // with nothing made, without a plug-in or a window; a plug-in without an
    // editor says so on standard output.
    bool create();
    // Until the quit is confirmed (or close()).
    bool isOpen() const { return frame_ && frame_->alive() && !closed_; }
    // Ends as a confirmed quit does: timer stopped, editor closed, window gone.
    void close();

    // Any thread: shown as the window's title at the next timer tick.
    void postTitle(std::string title);

    platform::Window* window() const { return frame_.get(); }
    platform::Window* mdiClient() const { return mdiClient_.get(); }
    // The MDI client's first child: the plug-in's editor window, once made.
    platform::Window* editorWindow() const;
    CaptionLayout caption() const;

private:
    // The MDI client's own paints: the workspace behind the editor window.
    struct Workspace : platform::WindowHandler {
        bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;
    };

    bool handleMessage(platform::Window& window, platform::WindowMessage& message) override;
    // The plug-in's editor rectangle, when it gives one.
    std::optional<platform::Rect> editorRect() const;
    void layout();
    void keepEditorFilling();
    void onTimer();
    void onKey(const platform::WindowMessage& message);
    void onPress(const platform::WindowMessage& message);
    void setVolumeAt(int x);
    void invalidateControls();
    void askToQuit();

    platform::WindowSystem& windows_;
    HostState& state_;
    MainWindowActions& actions_;
    Workspace workspace_;
    std::unique_ptr<platform::Window> frame_;
    std::unique_ptr<platform::Window> mdiClient_;
    bool maximised_ = false;
    bool editorOpen_ = false;
    bool closed_ = false;
    uint32_t ticks_ = 0;
    // The editor window kept filling the MDI client, once found.
    uintptr_t placedEditor_ = 0;
    bool editorInPlace_ = false;   // found filling the client at the last check
    std::mutex titleLock_;
    std::optional<std::string> pendingTitle_;
};

} // namespace host
