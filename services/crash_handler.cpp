#include "services/crash_handler.h"

#include "platform/folders.h"
#include "services/crash_report.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace services {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct InstalledFilter {
    bool installed = false;
    struct sigaction previous[kSignalCount];
    CrashFlushHook flush = nullptr;
    CrashContext context;
};

InstalledFilter filter;
std::atomic<bool> crashHandled{false};
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
    copyText(c.reportPath, sizeof c.reportPath, platform::joinPath(folder, "Quorbel.err").c_str());
    copyText(c.dumpPath, sizeof c.dumpPath, platform::joinPath(folder, "Quorbel.dmp").c_str());
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

} // namespace

int crashFilter(int signal, siginfo_t* info, void* context)
{
    if (crashHandled.exchange(true))
        return 0;
    if (!filter.context.haveFolder)
        return 0;
    writeExceptionReport(filter.context, signal, info, context);
    const bool dumped = writeDump(filter.context, signal, info, context);
    if (filter.flush)
        filter.flush();
    return dumped ? 1 : 0;
}

bool installCrashFilter(CrashFlushHook flush)
{
    if (filter.installed)
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
    filter.installed = true;
    return true;
}

void removeCrashFilter()
{
    if (!filter.installed)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &filter.previous[i], nullptr);
    filter.installed = false;
    filter.flush = nullptr;
}

} // namespace services
