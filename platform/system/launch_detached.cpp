// Two forks: the child starts a session and forks the program, then leaves
// at once, so the caller reaps it at once and the program is init's. Between
// fork and exec only async-signal-safe calls run (the host has threads); the
// path and the vectors are made beforehand. A close-on-exec pipe tells the
// caller whether exec worked: it closes silently on success, and carries the
// error number on failure.

#include "platform/system/helper_process.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

bool launchDetached(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return false;
    const std::string path = programPath(arguments[0]);
    if (path.empty())
        return false;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;

    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const pid_t program = fork();
        if (program == 0) {
            const int quiet = open("/dev/null", O_RDWR);
            if (quiet >= 0) {
                dup2(quiet, 0);
                dup2(quiet, 1);
                dup2(quiet, 2);
            }
            execve(path.c_str(), argv.data(), environ);
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
            _exit(127);
        }
        if (program < 0) {
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    if (child < 0) {
        close(report[0]);
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // Closed without a word once exec has run (or both children are gone).
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return got == 0;
}

} // namespace platform
