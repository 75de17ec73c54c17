#pragma once
// The window layer without a display: windows own their image and queue
// their messages; tests inject the mouse, the wheel and keys, move a fake
// clock for timers and ticks, and answer popup menus from a queue that keeps
// what each popup showed. Messages wait for pump(), as events wait for the
// editor's idle on a display.

#include "platform/dialogs/popup_menu.h"
#include "platform/drag.h"
#include "platform/graphics/image.h"
#include "platform/headless/headless_dialogs.h"
#include "platform/window.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform {

class HeadlessWindow;

class HeadlessWindowSystem final : public WindowSystem {
public:
    HeadlessWindowSystem();
    // Windows must go before their system.
    ~HeadlessWindowSystem() override;

    std::unique_ptr<Window> createWindow(const WindowOptions& options) override;
    Window* findWindow(uintptr_t handle) override;
    uint32_t ticks() override { return clock_; }
    InputState inputState() override;
    Point cursorPosition() override { return cursor_; }
    Rect screenArea() override { return screen_; }
    void warpPointer(Point screen) override { cursor_ = screen; }
    // The screen: a desktop of kScreenSize in kDesktopColour under every
    // showing window's image at its place; top-level windows stack in the
    // order they were made, kept-above ones last, each child over its parent
    // and cut to it.
    Image captureScreen() override;
    static constexpr Point kScreenSize{1024, 768};
    static constexpr Colour kDesktopColour = rgb(58, 110, 165);
    // One monitor of kScreenSize with nothing reserved, unless a test lays
    // out others.
    Rect workArea(const Rect& near) override;
    void setMonitors(std::vector<Rect> monitors, const Rect& desktopWorkArea = {});
    int32_t trackPopup(Window& owner, const PopupMenu& menu, Point screen, bool rightButton) override;
    void setKeyFilter(KeyFilter* filter) override { keyFilter_ = filter; }
    bool registerHotKey(Window& target, int32_t id, uint32_t modifiers, uint8_t windowsKey) override;
    void unregisterHotKey(Window& target, int32_t id) override;
    bool sendKey(Window& target, uint8_t windowsKey, uint32_t modifiers) override;
    void pump() override;
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(std::string text) { clipboard_ = std::move(text); }
    std::vector<Window*> children(Window& parent) override;
    // Queued for the target, which hears it at the next pump.
    bool forwardKey(Window& target, const WindowMessage& key) override;
    Dialogs& dialogs() override { return dialogs_; }
    bool popupShowing() const override { return inPopup_; }
    void pumpModal(Window* modal) override;

    // The fake clock; timers fire at the next pump.
    void advance(uint32_t ms) { clock_ += ms; }
    void setTicks(uint32_t ms) { clock_ = ms; }

    // The mouse at a client point of a window. The pointer and the buttons
    // change at once; the window hears it at the next pump. Buttons are
    // physical: with swapped buttons the left one reports as right.
    void injectMove(Window& window, Point client);
    void injectButton(Window& window, Point client, uint32_t physicalButton, bool down);
    void click(Window& window, Point client, uint32_t physicalButton = kLeftButton);
    void injectWheel(Window& window, Point client, int32_t delta);
    void setButtonsSwapped(bool swapped) { swapped_ = swapped; }

    // A key to the focus window when it is pumped (dropped without one; a
    // click before it moves the focus), with characters from
    // the UK columns of the key table. Left and right modifier keys arrive as
    // the generic ones; keypad keys follow Num Lock.
    void injectKey(uint8_t windowsKey, bool down, uint16_t repeatCount = 1, bool autoRepeat = false);
    void pressKey(uint8_t windowsKey);   // down, then up
    // The user asks a top-level window to close (its close button).
    void injectClose(Window& window);
    void setToggles(bool capsLock, bool numLock);

    struct PopupRequest {
        uintptr_t owner = 0;
        PopupMenu menu;
        Point screen;
        bool rightButton = false;
        // The owner-drawn rows of the top menu as the owner drew them, stacked.
        Image rows;
    };
    // The answer to the next popup; without one a popup is dismissed (-1).
    void answerPopup(int32_t id) { popupAnswers_.push_back(id); }
    const std::vector<PopupRequest>& popupsAsked() const { return popups_; }

    // The keys handed to windows with sendKey, in order.
    struct SentKey {
        uintptr_t window = 0;
        uint8_t windowsKey = 0;
        uint32_t modifiers = 0;
    };
    const std::vector<SentKey>& keysSent() const { return sent_; }
    // Runs at the end of every pass of a modal window's loop (one of our own
    // dialogs), as the user working that window; null: nobody.
    void setModalUser(std::function<void(Window& modal)> user) { modalUser_ = std::move(user); }

    // The dialogs' scripted answers and the requests they were asked.
    HeadlessDialogs& scriptedDialogs() { return dialogs_; }

    // A drag over a window at a client point with buttons and keys held, as
    // the drop source reports them: DragEnter and DragOver are sent at once;
    // the effect the window answered.
    DropEffect dragOver(Window& window, Point client, const DragMessage& offer, uint32_t inputBits = 0);
    // The drop that ends a drag, sent at once. The effect the window answered.
    DropEffect drop(Window& window, Point client, const DragMessage& data, uint32_t inputBits = 0);
    void dragLeave(Window& window);

    Window* focusWindow() const;
    size_t pendingMessages() const { return queue_.size(); }
    bool timerRunning(const Window& window, uint32_t id) const;
    bool acceptsDrops(const Window& window) const;
    bool keptAbove(const Window& window) const;
    // The window a top-level window was made to stay above; none for others.
    Window* owner(const Window& window) const;
    bool isTool(const Window& window) const;
    std::string title(const Window& window) const;
    bool minimised(const Window& window) const;
    // How many window-manager moves a window asked for, and the pointer's
    // screen position at the last one.
    int movesBegun(const Window& window, Point* pointer = nullptr) const;
    bool decorated(const Window& window) const;
    Point iconSize(const Window& window) const;

private:
    friend class HeadlessWindow;
    // A queued message for whichever window has the focus then.
    static constexpr uintptr_t kFocusWindow = 0;
    struct Queued {
        uintptr_t window;
        WindowMessage message;
    };

    HeadlessWindow* lookUp(uintptr_t handle) const;
    void enqueue(Window& window, const WindowMessage& message);
    // Handled at once, as Windows sends rather than posts these.
    void send(HeadlessWindow& window, WindowMessage& message);
    void destroyTree(HeadlessWindow& window);
    void enqueueMouse(Window& window, MessageKind kind, Point client, uint32_t button);
    bool takenAsHotKey(uint8_t key, bool down);
    // Runs the key filter for key messages and the default processing.
    void dispatch(HeadlessWindow& window, WindowMessage& message);
    void setFocus(HeadlessWindow* window);
    void paintPending();
    void fireTimers();

    std::map<uintptr_t, HeadlessWindow*> windows_;
    uintptr_t nextHandle_ = 0x400001;
    std::deque<Queued> queue_;
    uint32_t clock_ = 1000;
    Point cursor_;
    InputState live_;
    std::vector<const InputState*> handling_;   // innermost last
    bool swapped_ = false;
    uintptr_t focus_ = 0;
    KeyFilter* keyFilter_ = nullptr;
    struct HotKey {
        uintptr_t target;
        int32_t id;
    };
    // By modifiers << 8 | key.
    std::map<uint32_t, HotKey> hotKeys_;
    uint8_t hotKeyHeld_ = 0;
    std::deque<int32_t> popupAnswers_;
    std::vector<PopupRequest> popups_;
    bool inPopup_ = false;
    std::string clipboard_;
    std::function<void(Window&)> modalUser_;
    std::vector<SentKey> sent_;
    Rect screen_{0, 0, kScreenSize.x, kScreenSize.y};
    HeadlessDialogs dialogs_{*this};
    std::vector<Rect> monitors_{Rect{0, 0, kScreenSize.x, kScreenSize.y}};
    Rect desktopWorkArea_;
};

} // namespace platform
