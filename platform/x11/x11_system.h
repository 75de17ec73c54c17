#pragma once
// Inside the X11 backend only: the connection, our windows and the host's
// windows we track. Messages are handled as pump() reads their events, so
// that a handler sees the state of its own event, never a later one.

// The window layer's headers come before Xlib's, whose macros would
// otherwise rename two of its messages.
#include "platform/drag.h"
#include "platform/graphics/damage_list.h"
#include "platform/graphics/image.h"
#include "platform/x11/x11_window_system.h"

#include "platform/x11/x11_keys.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <bitset>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::x11 {

constexpr int kXFocusIn = FocusIn;
constexpr int kXFocusOut = FocusOut;
#undef FocusIn
#undef FocusOut

class System;
class PopupSession;
class DropReceiver;
class SharedPixels;

struct Atoms {
    explicit Atoms(Display* display);
    Atom wmProtocols, wmDeleteWindow, wmState, netWmState, netWmStateAbove, netWmName, netWmIcon, utf8String,
        clipboard, clipboardProperty, motifHints, netWmStateMaximisedVert, netWmStateMaximisedHorz,
        netWmStateModal, netFrameExtents, netClientList;
};

// Puts pixels of an image on a drawable of one visual: straight from the
// image for 32-bit pixels (with alpha 255 on a 32-bit visual), else pixel by
// pixel through the visual's masks.
class Presenter {
public:
    Presenter() = default;
    Presenter(Display* display, Visual* visual, int depth);
    void put(Display* display, Drawable target, GC gc, const Image& image, const Rect& area) const;
    // The image's words go out as they are (with the top byte set when
    // opaqueAlpha()): what shared memory can carry.
    bool direct() const { return direct_; }
    bool opaqueAlpha() const { return opaqueAlpha_; }
    Visual* visual() const { return visual_; }
    int depth() const { return depth_; }

private:
    Visual* visual_ = nullptr;
    int depth_ = 24;
    bool direct_ = false;
    bool opaqueAlpha_ = false;
};

// A window the system knows: ours, or one outside the program.
class Handle : public platform::Window {
public:
    ::Window xid() const { return xid_; }
    WindowSystem& system() override;
    uintptr_t handle() const override { return xid_; }
    bool alive() const override { return alive_; }
    void setHandler(WindowHandler* handler) override { handler_ = handler; }
    virtual bool isOwn() const = 0;

protected:
    Handle(System& system, ::Window xid, WindowHandler* handler) : system_(system), xid_(xid), handler_(handler) {}

    System& system_;
    const ::Window xid_;
    WindowHandler* handler_;
    bool alive_ = true;
    friend class System;
};

class OwnWindow final : public Handle {
public:
    OwnWindow(System& system, ::Window xid, const WindowOptions& options, const Presenter& presenter);
    ~OwnWindow() override;

    bool isOwn() const override { return true; }
    Window* parent() const override;
    bool isTopLevel() const override { return parent_ == 0; }
    Rect rect() const override { return rect_; }
    Point screenOrigin() const override;
    void setRect(const Rect& rect) override;
    void setParent(Window* parent) override;
    void show(bool visible) override;
    bool isVisible() const override { return alive_ && visible_; }
    void setTitle(const char* title) override;
    std::string className() const override { return className_; }
    void setIcon(const Image& icon) override;
    void setKeepAbove(bool above) override;
    void raise() override;
    void setMaximised(bool maximised) override;
    bool isMaximised() const override { return maximised_; }
    void minimise() override;
    void beginMove() override;
    void setDecorated(bool decorated) override;
    void setMinimumSize(int32_t width, int32_t height) override;
    void setOwner(Window* owner) override;
    Rect frameMargins() const override;
    Image& image() override { return image_; }
    void invalidate(const Rect& area) override;
    void present(const Rect& area) override;
    void setTimer(uint32_t id, uint32_t periodMs) override;
    void killTimer(uint32_t id) override { timers_.erase(id); }
    void post(intptr_t param) override;
    void takeFocus() override;
    bool hasFocus() const override;
    void setCursor(Cursor cursor) override;
    Cursor cursor() const override { return cursor_; }
    // Also makes the window (and our top level above it) XdndAware.
    void acceptDrops(bool accept) override;
    bool acceptsDrops() const { return drops_; }

    // Visible up to its top-level window (a host's window counts as shown).
    bool showing() const;
    // What the server said about our size or place.
    void configured(const Rect& rect);
    // The window manager's _NET_WM_STATE changed.
    void stateChanged();
    // A tool window takes the focus once it is mapped.
    bool isTool() const { return tool_; }
    void activate();

private:
    friend class System;
    struct Timer {
        uint32_t period;
        uint32_t due;
    };
    void resizeImage(int32_t width, int32_t height);
    // WM_TRANSIENT_FOR: the owner's top-level window, found anew each time,
    // as the owner's program may have moved it since.
    void writeOwnerHint();
    // Asks the window manager for the frame it will give the window.
    void askFrameMargins();
    // A request about this window to the window manager: a client message
    // of that type with up to five longs, sent to the root.
    void askWindowManager(Atom type, std::array<long, 5> data);
    // Adds or removes states through the window manager (a mapped window)
    // or in the property it reads at mapping.
    void changeState(bool add, Atom first, Atom second);
    // Asks the window manager to add or remove up to two states.
    void askStateChange(bool add, Atom first, Atom second);
    // No frame, above the others, off the taskbar and pager.
    void markAsTool();
    // The _NET_WM_STATE a window manager reads when it maps the window.
    void writeInitialState();

    ::Window parent_ = 0;   // 0 for top level
    ::Window owner_ = 0;    // a top-level window's owner, as it was given
    mutable Rect margins_;  // the frame the window manager last gave
    Rect rect_;
    bool visible_;
    std::string className_;
    bool above_ = false;
    bool maximised_ = false;
    Image image_;
    Rect invalid_;
    DamageList damage_;
    std::unique_ptr<SharedPixels> shared_;   // made at the first present
    std::map<uint32_t, Timer> timers_;
    Cursor cursor_ = Cursor::Arrow;
    bool drops_ = false;
    bool tool_ = false;
    Presenter presenter_;
    GC gc_ = nullptr;
};

// A host's window: moves, focus and destruction reach its handler.
class ForeignWindow final : public Handle {
public:
    ForeignWindow(System& system, ::Window xid) : Handle(system, xid, nullptr) {}
    bool isOwn() const override { return false; }
    Window* parent() const override;
    bool isTopLevel() const override { return parent() == nullptr; }
    Rect rect() const override;
    Point screenOrigin() const override;
    // A host's window is not ours to change.
    void setRect(const Rect&) override {}
    void setParent(Window*) override {}
    void show(bool) override {}
    bool isVisible() const override;
    // Viewable (it and every window above it mapped), and its top level not
    // iconified: some window managers keep iconified windows mapped.
    bool isShowing() const override;
    bool isMinimised() const override;
    bool isEnabled() const override;
    // The frame the window manager gave a top-level window; none else.
    Rect frameMargins() const override;
    void setTitle(const char*) override {}
    std::string className() const override;
    void setIcon(const Image&) override {}
    void setKeepAbove(bool) override {}
    void raise() override {}
    Image& image() override { return nothing_; }
    void invalidate(const Rect&) override {}
    void present(const Rect&) override {}
    void setTimer(uint32_t, uint32_t) override {}
    void killTimer(uint32_t) override {}
    void post(intptr_t) override {}
    void takeFocus() override;
    bool hasFocus() const override { return false; }
    void setCursor(Cursor) override {}
    Cursor cursor() const override { return Cursor::Arrow; }
    void acceptDrops(bool) override {}

private:
    friend class System;
    Image nothing_;
};

class System final : public X11WindowSystem {
public:
    explicit System(Display* display);
    ~System() override;

    std::unique_ptr<platform::Window> createWindow(const WindowOptions& options) override;
    platform::Window* findWindow(uintptr_t handle) override;
    uint32_t ticks() override;
    InputState inputState() override;
    Point cursorPosition() override;
    void warpPointer(Point screen) override;
    Image captureScreen() override;
    // The monitors from XRandR when the server has it, else the screen;
    // cut to _NET_WORKAREA when the window manager sets it.
    Rect workArea(const Rect& near) override;
    int32_t trackPopup(platform::Window& owner, const PopupMenu& menu, Point screen, bool rightButton) override;
    void setKeyFilter(KeyFilter* filter) override { keyFilter_ = filter; }
    bool registerHotKey(platform::Window& target, int32_t id, uint32_t modifiers, uint8_t windowsKey) override;
    void unregisterHotKey(platform::Window& target, int32_t id) override;
    bool sendKey(platform::Window& target, uint8_t windowsKey, uint32_t modifiers) override;
    // One press or release with an X modifier state.
    bool sendKeyEvent(platform::Window& target, uint8_t windowsKey, unsigned int state, bool down);
    Rect screenArea() override;
    void pump() override;
    void waitForEvents(uint32_t timeoutMs) override;
    std::vector<platform::Window*> children(platform::Window& parent) override;
    void placeWindow(platform::Window& window, const Rect& rect) override;
    bool forwardKey(platform::Window& target, const WindowMessage& key) override;
    std::string clipboardText() override;
    bool popupShowing() const override { return popup_ != nullptr; }
    void pumpModal(platform::Window* modal) override;
    void sync() override;
    int connectionNumber() const override;
    void keepWindowsOfProcessAbove(int pid) override;

    Display* display() const { return display_; }
    ::Window root() const { return root_; }
    int screen() const { return screen_; }
    const Atoms& atoms() const { return atoms_; }
    const Keyboard& keyboard() const { return keyboard_; }
    Handle* lookUp(::Window xid) const;
    OwnWindow* own(::Window xid) const;
    ::Cursor fontCursor(Cursor cursor);
    ::Window focus() const { return focus_; }
    void setFocus(OwnWindow* window);
    // Handled at once with the live input state, as Windows sends these.
    void send(Handle& window, WindowMessage& message);
    // The key filter for keys, the handler, then the default processing.
    void dispatch(Handle& window, WindowMessage& message);
    void queue(Handle& window, const WindowMessage& message) { posted_.push_back({window.xid(), message}); }
    void destroyTree(OwnWindow& window);
    InputState stateOf(unsigned int xstate) const;
    // The top-level client window of a window: the ancestor with WM_STATE,
    // or, before a window manager has written it, the highest ancestor
    // inside the manager's frame (never the frame itself).
    ::Window topLevelOf(::Window xid) const;
    // Whether a modal dialog of the program that owns this top-level window
    // shows over it: a window of another connection's, viewable, transient
    // for it, or modal (_NET_WM_STATE_MODAL) and either transient for one of
    // its owners or made by the same program (process, client leader or
    // window group), whatever owner it names.
    bool modalDialogOver(::Window topLevel);
    // Our windows painted, timed and presented: what a pump does after its
    // events, and what a popup's loop does for the windows under it.
    void serviceWindows();
    // One event; the popup, while there is one, sees input first.
    void handleEvent(XEvent& event);
    void runModalIdle()
    {
        if (modalIdle_)
            modalIdle_();
    }
    DropReceiver& dropReceiver() { return *dropReceiver_; }
    // Our windows that take drops, shown or not.
    std::vector<OwnWindow*> dropWindows() const;

private:
    void handleButton(OwnWindow& window, const XButtonEvent& event);
    void handleKey(const XKeyEvent& event);
    void handleFocus(const XFocusChangeEvent& event);
    void handleConfigure(const XConfigureEvent& event);
    void handleDestroyed(::Window xid);
    bool takenAsHotKey(unsigned int keycode, uint8_t key, const InputState& state, bool down);
    void dispatchPosted();
    void paintPending();
    void fireTimers();
    void presentDamage();
    // Puts the window's changed parts on the screen; true when through
    // shared memory, which the server must read before it is written again.
    bool presentParts(OwnWindow& window);
    std::vector<OwnWindow*> ownWindows() const;

    Display* display_;
    int screen_;
    ::Window root_;
    Atoms atoms_;
    Keyboard keyboard_;
    int xkbEventBase_ = -1;
    std::map<::Window, OwnWindow*> own_;
    std::map<::Window, std::unique_ptr<ForeignWindow>> foreign_;
    // Gone host windows stay until we close: a caller may still hold one.
    std::vector<std::unique_ptr<ForeignWindow>> departed_;
    ::Window focus_ = 0;
    std::vector<const InputState*> handling_;   // innermost last
    std::deque<std::pair<::Window, WindowMessage>> posted_;
    KeyFilter* keyFilter_ = nullptr;
    struct HotKey {
        ::Window target;
        int32_t id;
        unsigned int keycode;
        unsigned int modifiers;
    };
    std::map<uint32_t, HotKey> hotKeys_;   // by modifiers << 8 | key
    unsigned int hotKeyHeld_ = 0;
    std::bitset<256> keysDown_;
    std::array<::Cursor, 4> cursors_{};
    PopupSession* popup_ = nullptr;
    friend class PopupSession;
    // Top-level windows coming and going, as the root tells them once we
    // watch it; a modal answer holds until the count moves.
    bool watchingTopLevels_ = false;
    uint64_t topLevelChanges_ = 0;
    struct ModalAnswer {
        ::Window topLevel = 0;
        uint64_t changes = 0;
        bool modal = false;
    } modalAnswer_;
    // A structure event the root reported about one of its children, or a
    // change of its client list: counted, and handled no further.
    bool takenAsTopLevelChange(const XEvent& event);
    std::unique_ptr<DropReceiver> dropReceiver_;
    uint32_t nextModalIdle_ = 0;
    bool sharingRefused_ = false;   // the server cannot share memory with us
    // The number the next request will get at the last flush: a flush also
    // reads whatever the server sent, so it is skipped when nothing waits.
    unsigned long flushedRequest_ = 0;
    // The number the next request got when the connection was last read.
    // Sending may make the library read the socket into its own buffer,
    // where poll() cannot see it: after requests went out, one read looks.
    unsigned long readRequest_ = 0;
    // What the last wait saw of the socket, for the pump after it.
    enum class Wait { Nothing, Quiet, Readable } lastWait_ = Wait::Nothing;
    // The events the pump takes: what is queued, and what the socket holds
    // only when it has something; an idle pass makes no system call here.
    int eventsArrived();
    void flushRequests();
};

} // namespace platform::x11
