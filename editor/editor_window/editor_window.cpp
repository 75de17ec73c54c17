// Where the editor window goes, its window system, the hot keys and the host
// hook that keep it with the host's window, showing and hiding.

#include "editor/editor_window/editor_window.h"

#include "editor/core/tessel_editor.h"
#include "editor/editor_window/own_window_system.h"
#include "editor/editor_window/window_placement.h"
#include "gui/frame/frame.h"
#include "gui/frame/window_ancestors.h"
#include "plugin/plugin_globals.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"
#include "shell/preferences.h"

namespace {

constexpr const char* kWindowTitle = "Quorbel Window";
constexpr const char* kWindowClass = "QuorbelWindow";
constexpr const char* kMdiClientClass = "MDIClient";
constexpr uint32_t kHotKeyModifiers = platform::kControlHeld | platform::kAltHeld;

platform::Rect screenRect(platform::Window& window)
{
    const platform::Point origin = window.screenOrigin();
    const platform::Rect r = window.rect();
    return platform::rectOfSize(origin.x, origin.y, r.width(), r.height());
}

platform::Window* ancestorOfClass(platform::Window* window, const char* className)
{
    for (window = window ? window->parent() : nullptr; window; window = window->parent())
        if (window->className() == className)
            return window;
    return nullptr;
}

// The own host's MDI client: a child of the window the host opened the
// editor in, beside the toolbar.
platform::Window* childOfClass(platform::WindowSystem* windows, platform::Window* window, const char* className)
{
    if (!windows || !window || !window->alive())
        return nullptr;
    for (platform::Window* child : windows->children(*window))
        if (child->alive() && child->className() == className)
            return child;
    return nullptr;
}

platform::Rect preferenceRect(const TesselPreferences& preferences)
{
    if (preferences.positionX1 == preferences.positionX2 || preferences.positionY1 == preferences.positionY2)
        return {};
    return {preferences.positionX1, preferences.positionY1, preferences.positionX2, preferences.positionY2};
}

} // namespace

TesselEditorWindow::TesselEditorWindow(TesselEditor& editor) : editor_(editor) {}

TesselEditorWindow::~TesselEditorWindow() = default;

void TesselEditorWindow::connect()
{
    if (TesselEditor::windowSystemSource) {
        windows_ = TesselEditor::windowSystemSource();
    } else {
        ownWindows_ = openOwnWindowSystem();
        windows_ = ownWindows_.get();
    }
}

void TesselEditorWindow::disconnect()
{
    if (windows_)
        windows_->setModalIdle(nullptr);
    windows_ = nullptr;
    ownWindows_.reset();   // our connection goes after our last window
}

// The window the host opened the editor in, holding the toolbar frame.
platform::Window* TesselEditorWindow::hostWindow() const
{
    VSTGUI::CFrame* toolbar = editor_.toolbarFrame();
    return toolbar ? toolbar->getSystemWindow() : nullptr;
}

platform::Window* TesselEditorWindow::hostTopWindow() const
{
    VSTGUI::CFrame* toolbar = editor_.toolbarFrame();
    platform::Window* toolbarWindow = toolbar ? toolbar->getWindow() : nullptr;
    if (platform::Window* framed = findFramedAncestor(toolbarWindow))
        return framed;
    platform::Window* root = findRootWindow(toolbarWindow);
    return root != toolbarWindow ? root : nullptr;
}

platform::Rect TesselEditorWindow::chooseRect(platform::Window*& parent, bool& child)
{
    TesselPreferences& preferences = pluginPreferences();
    VSTGUI::CFrame* toolbar = editor_.toolbarFrame();
    platform::Window* toolbarWindow = toolbar ? toolbar->getWindow() : nullptr;
    const bool ownHost = inOwnHost();
    parent = nullptr;
    child = false;
    if (ownHost)
        parent = childOfClass(windows_, hostWindow(), kMdiClientClass);
    if (!parent && (ownHost || preferences.mergeWithHost))
        parent = ancestorOfClass(toolbarWindow, kMdiClientClass);
    child = parent != nullptr;
    if (ownHost && parent) {
        const platform::Rect client = parent->rect();
        return {0, 0, client.width(), client.height()};
    }
    if (!parent)
        parent = hostTopWindow();

    platform::Window* host = hostWindow();
    TesselPlacementRequest request;
    request.host = host && host->alive() ? screenRect(*host) : platform::Rect{};
    request.bounds = windows_->screenArea();
    if (child) {
        const platform::Point origin = parent->screenOrigin();
        request.host = request.host.movedBy(-origin.x, -origin.y);
        request.bounds = {0, 0, parent->rect().width(), parent->rect().height()};
    }
    request.saved = savedRect_;
    request.preference = child ? platform::Rect{} : preferenceRect(preferences);
    const TesselPlacement placement = placeEditorWindow(request);
    if (placement.source == TesselPlacementSource::kPreference)
        savedRect_ = placement.rect;
    return placement.rect;
}

bool TesselEditorWindow::create(platform::Rect& client)
{
    if (window_ || !windows_)
        return false;
    const bool ownHost = inOwnHost();
    platform::Window* parent = nullptr;
    bool child = false;
    const platform::Rect place = chooseRect(parent, child);

    platform::WindowOptions options;
    options.kind = child ? platform::WindowOptions::Kind::Child : platform::WindowOptions::Kind::TopLevel;
    options.parent = parent;
    options.rect = place;
    options.title = ownHost ? "" : kWindowTitle;
    options.className = kWindowClass;
    options.visible = false;
    options.handler = this;
    window_ = windows_->createWindow(options);
    if (!window_ && child) {
        // An MDI client that refuses children: a top-level window after all.
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.parent = hostTopWindow();
        options.title = kWindowTitle;
        window_ = windows_->createWindow(options);
    }
    if (!window_)
        return false;
    window_->setIcon(resources::loadBitmap(resources::kWindowIcon));
    client = {0, 0, place.width(), place.height()};
    return true;
}

void TesselEditorWindow::hookHost()
{
    installHostHook(true);
    relink();
}

void TesselEditorWindow::destroy()
{
    registerHotKeys(false);
    if (keyFilterOn_ && windows_)
        windows_->setKeyFilter(nullptr);
    keyFilterOn_ = false;
    installHostHook(false);
    window_.reset();
}

void TesselEditorWindow::registerHotKeys(bool on)
{
    if (!window_ || !windows_ || on == hotKeysOn_)
        return;
    hotKeysOn_ = on;
    if (on) {
        windows_->registerHotKey(*window_, TesselEditor::kHotKeyR, kHotKeyModifiers, 'R');
        windows_->registerHotKey(*window_, TesselEditor::kHotKeyF2, kHotKeyModifiers, platform::kWinF1 + 1);
        windows_->registerHotKey(*window_, TesselEditor::kHotKeyT, kHotKeyModifiers, 'T');
    } else {
        for (int32_t id : {TesselEditor::kHotKeyR, TesselEditor::kHotKeyF2, TesselEditor::kHotKeyT})
            windows_->unregisterHotKey(*window_, id);
    }
}

void TesselEditorWindow::filterKeys()
{
    if (keyFilterOn_ || !windows_)
        return;
    windows_->setKeyFilter(this);
    keyFilterOn_ = true;
}

void TesselEditorWindow::relink()
{
    if (window_)
        window_->post(TesselHostHook::kHostMoved);
}

// The hook hears every window from the one that holds the toolbar frame up
// to the host's top window: any of them may be hidden, moved or moved into
// another window.
void TesselEditorWindow::installHostHook(bool install)
{
    platform::Window* top = install ? hostTopWindow() : nullptr;
    hostTop_ = top ? top->handle() : 0;
    std::vector<platform::Window*> hostWindows;
    if (top) {
        for (platform::Window* at = hostWindow(); at && at != top; at = at->parent())
            hostWindows.push_back(at);
        hostWindows.push_back(top);
    }
    hostHook_.attach(windows_, hostWindows, window_.get());
}

platform::Window* TesselEditorWindow::hookedHostTop() const
{
    return hostTop_ && windows_ ? windows_->findWindow(hostTop_) : nullptr;
}

// The host's windows now hang elsewhere: the window we stay above and the
// windows we hear follow its top window.
void TesselEditorWindow::rehangOnHost()
{
    if (!window_ || inOwnHost())
        return;
    installHostHook(true);
    if (window_->isTopLevel())
        window_->setOwner(hookedHostTop());
    followHost();
    relink();
}

bool TesselEditorWindow::hostLetsWindowShow() const
{
    if (inOwnHost() || !window_ || !window_->isTopLevel())
        return true;
    platform::Window* host = hostWindow();
    if (!host)
        return true;
    // A host closes its plug-in's window by hiding it, often without
    // effEditClose: the editor window goes and comes with it.
    platform::Window* top = hookedHostTop();
    if (!host->alive() || !host->isShowing() || (top && top->isMinimised()))
        return false;
    // Kept above everything, the window would cover the host's modal dialogs.
    return !pluginPreferences().alwaysOnTop || !top || top->isEnabled();
}

void TesselEditorWindow::followHost()
{
    if (!window_)
        return;
    const bool show = shown_ && hostLetsWindowShow();
    if (show == window_->isVisible())
        return;
    // Placed before it is mapped, so that it appears where it belongs.
    if (show)
        linkToHost();
    window_->show(show);
}

// WM_USER: with "linkwindows" the window sits just below the host's window
// (above it when its monitor has no room below), inside the work area of
// its monitor.
void TesselEditorWindow::linkToHost()
{
    TesselPreferences& preferences = pluginPreferences();
    platform::Window* host = hostWindow();
    if (!window_ || !preferences.linkWindows || inOwnHost() || !host || !host->alive())
        return;
    platform::Rect hostRect = screenRect(*host);
    if (!window_->isTopLevel() && window_->parent()) {
        const platform::Point origin = window_->parent()->screenOrigin();
        hostRect = hostRect.movedBy(-origin.x, -origin.y);
    }
    const platform::Rect place = window_->rect();
    platform::Point at{hostRect.left - kLinkedLeftOffset, hostRect.bottom + kLinkedGapBelow};
    if (window_->isTopLevel()) {
        // The window manager's frame, caption and all, stays on the monitor,
        // and off the host's window with the host's caption.
        const platform::Rect margins = window_->frameMargins();
        const platform::Rect outer =
            platform::rectOfSize(at.x, at.y, margins.left + place.width() + margins.right,
                                 margins.top + place.height() + margins.bottom);
        platform::Window* hostTop = hookedHostTop();
        const int32_t hostTopEdge =
            hostTop && hostTop->alive() ? screenRect(*hostTop).top - hostTop->frameMargins().top : hostRect.top;
        const platform::Rect kept = linkedPlace(outer, hostTopEdge, windows_->workArea(outer));
        at = {kept.left, kept.top};
    }
    window_->setRect(platform::rectOfSize(at.x, at.y, place.width(), place.height()));
    if (window_->isTopLevel())
        window_->setKeepAbove(preferences.alwaysOnTop != 0);
}
