#include "platform/system/helper_process.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

constexpr int kWaitStepMs = 10;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Reaps the child, waiting on as before for one that closed its output but
// still runs; its exit status, or -1.
int reap(pid_t pid, const std::function<void()>& waiting)
{
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR)
            return -1;   // already reaped by a host that reaps every child
        if (waiting)
            waiting();
        poll(nullptr, 0, kWaitStepMs);
    }
}

} // namespace

std::string programPath(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string candidate = end > start ? folders.substr(start, end - start) : std::string(".");
        candidate.push_back('/');
        candidate.append(name);
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

bool programOnPath(const std::string& name)
{
    return !programPath(name).empty();
}

HelperResult runHelper(const std::vector<std::string>& arguments, size_t outputCap,
                       const std::function<void()>& waiting)
{
    return runHelperWatched(arguments, outputCap, [&waiting](int) {
        if (waiting)
            waiting();
    });
}

HelperResult runHelperWatched(const std::vector<std::string>& arguments, size_t outputCap,
                              const std::function<void(int pid)>& waiting)
{
    HelperResult result;
    if (arguments.empty())
        return result;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return result;
    Descriptor reader(ends[0]);
    Descriptor writer(ends[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writer.get(), 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    writer.reset();
    if (failed != 0)
        return result;
    result.started = true;

    char buffer[4096];
    for (;;) {
        pollfd ready{reader.get(), POLLIN, 0};
        const int events = poll(&ready, 1, kWaitStepMs);
        if (events < 0 && errno != EINTR)
            break;
        if (events > 0) {
            const ssize_t got = read(reader.get(), buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                break;
            }
            // Past the cap the rest is read and dropped, so the helper never
            // blocks on a full pipe.
            const size_t room = outputCap > result.output.size() ? outputCap - result.output.size() : 0;
            if (static_cast<size_t>(got) > room)
                result.overflowed = true;
            result.output.append(buffer, std::min(room, static_cast<size_t>(got)));
        }
        if (waiting)
            waiting(static_cast<int>(pid));
    }
    result.exitStatus = reap(pid, [&waiting, pid] {
        if (waiting)
            waiting(static_cast<int>(pid));
    });
    return result;
}

} // namespace platform
