#pragma once
// The window layer under the toolkit: child and top-level windows that hand
// their messages to a handler (the window procedure) and keep their pixels in
// a backing image, with timers, focus, cursors, pointer and input state, popup
// menus and a pump. A backend (headless, X11) is an object, so several plug-in
// instances in one process each hold their own. GUI thread only.

#include "platform/key_table.h"
#include "platform/graphics/geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Dialogs;
class Image;
class Window;
class WindowSystem;
struct DragMessage;
struct PopupMenu;

// Mouse buttons and modifier keys as the toolkit's getMouseButtons reports them.
enum InputBits : uint32_t {
    kLeftButton = 1,
    kMiddleButton = 2,
    kRightButton = 4,
    kShiftHeld = 8,
    kControlHeld = 16,
    kAltHeld = 32,
};
constexpr uint32_t kButtonBits = kLeftButton | kMiddleButton | kRightButton;

// Buttons and keys at one moment. Buttons are logical: a backend whose
// system swaps the buttons reports the physical right button as left.
struct InputState {
    uint32_t bits = 0;   // InputBits
    bool capsLock = false;
    bool numLock = false;

    KeyboardState keyboard() const
    {
        return {(bits & kShiftHeld) != 0, (bits & kControlHeld) != 0, (bits & kAltHeld) != 0, capsLock, numLock};
    }
};

enum class Cursor : uint8_t { Arrow, Hand, Move, Copy };

enum class MessageKind : uint8_t {
    Paint,        // area: the damaged client rectangle; draw into the image
    KeyDown,      // key; keys go to the focus window
    KeyUp,
    MouseMove,    // point: client coordinates
    ButtonDown,   // point, button: the InputBits button that changed; the
                  // pressed window takes the focus first
    ButtonUp,
    Wheel,        // point: screen coordinates; wheelDelta: 120 a notch, + away from the user
    Timer,        // timerId; input may be left empty: inputState() tells
    Moved,        // area: the window's new rectangle in its parent
    Resized,      // area: as Moved; the image has the new size
    FocusIn,
    FocusOut,
    Close,        // the user asks a top-level window to close
    User,         // posted with post(); param
    HotKey,       // param: the id of a registered hot key
    MeasureItem,  // item: an owner-drawn popup row to measure
    DrawItem,     // item: an owner-drawn popup row to draw
    Destroy,      // the window goes; its handler hears nothing after this
    DragEnter,    // drag, point: something is dragged into a window that
    DragOver,     // accepts drops; the handler sets drag->effect
    DragLeave,
    Drop,         // drag: what was dropped
    StateChanged, // param: 1 a top-level window is now maximised, 0 no longer
    Reparented,   // a window outside the program was moved into another parent
};

// An owner-drawn row of a popup menu, sent to the menu's owner window.
struct MenuItemMessage {
    uintptr_t itemData = 0;
    int32_t id = 0;
    uint32_t state = 0;        // 1 checked, 2 grayed, 4 selected
    Image* image = nullptr;    // DrawItem: the popup's pixels
    Rect rect;                 // DrawItem: the row in the image
    int32_t width = 0;         // MeasureItem: the answer
    int32_t height = 0;
};

struct WindowMessage {
    MessageKind kind = MessageKind::Paint;
    InputState input;          // as it was when the event happened, not now
    Point point;
    uint32_t button = 0;
    int32_t wheelDelta = 0;
    Rect area;
    KeyMessage key;
    uint32_t timerId = 0;
    intptr_t param = 0;
    MenuItemMessage* item = nullptr;
    DragMessage* drag = nullptr;
};

class WindowHandler {
public:
    // True when handled; false asks for the default processing: a wheel goes
    // on to the parent window's handler, everything else is dropped.
    virtual bool handleMessage(Window& window, WindowMessage& message) = 0;

protected:
    ~WindowHandler() = default;
};

// Sees every key message of the backend before any window does; true
// swallows it.
class KeyFilter {
public:
    virtual bool filterKey(Window& target, const WindowMessage& message) = 0;

protected:
    ~KeyFilter() = default;
};

struct WindowOptions {
    enum class Kind : uint8_t { Child, TopLevel };
    Kind kind = Kind::Child;
    // A child's parent (required); for a top-level window the window it stays
    // above, or none.
    Window* parent = nullptr;
    Rect rect;                 // in the parent's client area; on the screen for top level
    const char* title = "";
    const char* className = "";   // what ancestor searches look for
    bool visible = true;
    WindowHandler* handler = nullptr;
    // A top-level tool window: no frame, kept above the others, off the
    // taskbar, and given the focus each time it shows (a help popup).
    bool tool = false;
};

class Window {
public:
    // Destroys the window: the handler and then those of its children hear
    // Destroy. Windows outside our program (see WindowSystem::findWindow)
    // are never destroyed by us.
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual WindowSystem& system() = 0;
    // The backend's handle (an XID on X11), as effEditOpen passes it.
    virtual uintptr_t handle() const = 0;
    // False once destroyed, also by the destruction of a parent.
    virtual bool alive() const = 0;
    virtual Window* parent() const = 0;
    virtual bool isTopLevel() const = 0;
    // Replaces the handler; a window outside the program gets one to be
    // told of its moves and focus.
    virtual void setHandler(WindowHandler* handler) = 0;

    // Position in the parent's client area (on the screen for top level) and size.
    virtual Rect rect() const = 0;
    // The client area's top-left on the screen.
    virtual Point screenOrigin() const = 0;
    virtual void setRect(const Rect& rect) = 0;
    virtual void setParent(Window* parent) = 0;
    virtual void show(bool visible) = 0;
    virtual bool isVisible() const = 0;
    // On the screen: shown itself and up to its top-level window.
    virtual bool isShowing() const
    {
        for (const Window* at = this; at; at = at->parent())
            if (!at->isVisible())
                return false;
        return true;
    }
    // A top-level window the window manager holds minimised (iconified).
    virtual bool isMinimised() const { return false; }
    // False while its program shows a modal dialog over it, as a window
    // that takes no input. Windows outside the program only.
    virtual bool isEnabled() const { return true; }
    virtual void setTitle(const char* title) = 0;
    virtual std::string className() const = 0;
    virtual void setIcon(const Image& icon) = 0;
    virtual void setKeepAbove(bool above) = 0;
    virtual void raise() = 0;
    // A top-level window's state as the window manager keeps it. Changes,
    // asked for here or made by the manager's own buttons, are reported
    // with StateChanged once they happen.
    virtual void setMaximised(bool maximised) { (void)maximised; }
    virtual bool isMaximised() const { return false; }
    virtual void minimise() {}
    // Whether the window manager draws its frame and caption.
    virtual void setDecorated(bool decorated) { (void)decorated; }
    // A top-level window: the smallest client size the window manager lets
    // the user make it.
    virtual void setMinimumSize(int32_t width, int32_t height)
    {
        (void)width;
        (void)height;
    }
    // A top-level window: the window it stays above, in place of the one it
    // was made with (WindowOptions::parent); none for no such window.
    virtual void setOwner(Window* owner) { (void)owner; }
    // A top-level window's frame from the window manager: how far it reaches
    // beyond the client area on the left, top (the caption), right and
    // bottom. setRect places this frame's top-left corner. All zero when the
    // window has no frame or the manager has not told its size yet.
    virtual Rect frameMargins() const { return {}; }
    // A top-level window: the window manager moves it with the pointer from
    // where the pointer is now until the button is let go.
    virtual void beginMove() {}

    // The window's pixels, as large as its client area. Drawing outside a
    // paint reports its rectangle with present().
    virtual Image& image() = 0;
    // Queues a paint of the area (merged with any pending one).
    virtual void invalidate(const Rect& area) = 0;
    virtual void present(const Rect& area) = 0;

    // A timer fires as Timer messages every periodMs from now; one with the
    // same id is replaced. An overdue timer fires once.
    virtual void setTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void killTimer(uint32_t id) = 0;
    // Queues a User message.
    virtual void post(intptr_t param) = 0;

    // The keyboard focus; FocusOut and FocusIn are sent at once.
    virtual void takeFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual void setCursor(Cursor cursor) = 0;
    virtual Cursor cursor() const = 0;
    // Whether files may be dropped on the window.
    virtual void acceptDrops(bool accept) = 0;

protected:
    Window() = default;
};

class WindowSystem {
public:
    virtual ~WindowSystem();

    // Null when the window cannot be made (a dead or missing parent).
    virtual std::unique_ptr<Window> createWindow(const WindowOptions& options) = 0;
    // A window by its handle: ours, or one outside the program (the host's)
    // that the system keeps track of until it is destroyed. Null for none.
    virtual Window* findWindow(uintptr_t handle) = 0;

    // Milliseconds, wrapping like a 32-bit tick count.
    virtual uint32_t ticks() = 0;
    // Inside a handler, the state of the message being handled; else the live one.
    virtual InputState inputState() = 0;
    virtual Point cursorPosition() = 0;   // screen
    // The whole screen area that top-level windows may take; empty when unknown.
    virtual Rect screenArea() { return {}; }
    virtual void warpPointer(Point screen) = 0;
    // Every monitor as it shows now, in one image of the whole virtual
    // screen; empty when the screen cannot be read (and by default).
    virtual Image captureScreen();
    // What windows may cover (panels and docks left out) on the monitor
    // nearest to a screen rectangle: the one it overlaps most, else the
    // closest.
    virtual Rect workArea(const Rect& near) = 0;

    // Shows the menu at a screen point until a row is chosen or the menu is
    // dismissed; messages keep flowing meanwhile. The chosen id (0 included),
    // or -1.
    virtual int32_t trackPopup(Window& owner, const PopupMenu& menu, Point screen, bool rightButton) = 0;

    virtual void setKeyFilter(KeyFilter* filter) = 0;
    // A key with exactly these modifiers (kShiftHeld, kControlHeld,
    // kAltHeld), wherever the focus is, reaches the target as HotKey with the
    // id and nothing else sees it. False when the key is taken elsewhere.
    virtual bool registerHotKey(Window& target, int32_t id, uint32_t modifiers, uint8_t windowsKey) = 0;
    virtual void unregisterHotKey(Window& target, int32_t id) = 0;
    // Hands a window outside the program a key press and release as its
    // system would deliver them, with these modifiers (kShiftHeld,
    // kControlHeld, kAltHeld) held. False when it could not be sent.
    virtual bool sendKey(Window& target, uint8_t windowsKey, uint32_t modifiers)
    {
        (void)target;
        (void)windowsKey;
        (void)modifiers;
        return false;
    }
    // Dispatches pending messages, then paints, then due timers; never blocks.
    virtual void pump() = 0;
    // Blocks until an event may be waiting, a timer is due or timeoutMs
    // have passed; a loop around pump() waits here.
    virtual void waitForEvents(uint32_t timeoutMs) { (void)timeoutMs; }

    // The windows inside a parent, ours and other programs', bottom of the
    // stacking order first.
    virtual std::vector<Window*> children(Window& parent)
    {
        (void)parent;
        return {};
    }
    // Moves and sizes a window in its parent, also another program's (as an
    // MDI client keeps its child filling it).
    virtual void placeWindow(Window& window, const Rect& rect) { window.setRect(rect); }
    // Hands a key message on to a window, ours or another program's, which
    // receives it marked as sent. False when it cannot be sent.
    virtual bool forwardKey(Window& target, const WindowMessage& key)
    {
        (void)target;
        (void)key;
        return false;
    }

    // The clipboard's text (Windows-1252), empty when there is none or its
    // owner does not answer in time.
    virtual std::string clipboardText() { return {}; }
    // Run about every 100 ms while a modal loop of the system (a popup menu
    // or a dialog) holds the GUI thread, so that the host's own idle goes on.
    virtual void setModalIdle(std::function<void()> idle) { modalIdle_ = std::move(idle); }

    // The dialogs over this system's windows: the desktop's unless a backend
    // has its own.
    virtual Dialogs& dialogs();
    // True while trackPopup shows a menu.
    virtual bool popupShowing() const { return false; }
    // One pass of a modal loop: what pump() does, but input reaches only the
    // modal window and its children (none when null); the rest is dropped.
    // Never blocks. Backends that cannot hold input back just pump.
    virtual void pumpModal(Window* modal)
    {
        (void)modal;
        pump();
    }

protected:
    WindowSystem();
    std::function<void()> modalIdle_;

private:
    std::unique_ptr<Dialogs> dialogs_;
};

} // namespace platform
