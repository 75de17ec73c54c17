// The Host program itself, run as a child process with the test synth. This
// machine's audio devices may be missing: then it must say so and run silent.
// Where a test needs a sound card it brings one: a JACK dummy server.

#include "host/audio/wav_file.h"
#include "host_process.h"
#include "model/scratch_folder.h"
#include "model/song/temporaries_note.h"
#include "platform/system/folders.h"
#include "support/jack_dummy_server.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <sys/stat.h>

namespace {

struct ProgramRun {
    int status = -1;   // exit status, or -1 when it did not exit normally
    std::string output;
};

const char kReady[] = "HOST> Playing; press Ctrl+C to quit.\n";

// Runs Host without a display; sends SIGINT once it reports that it plays
// when `interrupt` is set. Gives up (killing it) after a minute.
ProgramRun runHost(std::vector<std::string> args, bool interrupt, rlim_t fileSizeLimit = 0,
                   std::vector<std::pair<std::string, std::string>> env = {})
{
    env.emplace_back("DISPLAY", "");
    hosttest::HostProcess host(std::move(args), env, fileSizeLimit);
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
    const ProgramRun played = runHost({"--plugin", QB_TEST_SYNTH}, true, 0, {sound.environment()});
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
    // A render opens no sound device: the sound system is left alone.
    EXPECT_FALSE(contains(run.output, "running silent")) << run.output;
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

namespace {

// The id of a process that has ended, having run `body` (killed, as it were:
// no destructor runs).
template <typename Body>
pid_t endedProcess(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

pid_t endedProcess()
{
    return endedProcess([] {});
}

// While it lives, this process's private temporary folder is the one below `runtime`.
class RuntimeFolder {
public:
    explicit RuntimeFolder(const std::string& runtime)
    {
        const char* before = std::getenv("XDG_RUNTIME_DIR");
        saved_ = before ? before : "";
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    ~RuntimeFolder() { setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1); }

private:
    std::string saved_;
};

} // namespace

// Two copies of the program with the real plug-in and one private temporary
// folder, the second exporting and ending while the first plays: each keeps
// its usage log of its own, and the one that ends removes only its own. A
// start removes what copies that have ended left there (a crash's files, which
// wait for its report, excepted) and beside the songs they were saving, never
// a running process's files.
TEST(HostProgram, CopiesKeepTheirOwnFilesAndAStartClearsWhatEndedOnesLeft)
{
    ScratchFolder runtime;
    const std::string folder = runtime.file("Quorbel");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const auto put = [&](const std::string& name) {
        if (FILE* f = std::fopen((folder + "/" + name).c_str(), "wb")) {
            std::fputs("left", f);
            std::fclose(f);
        }
    };
    const auto there = [&](const std::string& name) {
        struct stat info {};
        return lstat((folder + "/" + name).c_str(), &info) == 0;
    };
    const std::string gone = std::to_string(endedProcess());
    const std::string crashed = std::to_string(endedProcess());
    const std::string running = std::to_string(getpid());
    // Files, then folders (with what they hold), of an ended copy...
    const std::vector<std::string> leftFiles{"Quorbel-" + gone + ".ttf", "Quorbel-" + gone + ".chm",
                                             "~qrblchm-" + gone + ".tmp", "Quorbel-" + gone + ".log",
                                             "~qrbl-" + gone + "-x1Y2z3"};
    const std::vector<std::string> leftFolders{"chunk-" + gone + "-a1B2c3", "qrbl-" + gone + "-d4E5f6"};
    // ...a crash waiting for its report, a running process's own, and others.
    const std::vector<std::string> keptFiles{"Quorbel-" + crashed + ".err", "Quorbel-" + crashed + ".dmp",
                                             "Quorbel-" + crashed + ".log", "Quorbel-" + running + ".ttf",
                                             "Quorbel-" + running + ".log", "Quorbel-crash.log", "notes.txt"};
    const std::string keptFolder = "chunk-" + running + "-g7H8i9";
    for (const std::string& name : leftFolders) {
        mkdir((folder + "/" + name).c_str(), 0700);
        put(name + "/~qrbldmp.zip");
    }
    mkdir((folder + "/" + keptFolder).c_str(), 0700);
    for (const auto* names : {&leftFiles, &keptFiles})
        for (const std::string& name : *names)
            put(name);
    std::vector<std::string> left = leftFiles, kept = keptFiles;
    left.insert(left.end(), leftFolders.begin(), leftFolders.end());
    kept.push_back(keptFolder);

    // A save killed half-way beside its song, and one running beside another.
    ScratchFolder killedSave, runningSave;
    std::unique_ptr<TemporariesNote> runningNote;
    {
        const RuntimeFolder ours(runtime.path());
        endedProcess([&] {
            new TemporariesNote(killedSave.file("song.zip"));
            killedSave.write("~qrblxml.tmp", "<module");
            killedSave.write("~qrblzip.tmp", "PK");
        });
        runningNote = std::make_unique<TemporariesNote>(runningSave.file("song.zip"));
        runningSave.write("~qrblzip.tmp", "PK");
    }
    killedSave.write("song.zip", "the song");

    const std::vector<std::pair<std::string, std::string>> env{{"DISPLAY", ""}, {"XDG_RUNTIME_DIR", runtime.path()}};
    hosttest::HostProcess first({"--plugin", QB_PLUGIN_LIBRARY}, env);
    ASSERT_TRUE(first.waitFor(kReady)) << first.output();
    for (const std::string& name : left)
        EXPECT_FALSE(there(name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(there(name)) << name;
    const std::string firstLog = "Quorbel-" + std::to_string(first.pid()) + ".log";
    EXPECT_TRUE(there(firstLog));
    EXPECT_FALSE(platform::fileExists(killedSave.file("~qrblxml.tmp")));
    EXPECT_FALSE(platform::fileExists(killedSave.file("~qrblzip.tmp")));
    EXPECT_EQ(readWholeFile(killedSave.file("song.zip")), "the song");
    EXPECT_TRUE(platform::fileExists(runningSave.file("~qrblzip.tmp")));

    hosttest::HostProcess second({"--plugin", QB_PLUGIN_LIBRARY, "--export", runtime.file("second.wav")}, env);
    const pid_t secondPid = second.pid();
    EXPECT_EQ(second.wait(), 0) << second.output();
    EXPECT_TRUE(platform::fileExists(runtime.file("second.wav")));
    EXPECT_FALSE(there("Quorbel-" + std::to_string(secondPid) + ".log"));
    ASSERT_TRUE(first.running());
    EXPECT_TRUE(there(firstLog)) << "the second copy removed the first's log";
    EXPECT_EQ(readWholeFile(folder + "/" + firstLog).substr(0, 1), "v");   // its start header, not cut anew

    first.signal(SIGINT);
    EXPECT_EQ(first.wait(), 0) << first.output();
    EXPECT_FALSE(there(firstLog));
    for (const std::string& name : kept)
        EXPECT_TRUE(there(name)) << name;
    EXPECT_TRUE(platform::fileExists(runningSave.file("~qrblzip.tmp")));
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
        const ProgramRun done = runHost({"--plugin", QB_TEST_SYNTH}, true, 0,
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
