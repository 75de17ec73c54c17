#pragma once
// The Host program as a child process of the test: its environment set,
// its output (standard output and error together) read as it comes.
// Killed if still running when the object goes.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace hosttest {

// What the windowed program prints once its window is up.
inline constexpr char kWindowReady[] = "HOST> Playing; close the window to quit.\n";

// Polls until the condition holds, as the program's window changes on its
// own time; false after the deadline.
inline bool eventually(const std::function<bool()>& condition, int seconds = 20)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class HostProcess {
public:
    // Environment entries with an empty value are removed. A file-size limit
    // (bytes, 0 for none) makes its writes fall short as on a full disk.
    HostProcess(std::vector<std::string> args, const std::vector<std::pair<std::string, std::string>>& env,
                rlim_t fileSizeLimit = 0)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return;
        args.insert(args.begin(), QB_HOST_PROGRAM);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipeFds[1], 1);
            dup2(pipeFds[1], 2);
            close(pipeFds[0]);
            close(pipeFds[1]);
            if (fileSizeLimit > 0) {
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = fileSizeLimit;
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            for (const auto& [name, value] : env) {
                if (value.empty())
                    unsetenv(name.c_str());
                else
                    setenv(name.c_str(), value.c_str(), 1);
            }
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeFds[1]);
        output_fd_ = pipeFds[0];
    }

    // Asked to end first, so that it leaves its sound server as a program
    // does (a client killed outright keeps a JACK server waiting on it for
    // minutes); killed when it has not ended in a few seconds.
    ~HostProcess()
    {
        if (pid_ > 0 && status_ == kRunning) {
            kill(pid_, SIGTERM);
            if (wait(10) == -2) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
        if (output_fd_ >= 0)
            close(output_fd_);
    }
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    // Reads until the text has been printed; false at the deadline or the end.
    bool waitFor(const std::string& text, int seconds = 60)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (output_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readSome(100))
                return output_.find(text) != std::string::npos;
        }
        return true;
    }

    pid_t pid() const { return pid_; }

    void signal(int number)
    {
        if (pid_ > 0 && status_ == kRunning)
            kill(pid_, number);
    }

    // The exit status once it ends (reading its output meanwhile); -1 when it
    // did not exit normally, -2 when it was still running at the deadline.
    int wait(int seconds = 60)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (readSome(100) && std::chrono::steady_clock::now() < deadline) {
        }
        if (status_ == kRunning && pid_ > 0) {
            int status = 0;
            while (waitpid(pid_, &status, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > deadline)
                    return -2;
                usleep(10000);
            }
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return status_;
    }

    bool running()
    {
        if (status_ != kRunning || pid_ <= 0)
            return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == 0)
            return true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }

    // What it printed so far.
    const std::string& output()
    {
        while (output_fd_ >= 0) {
            pollfd p{output_fd_, POLLIN, 0};
            if (poll(&p, 1, 0) <= 0 || !readSome(0))
                break;
        }
        return output_;
    }

private:
    static constexpr int kRunning = -3;

    // False once the output has ended.
    bool readSome(int timeoutMs)
    {
        if (output_fd_ < 0)
            return false;
        pollfd p{output_fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return true;
        char buffer[4096];
        const ssize_t n = read(output_fd_, buffer, sizeof buffer);
        if (n <= 0) {
            close(output_fd_);
            output_fd_ = -1;
            return false;
        }
        output_.append(buffer, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int output_fd_ = -1;
    int status_ = kRunning;
    std::string output_;
};

} // namespace hosttest
