#include "platform/dialogs/message_box.h"

#include "platform/dialogs/desktop_dialogs.h"
#include "platform/dialogs/own_dialogs.h"
#include "platform/system/helper_process.h"
#include "platform/x11/x11_window_system.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

std::atomic<MessageBoxRecorder> recorder{nullptr};

// A box needs someone to see it: without a display (a headless run, a
// service) nothing could answer it, and waiting would hang the caller.
bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

// The desktop's dialog program, else a window of our own, on a connection of
// the box's own: the caller may be a host's thread with no window of ours.
// A system-modal box stands above every other window, also above one kept
// on top (an editor window of ours): the program's window is asked to be
// kept above as soon as it shows; our own box keeps itself above.
void showOnDesktop(const std::string& text, const std::string& caption, unsigned style)
{
    const uint32_t boxStyle = kBoxOk | (style & kBoxIconMask);
    std::unique_ptr<X11WindowSystem> windows = X11WindowSystem::open();
    if (const std::optional<DialogProgram> program = DesktopDialogs::findProgram()) {
        const bool above = (style & kBoxSystemModal) != 0 && windows;
        runHelperWatched(messageArguments(*program, text, caption, boxStyle), DesktopDialogs::kOutputCap,
                         [&](int pid) {
                             if (above)
                                 windows->keepWindowsOfProcessAbove(pid);
                         });
        return;
    }
    if (windows)
        ownMessageBox(*windows, nullptr, text, caption, boxStyle);
}

} // namespace

void showMessageBox(const char* text, const char* caption, unsigned style)
{
    const std::string shownText = text ? text : "";
    const std::string shownCaption = caption ? caption : "";
    // Printed first and always: the line stays in the host's log whatever
    // becomes of the box.
    std::fprintf(stderr, "%s: %s\n", shownCaption.c_str(), shownText.c_str());
    std::fflush(stderr);
    if (MessageBoxRecorder r = recorder.load()) {
        r(shownText.c_str(), shownCaption.c_str(), style);
        return;
    }
    if (haveDisplay())
        showOnDesktop(shownText, shownCaption, style);
}

void setMessageBoxRecorder(MessageBoxRecorder r)
{
    recorder.store(r);
}

} // namespace platform
