// Pasting: the clipboard's owner is asked for its text and given a bounded
// time to answer, so a hung owner never hangs the editor.

#include "platform/x11/x11_system.h"

#include "platform/graphics/windows1252.h"
#include "platform/system/clock.h"

#include <X11/Xatom.h>
#include <poll.h>

namespace platform::x11 {

namespace {

constexpr uint32_t kAnswerMs = 500;
constexpr long kLongestText = 1 << 20;   // in 32-bit units

} // namespace

std::string System::clipboardText()
{
    if (XGetSelectionOwner(display_, atoms_.clipboard) == None)
        return {};
    const ::Window requestor = XCreateWindow(display_, root_, 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                             0, nullptr);
    XConvertSelection(display_, atoms_.clipboard, atoms_.utf8String, atoms_.clipboardProperty, requestor, CurrentTime);
    XFlush(display_);

    XEvent answer{};
    bool answered = false;
    const uint32_t start = milliseconds();
    for (;;) {
        if (XCheckTypedWindowEvent(display_, requestor, SelectionNotify, &answer)) {
            answered = true;
            break;
        }
        const uint32_t waited = milliseconds() - start;
        if (waited >= kAnswerMs)
            break;
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(kAnswerMs - waited));
    }

    std::string text;
    if (answered && answer.xselection.property != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, rest = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, requestor, atoms_.clipboardProperty, 0, kLongestText, True, AnyPropertyType,
                               &type, &format, &count, &rest, &data) == Success && data) {
            const std::string_view bytes(reinterpret_cast<const char*>(data), format == 8 ? count : 0);
            if (type == atoms_.utf8String)
                text = utf8ToLatin1(bytes);
            else if (type == XA_STRING)
                text.assign(bytes);   // Latin-1
            XFree(data);
        }
    }
    XDestroyWindow(display_, requestor);
    XFlush(display_);
    return text;
}

} // namespace platform::x11
