// The Host program itself, run as a child process with the test synth. This
// machine's audio devices may be missing: then it must say so and run silent.
// Where a test needs a sound card it brings one: a JACK dummy server.

#include "host/wav_file.h"
#include "host_process.h"
#include "model/scratch_folder.h"
#include "platform/folders.h"
#include "support/jack_dummy_server.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace {

struct ProgramRun {
    int status = -1;   // exit status, or -1 when it did not exit normally
    std::string output;
};

const char kReady[] = "HOST> Playing; press Ctrl+C to quit.\n";

// Runs Host without a display; sends SIGINT once it reports that it plays
// when `interrupt` is set. Gives up (killing it) after a minute.
ProgramRun runHost(std::vector<std::string> args, bool interrupt,
                   std::vector<std::pair<std::string, std::string>> env = {})
{
    env.emplace_back("DISPLAY", "");
    hosttest::HostProcess host(std::move(args), env);
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

    // With one, the settings are written at exit.
    ASSERT_TRUE(outside_tools::have({"jackd"}));
    JackDummyServer sound(2, 44100);
    ASSERT_TRUE(sound.ready());
    const ProgramRun played = runHost({"--plugin", QB_TEST_SYNTH}, true, {sound.environment()});
    EXPECT_EQ(played.status, 0) << played.output;
    EXPECT_TRUE(contains(played.output, "Driver: [JACK Audio Connection Kit] system @ 44100 Hz")) << played.output;
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

// With no settings file the song is heard at once: bus 0 on the device's
// first two channels (both on the one of a mono device). A file that exists
// keeps its routes, none included; a first run without any device leaves
// no file, so that the next run, with one, is heard.
TEST(HostProgram, AFirstRunPlaysBusZeroOnTheDevicesFirstChannels)
{
    ASSERT_TRUE(outside_tools::have({"jackd"}));
    char name[] = "/tmp/qb-first-run-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string folder = name;
    const std::string settings = folder + "/Quorbel/Host.ini";
    const auto run = [&](const std::string& jackServer) {
        const ProgramRun done = runHost({"--plugin", QB_TEST_SYNTH}, true,
                                        {{"XDG_CONFIG_HOME", folder}, {"JACK_DEFAULT_SERVER", jackServer}});
        EXPECT_EQ(done.status, 0) << done.output;
        return done.output;
    };
    const std::string head = "<driver api=\"JACK Audio Connection Kit\" device=\"system\" latency=\"100\" "
                             "samplerate=\"44100\" volume=\"1.000000\">\n";
    for (const auto& [channels, right] : {std::pair{2, "system 2"}, std::pair{1, "system 1"}}) {
        JackDummyServer sound(channels, 44100);
        ASSERT_TRUE(sound.ready());
        std::remove(settings.c_str());
        EXPECT_TRUE(contains(run(sound.environment().second), "Driver: [JACK Audio Connection Kit] system"));
        EXPECT_EQ(readWholeFile(settings), head + " <channel index=\"0\" output=\"system 1\"/>\n"
                                                 " <channel index=\"1\" output=\"" + right + "\"/>\n</driver>\n")
            << channels << " channels";
    }

    JackDummyServer sound(2, 44100);
    ASSERT_TRUE(sound.ready());
    {
        std::ofstream(settings) << head << "</driver>\n";
    }
    run(sound.environment().second);
    EXPECT_EQ(readWholeFile(settings), head + "</driver>\n");

    std::remove(settings.c_str());
    EXPECT_TRUE(contains(run("qbtest-no-such-server"), "running silent"));
    EXPECT_FALSE(platform::fileExists(settings));
    std::system(("rm -rf '" + folder + "'").c_str());
}
