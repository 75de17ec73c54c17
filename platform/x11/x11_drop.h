#pragma once
// Inside the X11 backend only: drops by the XDND protocol (version 5). A
// window that accepts drops is XdndAware, and so is its top level when that
// is ours; drags offering text/uri-list are files (local ones, decoded),
// others offering text/plain are text (UTF-8 made Windows-1252). The window
// under the pointer hears DragEnter, DragOver, DragLeave and Drop; Ctrl held
// gives copy, else move, as its handler answers.

#include "platform/drag.h"
#include "platform/graphics/geometry.h"
#include "platform/x11/x11_system.h"

#include <string>

namespace platform::x11 {

// DropEffect::None, which Xlib's None macro hides here.
constexpr DropEffect kNoEffect = DropEffect{};

class DropReceiver {
public:
    explicit DropReceiver(System& system);

    void setAware(OwnWindow& window, bool aware);
    // True when the message was one of a drag's.
    bool handle(const XClientMessageEvent& event);

private:
    void enter(const XClientMessageEvent& event);
    void position(const XClientMessageEvent& event);
    void leave();
    void drop(const XClientMessageEvent& event);
    void reply(Atom type, long flags, Atom action);
    OwnWindow* targetAt(Point screen);
    void tell(OwnWindow& window, MessageKind kind, Point screen, DragMessage& drag);
    // The selection's data converted to the type; false when the source does
    // not answer in time or sends it in parts.
    bool fetch(Atom type, Time time, long longest, std::string& bytes);
    Atom actionOf(DropEffect effect) const;

    System& system_;
    Display* display_;
    Atom aware_, enter_, position_, status_, leave_, drop_, finished_, selection_, typeList_, actionCopy_,
        actionMove_, uriList_, plainUtf8_, plain_, utf8String_, property_;
    ::Window source_ = 0;
    ::Window messageWindow_ = 0;   // ours, that the source talks to
    bool offersFiles_ = false;
    Atom textType_ = None;
    ::Window target_ = 0;          // ours, under the pointer
    Point lastPoint_;
    DropEffect effect_ = kNoEffect;
};

} // namespace platform::x11
