#include "services/crash_handler.h"

#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "services/crash_report.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace services {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct InstalledFilter {
    int users = 0;
    struct sigaction previous[kSignalCount];
    CrashFlushHook flush = nullptr;
    CrashContext context;
};

enum CrashState : int { kNoCrash, kWriting, kWritten };

std::mutex installLock;
InstalledFilter filter;
std::atomic<int> crashState{kNoCrash};
std::atomic<long> writingThread{0};
alignas(16) char alternateStack[64 * 1024];

int slotOf(int signal)
{
    for (int i = 0; i < kSignalCount; ++i)
        if (kSignals[i] == signal)
            return i;
    return -1;
}

void copyText(char* target, size_t size, const char* text)
{
    std::snprintf(target, size, "%s", text ? text : "");
}

void gatherContext(CrashContext& c)
{
    const std::string folder = platform::temporaryFolder();
    const long pid = static_cast<long>(getpid());
    copyText(c.reportPath, sizeof c.reportPath,
             platform::joinPath(folder, crashFileName(pid, kCrashReportExtension)).c_str());
    copyText(c.dumpPath, sizeof c.dumpPath, platform::joinPath(folder, crashFileName(pid, kCrashDumpExtension)).c_str());
    copyText(c.pendingPath, sizeof c.pendingPath,
             platform::joinPath(folder, crashFileName(pid, kPendingMarkExtension)).c_str());
    c.haveFolder = !folder.empty();
    const ssize_t n = readlink("/proc/self/exe", c.programPath, sizeof c.programPath - 1);
    copyText(c.programPath, sizeof c.programPath, n > 0 ? std::string(c.programPath, static_cast<size_t>(n)).c_str()
                                                        : "Unknown");
    const char* user = std::getenv("USER");
    if (!user || !*user) {
        const passwd* entry = getpwuid(geteuid());
        user = entry ? entry->pw_name : nullptr;
    }
    copyText(c.userName, sizeof c.userName, user && *user ? user : "Unknown");
    c.processors = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    c.memoryMegabytes = (pages > 0 && pageSize > 0)
        ? static_cast<long>((static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize) +
                             (1 << 20) - 1) >> 20)
        : 0;
}

long currentThread()
{
    return syscall(SYS_gettid);
}

void writePendingMark(const char* path)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        close(fd);
}

// Another thread is writing the report: let it finish before this thread's
// signal goes on and, most likely, ends the process.
void waitForTheReport()
{
    if (writingThread.load() == currentThread())
        return;   // a fault inside our own handler: nobody else will finish
    const timespec step{0, 10 * 1000 * 1000};
    for (int waited = 0; waited < kConcurrentFaultWaitMs && crashState.load() != kWritten; waited += 10)
        nanosleep(&step, nullptr);
}

void passOn(int signal, siginfo_t* info, void* context)
{
    const int slot = slotOf(signal);
    const struct sigaction* previous = slot >= 0 ? &filter.previous[slot] : nullptr;
    if (previous && (previous->sa_flags & SA_SIGINFO) && previous->sa_sigaction) {
        previous->sa_sigaction(signal, info, context);
        return;
    }
    if (previous && previous->sa_handler != SIG_DFL && previous->sa_handler != SIG_IGN) {
        previous->sa_handler(signal);
        return;
    }
    // Default action: it runs when the handler returns, for a fault as for a raised signal.
    struct sigaction fallback;
    std::memset(&fallback, 0, sizeof fallback);
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

void onSignal(int signal, siginfo_t* info, void* context)
{
    crashFilter(signal, info, context);
    passOn(signal, info, context);
}

bool isOurs(const struct sigaction& action)
{
    return (action.sa_flags & SA_SIGINFO) && action.sa_sigaction == onSignal;
}

} // namespace

std::string crashFileName(long pid, const char* extension)
{
    return platform::processFileName(pid, extension);
}

int crashFilter(int signal, siginfo_t* info, void* context)
{
    int expected = kNoCrash;
    if (!crashState.compare_exchange_strong(expected, kWriting)) {
        waitForTheReport();
        return 0;
    }
    writingThread.store(currentThread());
    int dumped = 0;
    if (filter.context.haveFolder) {
        writeExceptionReport(filter.context, signal, info, context);
        int error = 0;
        dumped = writeDump(filter.context.dumpPath, signal, info, context, error) == DumpResult::Written ? 1 : 0;
        if (filter.flush)
            filter.flush();
        writePendingMark(filter.context.pendingPath);
    }
    crashState.store(kWritten);
    return dumped;
}

bool installCrashFilter(CrashFlushHook flush)
{
    std::lock_guard<std::mutex> guard(installLock);
    if (filter.users++ > 0)
        return true;
    gatherContext(filter.context);
    filter.flush = flush;

    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &action, &filter.previous[i]);
    return true;
}

void removeCrashFilter()
{
    std::lock_guard<std::mutex> guard(installLock);
    if (filter.users == 0 || --filter.users > 0)
        return;
    for (int i = 0; i < kSignalCount; ++i) {
        struct sigaction current;
        if (sigaction(kSignals[i], nullptr, &current) == 0 && isOurs(current))
            sigaction(kSignals[i], &filter.previous[i], nullptr);
    }
    filter.flush = nullptr;
}

} // namespace services
