#pragma once
// A sound card for a test: a JACK server of the test's own, named uniquely,
// on JACK's dummy driver, which keeps time as a device would and plays
// nowhere. Programs started with its environment (JACK_DEFAULT_SERVER) see
// it as the device "system" of the API "JACK Audio Connection Kit", with
// one output channel per playback port. Its clients have long to answer
// (a loaded machine runs many tests at once). Stopped with the object.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

class JackDummyServer {
public:
    JackDummyServer(int channels, int rate)
    {
        static std::atomic<int> counter{0};
        name_ = "qbtest" + std::to_string(getpid()) + "x" + std::to_string(counter++);
        const std::string playback = std::to_string(channels);
        const std::string frequency = std::to_string(rate);
        pid_ = fork();
        if (pid_ == 0) {
            if (FILE* quiet = freopen("/dev/null", "w", stdout))
                (void)quiet;
            if (FILE* quiet = freopen("/dev/null", "w", stderr))
                (void)quiet;
            execlp("jackd", "jackd", "--no-realtime", "-t", "10000", "-n", name_.c_str(), "-d", "dummy", "-r", frequency.c_str(),
                   "-p", "1024", "-P", playback.c_str(), "-C", "0", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once its socket is there (named after the server and user).
        const std::string socket = "/dev/shm/jack_" + name_ + "_" + std::to_string(getuid()) + "_0";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (pid_ > 0 && !ready_ && std::chrono::steady_clock::now() < deadline) {
            std::error_code ignored;
            ready_ = std::filesystem::exists(socket, ignored);
            if (!ready_)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // Never killed outright: its servers and clients share one metadata
    // store per user, which a server killed while holding it leaves locked
    // for every later server.
    ~JackDummyServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    JackDummyServer(const JackDummyServer&) = delete;
    JackDummyServer& operator=(const JackDummyServer&) = delete;

    bool ready() const { return ready_; }
    // The environment entry that points a program at it.
    std::pair<std::string, std::string> environment() const { return {"JACK_DEFAULT_SERVER", name_}; }

private:
    std::string name_;
    pid_t pid_ = -1;
    bool ready_ = false;
};
