// What an open editor costs as a user runs it: the Host program with its
// window on an Xvfb of the benchmark's own, 1920 x 1200, played from a second
// connection through XTest. Reads the processor time that the Host's GUI
// thread, the whole Host and the X server spend (from /proc) over:
//  - start:  the Host's time from its start to the editor drawn on screen;
//  - splash: 10 s with the splash shown after its fade-in, nothing touched;
//  - idle:   20 s with the pattern editor shown, nothing touched;
//  - play:   20 s while a 32-channel song plays with the pattern following.
// Each phase gives two lines: the user and system times of /proc/PID/stat,
// counted in the clock's ticks, and below them the times the scheduler
// counts to the nanosecond (as the floor below is measured), which settle
// a figure near a goal that whole ticks cannot.
// Figures are percent of one core; the reference is a busy loop of the
// benchmark's own over one second in the same run, as percent of one core
// (about 100 on an unloaded machine; less when the machine is busy, and then
// every figure above means less too). A second line gives the floor the
// Host's 10 ms idle timer sets: what a thread doing nothing but waking at
// that pace uses on this machine.
//
// Sound: the Host's default ALSA device (HOME points at a folder of the
// benchmark's own with an .asoundrc) writes stereo at 44100 Hz into a pipe
// that the benchmark drains at that pace, so the song plays at its own speed
// without a sound card. The device takes the 32-bit floats the Host sends, as
// a desktop's sound server does through ALSA's plug-in for it: a 16-bit
// device would add libasound's conversion of every sample on the Host's
// audio thread, work that on a desktop is not the program's. QB_BENCH_SINK=
// S16_LE gives the 16-bit device of a bare sound card. The format used is
// printed.
//
//   editor_cpu_bench HOST_PROGRAM [SECONDS [SCREENSHOT_FOLDER]]
//
// With a folder, what the screen shows at the end of each phase is written
// there as PPM files.

#include "support/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1200;
constexpr int kChannels = 32;
constexpr int kRows = 64;
constexpr int kPatterns = 4;
struct ScreenPoint {
    int x, y;
};
constexpr ScreenPoint kSongButton{216, 10};

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Processor seconds (user + system) of a process or of one of its threads.
double cpuSeconds(const std::string& statPath)
{
    std::ifstream in(statPath);
    std::string line;
    if (!std::getline(in, line))
        return 0.0;
    // The command name may hold spaces: fields count from after its ')'.
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            user = std::stoull(field);
        if (i == 15)
            system = std::stoull(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string processStat(pid_t pid)
{
    return "/proc/" + std::to_string(pid) + "/stat";
}

std::string threadStat(pid_t pid)
{
    return "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/stat";
}

// A 32-channel ProTracker module: one looped square wave, four patterns of
// 64 rows with a note in every channel on every row, and a few effects, so
// that every cell the editor shows changes as the song plays.
bool writeSong(const std::string& path)
{
    std::vector<uint8_t> file(20, 0);
    std::memcpy(file.data(), "cpu bench", 9);
    constexpr int kSampleWords = 32;
    for (int s = 0; s < 31; ++s) {
        uint8_t header[30] = {};
        if (s == 0) {
            std::memcpy(header, "square", 6);
            header[22] = 0;
            header[23] = kSampleWords;   // length in words
            header[25] = 64;             // volume
            header[26] = 0;              // loop start
            header[27] = 0;
            header[28] = 0;
            header[29] = kSampleWords;   // loop length in words
        } else {
            header[29] = 1;
        }
        file.insert(file.end(), header, header + 30);
    }
    file.push_back(kPatterns);   // song length
    file.push_back(127);
    for (int i = 0; i < 128; ++i)
        file.push_back(static_cast<uint8_t>(i < kPatterns ? i : 0));
    file.insert(file.end(), {'3', '2', 'C', 'H'});
    static const uint16_t kPeriods[] = {428, 381, 339, 320, 285, 254, 226, 214, 190, 170, 160, 143};
    for (int p = 0; p < kPatterns; ++p)
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kChannels; ++c) {
                const uint16_t period = kPeriods[(r + c + p) % 12];
                const uint8_t effect = static_cast<uint8_t>((r + c) % 4 == 0 ? 0xC : 0);
                const uint8_t parameter = static_cast<uint8_t>(effect ? 16 + (r % 32) : 0);
                file.push_back(static_cast<uint8_t>(0x00 | (period >> 8)));
                file.push_back(static_cast<uint8_t>(period & 0xFF));
                file.push_back(static_cast<uint8_t>(0x10 | effect));
                file.push_back(parameter);
            }
    for (int i = 0; i < kSampleWords * 2; ++i)
        file.push_back(static_cast<uint8_t>(i < kSampleWords ? 48 : -48));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

bool writeText(const std::string& path, const std::string& text, mode_t mode = 0644)
{
    {
        std::ofstream out(path);
        out << text;
        if (!out)
            return false;
    }
    return chmod(path.c_str(), mode) == 0;
}

pid_t startHost(const std::string& program, const std::string& display, const std::string& folder)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    const char* path = std::getenv("PATH");
    setenv("PATH", (folder + "/bin:" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

std::string classOf(Display* display, ::Window w)
{
    XClassHint hint{};
    if (!XGetClassHint(display, w, &hint))
        return {};
    std::string name = hint.res_class ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

// The viewable windows under a window whose class starts with the prefix.
void findWindows(Display* display, ::Window w, const std::string& prefix, std::vector<::Window>& found)
{
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
            continue;
        if (classOf(display, children[i]).rfind(prefix, 0) == 0)
            found.push_back(children[i]);
        findWindows(display, children[i], prefix, found);
    }
    if (children)
        XFree(children);
}

// How many colours the window shows, counted up to the limit.
size_t coloursShown(Display* display, ::Window w, size_t limit)
{
    XWindowAttributes a{};
    if (!XGetWindowAttributes(display, w, &a) || a.width <= 0 || a.height <= 0)
        return 0;
    XImage* image = XGetImage(display, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (!image)
        return 0;
    std::set<unsigned long> colours;
    for (int y = 0; y < a.height && colours.size() < limit; y += 3)
        for (int x = 0; x < a.width && colours.size() < limit; x += 3)
            colours.insert(XGetPixel(image, x, y));
    XDestroyImage(image);
    return colours.size();
}

::Window hostTopLevel(Display* display)
{
    ::Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable && a.width > 100)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

class Driver {
public:
    explicit Driver(Display* display) : display_(display) {}

    void key(KeySym sym, bool down)
    {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, sym), down ? True : False, CurrentTime);
        XFlush(display_);
        sleepMs(30);
    }
    void tap(KeySym sym)
    {
        key(sym, true);
        key(sym, false);
    }
    void chord(KeySym modifier, KeySym sym)
    {
        key(modifier, true);
        tap(sym);
        key(modifier, false);
    }
    void click(int x, int y)
    {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
        sleepMs(30);
    }

private:
    Display* display_;
};

// Seconds the scheduler counted a thread on a processor, to the nanosecond
// (the user and system times of /proc/PID/stat come in whole ticks).
double onCpuSeconds(const std::string& schedstatPath)
{
    std::ifstream in(schedstatPath);
    unsigned long long nanoseconds = 0;
    in >> nanoseconds;
    return static_cast<double>(nanoseconds) / 1e9;
}

// The same for every thread the process has now.
double processOnCpuSeconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double sum = 0;
    if (DIR* folder = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(folder))
            if (entry->d_name[0] != '.')
                sum += onCpuSeconds(tasks + "/" + entry->d_name + "/schedstat");
        closedir(folder);
    }
    return sum;
}

struct Costs {
    double gui = 0;
    double host = 0;
    double server = 0;
    // The same from the scheduler's exact counts.
    double exactGui = 0;
    double exactHost = 0;
    double exactServer = 0;
};

Costs measure(pid_t host, pid_t server, double seconds)
{
    const std::string guiSchedstat =
        "/proc/" + std::to_string(host) + "/task/" + std::to_string(host) + "/schedstat";
    const double gui0 = cpuSeconds(threadStat(host));
    const double host0 = cpuSeconds(processStat(host));
    const double server0 = cpuSeconds(processStat(server));
    const double exactGui0 = onCpuSeconds(guiSchedstat);
    const double exactHost0 = processOnCpuSeconds(host);
    const double exactServer0 = processOnCpuSeconds(server);
    const auto start = Clock::now();
    sleepMs(static_cast<int>(seconds * 1000));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return {100.0 * (cpuSeconds(threadStat(host)) - gui0) / wall,
            100.0 * (cpuSeconds(processStat(host)) - host0) / wall,
            100.0 * (cpuSeconds(processStat(server)) - server0) / wall,
            100.0 * (onCpuSeconds(guiSchedstat) - exactGui0) / wall,
            100.0 * (processOnCpuSeconds(host) - exactHost0) / wall,
            100.0 * (processOnCpuSeconds(server) - exactServer0) / wall};
}

// The benchmark's own busy second, as percent of one core.
double referenceLoop()
{
    const double before = cpuSeconds("/proc/self/stat");
    const auto start = Clock::now();
    volatile uint64_t sink = 0;
    while (Clock::now() - start < std::chrono::seconds(1))
        for (int i = 0; i < 100000; ++i)
            sink = sink + static_cast<uint64_t>(i);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return 100.0 * (cpuSeconds("/proc/self/stat") - before) / wall;
}

// What waking every 10 ms costs by itself, as percent of one core: a thread
// of the benchmark's own doing nothing but that for a few seconds. The Host's
// window loop wakes at that pace to idle the editor, so its GUI thread can
// use no less than this on the same machine; where waking is dear (a loaded
// or virtual machine) this floor alone may pass 1%.
double timerFloor()
{
    double share = 0;
    std::thread([&share] {
        timespec before{}, after{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
        const auto start = Clock::now();
        while (Clock::now() - start < std::chrono::seconds(3))
            poll(nullptr, 0, 10);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double used = static_cast<double>(after.tv_sec - before.tv_sec) +
                            static_cast<double>(after.tv_nsec - before.tv_nsec) / 1e9;
        share = 100.0 * used / wall;
    }).join();
    return share;
}

// Drains the sound pipe at the rate the device was given, so that the
// Host's audio thread waits as it would for a sound card. A sound card wakes
// the writer once a period; a pipe wakes it each time one of its 4 KB pages
// is read empty, so the pipe is drained in steps of about a period (25 ms,
// what the Host's default 100 ms latency gives) rather than in many small
// sips, which would wake the audio thread two or three times as often as a
// device does.
class PacedSink {
public:
    PacedSink(const std::string& pipe, int bytesPerSample) : bytesPerSecond_(44100 * 2 * bytesPerSample)
    {
        fd_ = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd_ >= 0)
            thread_ = std::thread([this] { drain(); });
    }
    ~PacedSink()
    {
        running_ = false;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0)
            close(fd_);
    }

private:
    void drain()
    {
        const auto start = Clock::now();
        long long taken = 0;
        std::vector<char> buffer(65536);
        while (running_) {
            sleepMs(kDrainStepMs);
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            // At most a tenth of a second may be owed: a stall is not made up.
            const long long due = static_cast<long long>(elapsed * bytesPerSecond_);
            taken = std::max(taken, due - bytesPerSecond_ / 10);
            while (taken < due) {
                const size_t want = static_cast<size_t>(std::min<long long>(due - taken, 65536));
                const ssize_t n = read(fd_, buffer.data(), want);
                if (n <= 0)
                    break;
                taken += n;
            }
        }
    }

    static constexpr int kDrainStepMs = 25;
    int bytesPerSecond_;
    int fd_ = -1;
    std::atomic<bool> running_{true};
    std::thread thread_;
};

// The whole screen as a PPM file.
void writeScreen(Display* display, const std::string& folder, const char* phase)
{
    if (folder.empty())
        return;
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, kScreenWidth, kScreenHeight, AllPlanes,
                              ZPixmap);
    if (!image)
        return;
    std::ofstream out(folder + "/" + phase + ".ppm", std::ios::binary);
    out << "P6\n" << kScreenWidth << " " << kScreenHeight << "\n255\n";
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const char rgb[3] = {static_cast<char>(p >> 16 & 0xFF), static_cast<char>(p >> 8 & 0xFF),
                                 static_cast<char>(p & 0xFF)};
            out.write(rgb, 3);
        }
    XDestroyImage(image);
}

void report(const char* phase, const Costs& c, double reference)
{
    std::printf("%-7s GUI thread %6.2f%%  Host %6.2f%%  X server %6.2f%%   (ratio to reference: GUI %.4f, X %.4f)\n",
                phase, c.gui, c.host, c.server, c.gui / reference, c.server / reference);
    std::printf("  exact GUI thread %6.2f%%  Host %6.2f%%  X server %6.2f%%   (scheduler's count)\n", c.exactGui,
                c.exactHost, c.exactServer);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: editor_cpu_bench HOST_PROGRAM [SECONDS]\n");
        return 2;
    }
    const std::string program = argv[1];
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    const std::string shots = argc > 3 ? argv[3] : "";

    // The sound device's sample format: what the Host sends unless asked.
    const char* asked = std::getenv("QB_BENCH_SINK");
    const bool sixteenBit = asked && std::strcmp(asked, "S16_LE") == 0;
    if (asked && !sixteenBit && std::strcmp(asked, "FLOAT_LE") != 0) {
        std::fprintf(stderr, "QB_BENCH_SINK is FLOAT_LE or S16_LE, not %s\n", asked);
        return 2;
    }
    const char* sinkFormat = sixteenBit ? "S16_LE" : "FLOAT_LE";

    char name[] = "/tmp/qb-editor-cpu-XXXXXX";
    if (!mkdtemp(name))
        return 1;
    const std::string folder = name;
    const std::string song = folder + "/song32.mod";
    // The sound pipe lives in memory: a pipe on a disk's file system has its
    // times journalled on every write, a cost no sound card puts on a period.
    char pipeName[] = "/dev/shm/qb-editor-cpu-XXXXXX";
    const bool inMemory = mkdtemp(pipeName) != nullptr;
    const std::string pipeFolder = inMemory ? std::string(pipeName) : folder;
    const std::string soundPipe = pipeFolder + "/sound";
    mkdir((folder + "/bin").c_str(), 0700);
    mkdir((folder + "/config").c_str(), 0700);
    mkdir((folder + "/config/Quorbel").c_str(), 0700);
    // The pattern follows the song; the open dialog answers with the song.
    if (!writeSong(song) ||
        !writeText(folder + "/config/Quorbel/Quorbel.ini", "<preferences followpattern=\"1\"/>\n") ||
        !writeText(folder + "/bin/zenity", "#!/bin/sh\necho '" + song + "'\n", 0755) ||
        mkfifo(soundPipe.c_str(), 0600) != 0 ||
        !writeText(folder + "/.asoundrc",
                   std::string("pcm.!default { type plug; slave { pcm \"paced\"; format ") + sinkFormat +
                       "; rate 44100; channels 2 } }\n"
                   "pcm.paced { type file; slave.pcm \"null\"; file \"" + soundPipe + "\"; format \"raw\" }\n")) {
        std::fprintf(stderr, "could not write the benchmark's files in %s\n", folder.c_str());
        return 1;
    }

    PacedSink sink(soundPipe, sixteenBit ? 2 : 4);
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    XvfbServer server(screen.c_str());
    if (server.name().empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    Display* display = XOpenDisplay(server.name().c_str());
    if (!display)
        return 1;
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    Driver driver(display);

    const double reference = referenceLoop();
    std::printf("reference: busy loop %.1f%% of one core\n", reference);
    std::printf("floor:   a thread waking every 10 ms and doing nothing uses %.2f%% of one core\n", timerFloor());
    std::printf("sound:   %s stereo at 44100 Hz into a paced pipe\n", sinkFormat);

    const auto started = Clock::now();
    const pid_t host = startHost(program, server.name(), folder);
    double firstWindow = -1;
    while (Clock::now() - started < std::chrono::seconds(60)) {
        std::vector<::Window> editors;
        findWindows(display, DefaultRootWindow(display), "Quorbel", editors);
        bool drawn = false;
        for (::Window w : editors)
            drawn = drawn || coloursShown(display, w, 24) >= 24;
        if (drawn) {
            firstWindow = std::chrono::duration<double>(Clock::now() - started).count();
            break;
        }
        sleepMs(5);
    }
    if (firstWindow < 0) {
        std::fprintf(stderr, "the editor was never drawn\n");
        kill(host, SIGKILL);
        return 1;
    }
    const double startCpu = cpuSeconds(processStat(host));
    std::printf("start   first drawn editor after %.3f s; Host used %.3f s of processor time until then\n",
                firstWindow, startCpu);

    // The whole screen, as a user with a large monitor has it.
    const ::Window top = hostTopLevel(display);
    XMoveResizeWindow(display, top, 0, 0, kScreenWidth, kScreenHeight);
    XSync(display, False);
    sleepMs(3000);   // the splash's fade-in ends
    report("splash", measure(host, server.pid(), seconds / 2), reference);
    writeScreen(display, shots, "splash");

    driver.click(kScreenWidth / 2, kScreenHeight / 2);   // focus; the splash goes
    driver.tap(XK_Escape);
    sleepMs(2000);
    report("idle", measure(host, server.pid(), seconds), reference);
    writeScreen(display, shots, "idle");

    driver.chord(XK_Control_L, XK_o);
    sleepMs(2000);
    driver.click(kSongButton.x, kSongButton.y);   // the toolbar's song play button
    sleepMs(1000);
    report("play", measure(host, server.pid(), seconds), reference);
    writeScreen(display, shots, "play");

    kill(host, SIGTERM);
    for (int i = 0; i < 100 && waitpid(host, nullptr, WNOHANG) == 0; ++i)
        sleepMs(50);
    kill(host, SIGKILL);
    waitpid(host, nullptr, 0);
    XCloseDisplay(display);
    std::system(("rm -rf '" + folder + "' '" + pipeFolder + "'").c_str());
    return 0;
}
