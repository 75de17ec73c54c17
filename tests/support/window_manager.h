#pragma once
// A window manager (openbox) on a test's own X server: started with the
// object, ready once it has claimed the screen, stopped with the object.
// Its frames, WM_STATE, placement and _NET_* answers are the real ones.

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

class WindowManager {
public:
    explicit WindowManager(const std::string& displayName)
    {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("DISPLAY", displayName.c_str(), 1);
            // Its notes about menus it does not find are no test's business.
            if (FILE* quiet = freopen("/dev/null", "w", stderr))
                (void)quiet;
            if (FILE* quiet = freopen("/dev/null", "w", stdout))
                (void)quiet;
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        Display* display = pid_ > 0 ? XOpenDisplay(displayName.c_str()) : nullptr;
        if (!display)
            return;
        // Ready once it manages a window mapped now: a manager still starting
        // may let a map request pass unanswered, so the probe maps again.
        const ::Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
        const Atom wmState = XInternAtom(display, "WM_STATE", False);
        for (int attempt = 0; attempt < 40 && !ready_; ++attempt) {
            XMapWindow(display, probe);
            XSync(display, False);
            for (int i = 0; i < 10 && !ready_; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
                Atom type = None;
                int format = 0;
                unsigned long count = 0, rest = 0;
                unsigned char* data = nullptr;
                ready_ = XGetWindowProperty(display, probe, wmState, 0, 1, False, AnyPropertyType, &type, &format,
                                            &count, &rest, &data) == Success
                      && type != None;
                if (data)
                    XFree(data);
            }
            if (!ready_)
                XUnmapWindow(display, probe);
        }
        XDestroyWindow(display, probe);
        XSync(display, False);
        XCloseDisplay(display);
    }
    ~WindowManager()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // False when it did not manage a window within ten seconds.
    bool running() const { return ready_; }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};
