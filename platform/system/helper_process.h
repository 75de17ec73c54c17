#pragma once
// Runs a helper program (a dialog of the desktop) and collects what it
// prints. The program is found on PATH and started with an argument vector,
// never through a shell; its input and error output are /dev/null. It is
// reaped by waitpid on its own pid, so the host's SIGCHLD handling is left
// alone. While it runs, `waiting` is called every few milliseconds.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct HelperResult {
    bool started = false;
    // The exit status; -1 when it was killed by a signal or could not be
    // learnt (a host that reaps every child itself).
    int exitStatus = -1;
    std::string output;
    // More than the cap was printed: the output is cut and not to be trusted.
    bool overflowed = false;
};

HelperResult runHelper(const std::vector<std::string>& arguments, size_t outputCap,
                       const std::function<void()>& waiting);
// The same, with `waiting` told the helper's process id: a caller can find
// the helper's windows by it (_NET_WM_PID).
HelperResult runHelperWatched(const std::vector<std::string>& arguments, size_t outputCap,
                              const std::function<void(int pid)>& waiting);

// Whether PATH holds an executable file of that name.
bool programOnPath(const std::string& name);
// Where: the first such file on PATH (a name with '/' is taken as it is);
// empty when there is none.
std::string programPath(const std::string& name);

// Starts a program found on PATH with an argument vector, never through a
// shell, and does not wait for it: it runs in a session of its own with
// /dev/null for input and output, as a grandchild that init adopts, so
// nothing is left for us (or the host's SIGCHLD handling) to reap. False when
// the program is not on PATH or could not be started.
bool launchDetached(const std::vector<std::string>& arguments);

} // namespace platform
