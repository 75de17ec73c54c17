#include "platform/x11/x11_drop.h"

#include "platform/drop_paths.h"
#include "platform/graphics/windows1252.h"
#include "platform/system/clock.h"
#include "platform/x11/x11_system.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <vector>

namespace platform::x11 {

namespace {

constexpr long kVersion = 5;
constexpr uint32_t kAnswerMs = 500;
// In bytes: 1024 names of up to 1023 bytes, escaped; a text's cap.
constexpr long kLongestList = 3 * 1024 * 1024;
constexpr long kLongestText = 65536;
constexpr size_t kMostFiles = 1024;

} // namespace

DropReceiver::DropReceiver(System& system) : system_(system), display_(system.display())
{
    const char* names[] = {"XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop",
                           "XdndFinished", "XdndSelection", "XdndTypeList", "XdndActionCopy", "XdndActionMove",
                           "text/uri-list", "text/plain;charset=utf-8", "text/plain", "UTF8_STRING",
                           "QUORBEL_DROP"};
    Atom* slots[] = {&aware_, &enter_, &position_, &status_, &leave_, &drop_, &finished_, &selection_,
                     &typeList_, &actionCopy_, &actionMove_, &uriList_, &plainUtf8_, &plain_, &utf8String_,
                     &property_};
    constexpr int count = sizeof names / sizeof names[0];
    Atom atoms[count];
    XInternAtoms(display_, const_cast<char**>(names), count, False, atoms);
    for (int i = 0; i < count; ++i)
        *slots[i] = atoms[i];
}

void DropReceiver::setAware(OwnWindow& window, bool aware)
{
    std::vector<::Window> windows{window.xid()};
    for (platform::Window* up = window.parent(); up; up = up->parent())
        if (!up->parent())
            if (OwnWindow* top = system_.own(static_cast<::Window>(up->handle())))
                windows.push_back(top->xid());
    for (::Window xid : windows) {
        if (aware) {
            const Atom version = kVersion;
            XChangeProperty(display_, xid, aware_, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&version), 1);
        } else if (xid == window.xid()) {
            XDeleteProperty(display_, xid, aware_);
        }
    }
}

bool DropReceiver::handle(const XClientMessageEvent& event)
{
    const Atom type = event.message_type;
    if (type != enter_ && type != position_ && type != leave_ && type != drop_)
        return false;
    if (type == enter_) {
        enter(event);
        return true;
    }
    if (static_cast<::Window>(event.data.l[0]) != source_)
        return true;   // a message of a drag we never entered
    if (type == position_)
        position(event);
    else if (type == leave_)
        leave();
    else
        drop(event);
    return true;
}

void DropReceiver::enter(const XClientMessageEvent& event)
{
    leave();
    source_ = static_cast<::Window>(event.data.l[0]);
    messageWindow_ = event.window;
    std::vector<Atom> types;
    if (event.data.l[1] & 1) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, source_, typeList_, 0, 256, False, XA_ATOM, &type, &format, &count, &rest,
                               &data) == Success && data) {
            if (format == 32)
                for (unsigned long i = 0; i < count; ++i)
                    types.push_back(reinterpret_cast<Atom*>(data)[i]);
            XFree(data);
        }
    } else {
        for (int i = 2; i < 5; ++i)
            if (event.data.l[i])
                types.push_back(static_cast<Atom>(event.data.l[i]));
    }
    auto offers = [&](Atom wanted) { return std::find(types.begin(), types.end(), wanted) != types.end(); };
    // File managers offer their URIs as text too: a list of them is files.
    offersFiles_ = offers(uriList_);
    textType_ = None;
    if (!offersFiles_)
        for (Atom candidate : {plainUtf8_, utf8String_, plain_})
            if (offers(candidate)) {
                textType_ = candidate;
                break;
            }
}

OwnWindow* DropReceiver::targetAt(Point screen)
{
    OwnWindow* best = nullptr;
    int bestDepth = -1;
    for (platform::Window* candidate : system_.dropWindows()) {
        auto* window = static_cast<OwnWindow*>(candidate);
        const Point origin = window->screenOrigin();
        const Rect area = rectOfSize(origin.x, origin.y, window->rect().width(), window->rect().height());
        if (!area.contains(screen))
            continue;
        int depth = 0;
        bool under = window->xid() == messageWindow_;
        for (platform::Window* up = window->parent(); up; up = up->parent()) {
            ++depth;
            under = under || up->handle() == messageWindow_;
        }
        if (under && depth > bestDepth) {
            best = window;
            bestDepth = depth;
        }
    }
    return best;
}

void DropReceiver::tell(OwnWindow& window, MessageKind kind, Point screen, DragMessage& drag)
{
    const Point origin = window.screenOrigin();
    WindowMessage message;
    message.kind = kind;
    message.point = {screen.x - origin.x, screen.y - origin.y};
    message.drag = &drag;
    drag.offersFiles = offersFiles_;
    drag.offersText = textType_ != None;
    system_.send(window, message);
}

void DropReceiver::position(const XClientMessageEvent& event)
{
    const Point screen{static_cast<int32_t>((event.data.l[2] >> 16) & 0xFFFF),
                       static_cast<int32_t>(event.data.l[2] & 0xFFFF)};
    lastPoint_ = screen;
    OwnWindow* target = targetAt(screen);
    const ::Window xid = target ? target->xid() : 0;
    if (xid != target_) {
        if (OwnWindow* before = system_.own(target_)) {
            DragMessage drag;
            tell(*before, MessageKind::DragLeave, screen, drag);
        }
        target_ = xid;
        effect_ = kNoEffect;
        if (target) {
            DragMessage drag;
            tell(*target, MessageKind::DragEnter, screen, drag);
            effect_ = drag.effect;
        }
    }
    if (OwnWindow* now = system_.own(target_)) {
        DragMessage drag;
        tell(*now, MessageKind::DragOver, screen, drag);
        effect_ = drag.effect;
    }
    const bool accepted = effect_ != kNoEffect && (offersFiles_ || textType_ != None);
    // Bit 1: send positions even inside the same window, so moving onto
    // another of ours is seen.
    reply(status_, (accepted ? 1 : 0) | 2, accepted ? actionOf(effect_) : None);
}

void DropReceiver::leave()
{
    if (OwnWindow* before = system_.own(target_)) {
        DragMessage drag;
        tell(*before, MessageKind::DragLeave, lastPoint_, drag);
    }
    source_ = 0;
    target_ = 0;
    effect_ = kNoEffect;
}

void DropReceiver::drop(const XClientMessageEvent& event)
{
    OwnWindow* target = system_.own(target_);
    const Time time = static_cast<Time>(event.data.l[2]);
    DragMessage drag;
    bool delivered = false;
    if (target && effect_ != kNoEffect) {
        std::string bytes;
        if (offersFiles_ && fetch(uriList_, time, kLongestList, bytes)) {
            drag.files = pathsOfUriList(bytes, kMostFiles);
            delivered = !drag.files.empty();
        } else if (textType_ != None && fetch(textType_, time, kLongestText, bytes)) {
            drag.text = textType_ == plain_ ? bytes : utf8ToLatin1(bytes);
            delivered = !drag.text.empty();
        }
    }
    const DropEffect effect = effect_;
    if (delivered && (target = system_.own(target_)) != nullptr) {
        tell(*target, MessageKind::Drop, lastPoint_, drag);
        reply(finished_, 1, actionOf(effect));
    } else {
        reply(finished_, 0, None);
    }
    target_ = 0;   // the drop ends the drag: no DragLeave after it
    leave();
}

void DropReceiver::reply(Atom type, long flags, Atom action)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display_;
    event.xclient.window = source_;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(messageWindow_);
    event.xclient.data.l[1] = flags;
    event.xclient.data.l[2] = 0;   // Status: no rectangle; Finished: the action follows
    event.xclient.data.l[3] = 0;
    event.xclient.data.l[4] = static_cast<long>(action);
    if (type == finished_)
        event.xclient.data.l[2] = static_cast<long>(action);
    XSendEvent(display_, source_, False, NoEventMask, &event);
    XFlush(display_);
}

Atom DropReceiver::actionOf(DropEffect effect) const
{
    return effect == DropEffect::Copy ? actionCopy_ : effect == DropEffect::Move ? actionMove_ : None;
}

bool DropReceiver::fetch(Atom type, Time time, long longest, std::string& bytes)
{
    XDeleteProperty(display_, messageWindow_, property_);
    XConvertSelection(display_, selection_, type, property_, messageWindow_, time);
    XFlush(display_);
    XEvent answer{};
    bool answered = false;
    const uint32_t start = milliseconds();
    for (;;) {
        if (XCheckTypedWindowEvent(display_, messageWindow_, SelectionNotify, &answer)) {
            answered = true;
            break;
        }
        const uint32_t waited = milliseconds() - start;
        if (waited >= kAnswerMs)
            break;
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(kAnswerMs - waited));
    }
    if (!answered || answer.xselection.property == None)
        return false;
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display_, messageWindow_, property_, 0, (longest + 3) / 4, True,
                                         AnyPropertyType, &actual, &format, &count, &rest, &data) == Success;
    bool ok = false;
    if (read && data && format == 8 && actual != XInternAtom(display_, "INCR", False)) {
        bytes.assign(reinterpret_cast<const char*>(data), count);
        // A list cut at the cap keeps its whole lines only.
        if (rest > 0 && type == uriList_)
            bytes.erase(bytes.find_last_of('\n') == std::string::npos ? 0 : bytes.find_last_of('\n') + 1);
        if (bytes.size() > static_cast<size_t>(longest))
            bytes.resize(static_cast<size_t>(longest));
        ok = true;
    }
    if (data)
        XFree(data);
    XDeleteProperty(display_, messageWindow_, property_);
    return ok;
}

} // namespace platform::x11
