#pragma once
// An X server of the test's own: Xvfb on a display number it picks itself
// (-displayfd), so tests running side by side never meet. Stopped with the
// object.

#include <csignal>
#include <cstdio>
#include <string>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

class XvfbServer {
public:
    // Empty name() when the server did not start within 20 seconds.
    explicit XvfbServer(const char* screen = "1024x768x24")
    {
        int channel[2];
        if (pipe(channel) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(channel[0]);
            if (FILE* quiet = freopen("/dev/null", "w", stderr))
                (void)quiet;
            const std::string fd = std::to_string(channel[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(channel[1]);
        std::string number;
        pollfd wait{channel[0], POLLIN, 0};
        while (pid_ > 0 && poll(&wait, 1, 20000) > 0) {
            char c = 0;
            if (read(channel[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(channel[0]);
        if (!number.empty())
            name_ = ":" + number;
    }
    ~XvfbServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& name() const { return name_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};
