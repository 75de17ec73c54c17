// The Host program itself, run as a child process with the test synth. This
// machine's audio devices may be missing: then it must say so and run silent.

#include "host/wav_file.h"
#include "platform/folders.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ProgramRun {
    int status = -1;   // exit status, or -1 when it did not exit normally
    std::string output;
};

const char kReady[] = "HOST> Playing; press Ctrl+C to quit.\n";

// Runs Host with the arguments; sends SIGINT once it reports that it plays
// when `interrupt` is set. Gives up (killing it) after a minute.
ProgramRun runHost(std::vector<std::string> args, bool interrupt)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    args.insert(args.begin(), QB_HOST_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    ProgramRun run;
    bool interrupted = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[4096];
            const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            run.output.append(buffer, static_cast<size_t>(n));
        }
        if (interrupt && !interrupted && run.output.find(kReady) != std::string::npos) {
            kill(pid, SIGINT);
            interrupted = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(HostProgram, PlaysUntilInterruptedAndShutsDownInOrder)
{
    const ProgramRun run = runHost({"--plugin", QB_TEST_SYNTH}, true);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "HOST> Init sequence...\n")) << run.output;
    // Without a sound card: said once, and the program carries on silent.
    EXPECT_TRUE(contains(run.output, "HOST> No audio device could be opened; running silent.\n") ||
                contains(run.output, "Driver: ["))
        << run.output;
    EXPECT_TRUE(contains(run.output, kReady));
    EXPECT_TRUE(contains(run.output, "HOST> Shutting down...\n"));
    // The settings are written at exit.
    EXPECT_TRUE(platform::fileExists(platform::joinPath(platform::settingsFolder(), "Host.ini")));
}

TEST(HostProgram, MissingPlugInExitsWithoutOpeningAStream)
{
    const ProgramRun run = runHost({"--plugin", "/nonexistent/Quorbel.so"}, false);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Failed to load VST Plugin library!\n")) << run.output;
    EXPECT_TRUE(contains(run.output, "/nonexistent/Quorbel.so")) << run.output;
    EXPECT_FALSE(contains(run.output, "Driver: ["));
    EXPECT_FALSE(contains(run.output, "No audio device"));
    EXPECT_FALSE(contains(run.output, kReady));
}

TEST(HostProgram, ExportsTheSongAndEnds)
{
    const std::string path = platform::joinPath(platform::temporaryFolder(), "program-export.wav");
    const ProgramRun run = runHost({"--plugin", QB_TEST_SYNTH, "--export", path}, false);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "HOST> Export complete [0:00.232] in ")) << run.output;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<size_t>(in.tellg()), host::kWavHeaderSize + 10240 * 8);
    std::remove(path.c_str());
}

TEST(HostProgram, RejectsUnknownArguments)
{
    const ProgramRun run = runHost({"--bogus"}, false);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.output, "usage: Host"));
}
