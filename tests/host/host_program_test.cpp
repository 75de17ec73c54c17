// The Host program itself, run as a child process with the test synth. This
// machine's audio devices may be missing: then it must say so and run silent.

#include "host/wav_file.h"
#include "host_process.h"
#include "platform/folders.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace {

struct ProgramRun {
    int status = -1;   // exit status, or -1 when it did not exit normally
    std::string output;
};

const char kReady[] = "HOST> Playing; press Ctrl+C to quit.\n";

// Runs Host without a display; sends SIGINT once it reports that it plays
// when `interrupt` is set. Gives up (killing it) after a minute.
ProgramRun runHost(std::vector<std::string> args, bool interrupt, rlim_t fileSizeLimit = 0)
{
    hosttest::HostProcess host(std::move(args), {{"DISPLAY", ""}}, fileSizeLimit);
    if (interrupt && host.waitFor(kReady))
        host.signal(SIGINT);
    ProgramRun run;
    run.status = host.wait();
    run.output = host.output();
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

// A disk that fills up (here a file-size limit, and the device that is always
// full) cuts the file short: no success is claimed and no stub is left.
TEST(HostProgram, AnExportThatCannotBeWrittenWholeFailsAndLeavesNoFile)
{
    const std::string path = platform::joinPath(platform::temporaryFolder(), "program-short-export.wav");
    ProgramRun run = runHost({"--plugin", QB_TEST_SYNTH, "--export", path}, false, 50000);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Host: Export failed: File too large. (" + path + ")\n")) << run.output;
    EXPECT_FALSE(contains(run.output, "Export complete")) << run.output;
    EXPECT_FALSE(platform::fileExists(path));

    struct stat device {};
    if (stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode)) {
        run = runHost({"--plugin", QB_TEST_SYNTH, "--export", "/dev/full"}, false);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_TRUE(contains(run.output, "Host: Export failed: No space left on device. (/dev/full)\n")) << run.output;
        EXPECT_EQ(stat("/dev/full", &device), 0);   // no plain file: it stays
        EXPECT_TRUE(S_ISCHR(device.st_mode));
    }

    run = runHost({"--plugin", QB_TEST_SYNTH, "--export", "/nonexistent/folder/out.wav"}, false);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Host: Export failed: No such file or directory.")) << run.output;
}

TEST(HostProgram, RejectsUnknownArguments)
{
    const ProgramRun run = runHost({"--bogus"}, false);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.output, "usage: Host"));
}

// The functions a program or archive defines, by their link names.
std::set<std::string> definedFunctions(const std::string& file)
{
    std::set<std::string> names;
    FILE* nm = popen(("nm --defined-only -g --format=posix '" + file + "' 2>/dev/null").c_str(), "r");
    if (!nm)
        return names;
    char line[4096];
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream fields(line);
        std::string name, type;
        if (fields >> name >> type && type == "T")
            names.insert(name);
    }
    pclose(nm);
    return names;
}

TEST(HostProgram, LinksNoneOfThePlugInsCode)
{
    ASSERT_TRUE(outside_tools::have({"nm"}));
    const std::set<std::string> host = definedFunctions(QB_HOST_PROGRAM);
    ASSERT_FALSE(host.empty());
    std::vector<std::string> shared;
    for (const char* archive :
         {QB_PLUGIN_ARCHIVE, QB_ENGINE_ARCHIVE, QB_SERVICES_ARCHIVE, QB_SHELL_ARCHIVE, QB_PAGEKIT_ARCHIVE})
        for (const std::string& name : definedFunctions(archive))
            if (host.count(name))
                shared.push_back(name);
    EXPECT_TRUE(shared.empty()) << shared.size() << " functions of the plug-in in Host, " << shared.front();
}
