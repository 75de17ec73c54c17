// Top-level windows among programs: which window of a host is its top-level
// client (also while a window manager is still taking it over), whether it
// shows, whether a modal dialog of its program stands over it, and what our
// own top-level windows tell the window manager of their owner and frame.

#include "platform/x11/x11_system.h"

#include "platform/x11/x11_properties.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <optional>

#include <unistd.h>

namespace platform::x11 {

namespace {

constexpr long kIconicState = 3;
// Owners of owners: enough for any real dialog, and an end to a loop.
constexpr size_t kOwnerChainLimit = 16;
constexpr long kClientListLimit = 4096;

::Window parentOf(Display* display, ::Window window)
{
    ::Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count))
        return 0;
    if (children)
        XFree(children);
    return parent;
}

// Someone takes the map and configure requests of the window's children: a
// window manager on its frames (as on the root), an embedder on its socket.
bool redirectsChildren(Display* display, ::Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes)
        && (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

::Window transientFor(Display* display, ::Window window)
{
    ::Window owner = 0;
    return XGetTransientForHint(display, window, &owner) ? owner : 0;
}

::Window windowGroup(Display* display, ::Window window)
{
    ::Window group = 0;
    if (XWMHints* hints = XGetWMHints(display, window)) {
        if (hints->flags & WindowGroupHint)
            group = hints->window_group;
        XFree(hints);
    }
    return group;
}

bool viewable(Display* display, ::Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

bool contains(const std::vector<::Window>& windows, ::Window window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

Atom atom(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

bool hasAtom(Display* display, ::Window window, Atom property, Atom wanted)
{
    const std::vector<long> atoms = property32(display, window, property, XA_ATOM, 64);
    return std::find(atoms.begin(), atoms.end(), static_cast<long>(wanted)) != atoms.end();
}

// A window transient for another is a dialog unless it names a type of its
// own (a palette, a tool bar, a torn-off menu).
bool isDialogType(Display* display, ::Window window)
{
    const std::vector<long> types = property32(display, window, atom(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 16);
    if (types.empty())
        return true;
    const auto type = static_cast<Atom>(types.front());
    return type == atom(display, "_NET_WM_WINDOW_TYPE_DIALOG") || type == atom(display, "_NET_WM_WINDOW_TYPE_NORMAL");
}

// Who made a window: its program's process and its client leader, the
// window group. A window lacking one leaves it 0, which matches nothing.
struct Maker {
    long pid = 0;
    long leader = 0;
    ::Window group = 0;

    Maker(Display* display, ::Window window) : group(windowGroup(display, window))
    {
        const std::vector<long> pids = property32(display, window, atom(display, "_NET_WM_PID"), XA_CARDINAL, 1);
        const std::vector<long> leaders =
            property32(display, window, atom(display, "WM_CLIENT_LEADER"), XA_WINDOW, 1);
        pid = pids.empty() ? 0 : pids.front();
        leader = leaders.empty() ? 0 : leaders.front();
    }
};

// A host may show its window without naming its owner (one restored with a
// saved session often does): its dialogs are still known by the process
// they come from (ours: a plug-in lives in its host's process) or by the
// leader and group its windows share.
bool sameProgram(const Maker& host, const Maker& other)
{
    const bool samePid = other.pid != 0 && (other.pid == host.pid || other.pid == static_cast<long>(getpid()));
    return samePid || (other.leader != 0 && other.leader == host.leader)
        || (other.group != 0 && other.group == host.group);
}

// _NET_FRAME_EXTENTS: left, right, top, bottom; none when the manager has
// not framed the window (or has taken the property away on hiding it).
std::optional<Rect> frameExtents(Display* display, ::Window window, Atom netFrameExtents)
{
    const std::vector<long> extents = property32(display, window, netFrameExtents, XA_CARDINAL, 4);
    if (extents.size() != 4)
        return std::nullopt;
    return Rect{static_cast<int32_t>(extents[0]), static_cast<int32_t>(extents[2]), static_cast<int32_t>(extents[1]),
                static_cast<int32_t>(extents[3])};
}

// A request about a window to the window manager (EWMH): a client message
// to the root, which the manager takes whichever program sends it.
void askManagerAbout(Display* display, ::Window root, ::Window window, Atom type, const std::array<long, 5>& data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    for (size_t i = 0; i < data.size(); ++i)
        event.xclient.data.l[i] = data[i];
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace

::Window System::topLevelOf(::Window xid) const
{
    std::vector<::Window> chain;   // the window, then its ancestors below the root
    for (::Window at = xid; at && at != root_; at = parentOf(display_, at)) {
        if (hasProperty(display_, at, atoms_.wmState))
            return at;
        chain.push_back(at);
    }
    if (chain.empty())
        return xid;
    // No WM_STATE yet: no window manager, or one that has put the window in
    // its frame without marking it. The client window is the highest one
    // whose parent (the frame, or the root) takes its requests while it
    // takes none of its own children's.
    bool parentRedirects = true;
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        const bool redirects = redirectsChildren(display_, *at);
        if (parentRedirects && !redirects)
            return *at;
        parentRedirects = redirects;
    }
    return chain.back();
}

bool System::takenAsTopLevelChange(const XEvent& event)
{
    if (!watchingTopLevels_ || event.xany.window != root_)
        return false;
    switch (event.type) {
    case PropertyNotify:
        if (event.xproperty.atom == atoms_.netClientList)
            ++topLevelChanges_;
        return false;
    case MapNotify:
    case UnmapNotify:
    case DestroyNotify:
    case ReparentNotify:
        ++topLevelChanges_;
        return true;
    case CreateNotify:
    case ConfigureNotify:
    case GravityNotify:
    case CirculateNotify:
        return true;   // the root's copy of a child's event; the child's own comes too
    default:
        return false;
    }
}

bool System::modalDialogOver(::Window window)
{
    if (!watchingTopLevels_) {
        XSelectInput(display_, root_, PropertyChangeMask | SubstructureNotifyMask);
        watchingTopLevels_ = true;
        ++topLevelChanges_;
    }
    if (modalAnswer_.topLevel == window && modalAnswer_.changes == topLevelChanges_)
        return modalAnswer_.modal;
    modalAnswer_ = {window, topLevelChanges_, false};

    const ::Window top = topLevelOf(window);
    std::vector<::Window> owners{top};
    for (::Window at = transientFor(display_, top); at && at != root_ && !contains(owners, at)
                                                    && owners.size() < kOwnerChainLimit;
         at = transientFor(display_, at))
        owners.push_back(at);
    const Maker host(display_, top);

    // The window manager's list of the windows it manages; without one, the
    // root's children that it would have managed.
    std::vector<::Window> clients;
    if (hasProperty(display_, root_, atoms_.netClientList)) {
        for (long client : property32(display_, root_, atoms_.netClientList, XA_WINDOW, kClientListLimit))
            clients.push_back(static_cast<::Window>(client));
    } else {
        ::Window rootReturn = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display_, root_, &rootReturn, &parent, &children, &count) && children) {
            for (unsigned int i = 0; i < count; ++i) {
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display_, children[i], &attributes) && !attributes.override_redirect)
                    clients.push_back(children[i]);
            }
        }
        if (children)
            XFree(children);
    }

    for (::Window client : clients) {
        if (own(client) || contains(owners, client))
            continue;
        const ::Window owner = transientFor(display_, client);
        bool dialog = owner == top && isDialogType(display_, client);
        // A modal dialog of the host's blocks all its windows, whichever it
        // names as owner, or none.
        if (!dialog && hasAtom(display_, client, atoms_.netWmState, atoms_.netWmStateModal))
            dialog = contains(owners, owner) || sameProgram(host, Maker(display_, client));
        if (dialog && viewable(display_, client)) {
            modalAnswer_.modal = true;
            break;
        }
    }
    return modalAnswer_.modal;
}

void System::keepWindowsOfProcessAbove(int pid)
{
    // Only a window manager keeps windows above: its list holds the windows
    // it manages, and their state once it has taken the request.
    const Atom pidAtom = atom(display_, "_NET_WM_PID");
    for (long client : property32(display_, root_, atoms_.netClientList, XA_WINDOW, kClientListLimit)) {
        const auto window = static_cast<::Window>(client);
        const std::vector<long> pids = property32(display_, window, pidAtom, XA_CARDINAL, 1);
        if (pids.empty() || pids.front() != pid || hasAtom(display_, window, atoms_.netWmState, atoms_.netWmStateAbove))
            continue;
        constexpr long kAdd = 1;
        constexpr long kFromApplication = 1;
        askManagerAbout(display_, root_, window, atoms_.netWmState,
                        {kAdd, static_cast<long>(atoms_.netWmStateAbove), 0, kFromApplication, 0});
    }
    XFlush(display_);
}

bool ForeignWindow::isShowing() const
{
    return alive_ && viewable(system_.display(), xid_);
}

bool ForeignWindow::isMinimised() const
{
    if (!alive_)
        return false;
    const Atom wmState = system_.atoms().wmState;
    const std::vector<long> state = property32(system_.display(), xid_, wmState, wmState, 1);
    return !state.empty() && state.front() == kIconicState;
}

bool ForeignWindow::isEnabled() const
{
    return !alive_ || !system_.modalDialogOver(xid_);
}

void OwnWindow::setOwner(Window* owner)
{
    if (!alive_ || parent_ != 0)
        return;
    const bool usable = owner && owner->alive() && &owner->system() == &system_;
    owner_ = usable ? static_cast<::Window>(owner->handle()) : 0;
    writeOwnerHint();
}

void OwnWindow::writeOwnerHint()
{
    Display* display = system_.display();
    const Handle* owner = owner_ ? system_.lookUp(owner_) : nullptr;
    const ::Window top = owner && owner->alive() ? system_.topLevelOf(owner_) : 0;
    if (transientFor(display, xid_) == top)
        return;
    if (top)
        XSetTransientForHint(display, xid_, top);
    else
        XDeleteProperty(display, xid_, XA_WM_TRANSIENT_FOR);
}

void OwnWindow::askWindowManager(Atom type, std::array<long, 5> data)
{
    askManagerAbout(system_.display(), system_.root(), xid_, type, data);
}

void OwnWindow::askFrameMargins()
{
    askWindowManager(atom(system_.display(), "_NET_REQUEST_FRAME_EXTENTS"), {});
}

Rect OwnWindow::frameMargins() const
{
    if (!alive_ || parent_ != 0)
        return {};
    // The manager takes the extents away when the window is hidden; the
    // frame it had is the one it will get.
    if (const std::optional<Rect> extents = frameExtents(system_.display(), xid_, system_.atoms().netFrameExtents))
        margins_ = *extents;
    return margins_;
}

Rect ForeignWindow::frameMargins() const
{
    // Only a window the manager framed carries the extents.
    if (!alive_)
        return {};
    return frameExtents(system_.display(), xid_, system_.atoms().netFrameExtents).value_or(Rect{});
}

} // namespace platform::x11
