#include "model/scratch_folder.h"
#include "platform/folders.h"
#include "services/crash_handler.h"
#include "services/signal_safe_text.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string tempFile(const char* name)
{
    return platform::joinPath(platform::temporaryFolder(), name);
}

void markFlushed()
{
    const std::string path = tempFile("flushed");   // computed before the fault in practice
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0)
        close(fd);
}

void previousHandler(int)
{
    _exit(42);
}

__attribute__((noinline, no_sanitize("address", "undefined"))) void writeThroughNull()
{
    volatile int* nothing = nullptr;
    *nothing = 1;
}

// Runs the crash in a child so that this test program survives it.
int crashInChild(void (*crash)())
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGSEGV, previousHandler);
        services::installCrashFilter(markFlushed);
        crash();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

} // namespace

TEST(CrashFilter, FaultWritesBothFilesFlushesAndCallsThePreviousHandler)
{
    unlink(tempFile("Quorbel.err").c_str());
    unlink(tempFile("Quorbel.dmp").c_str());
    unlink(tempFile("flushed").c_str());

    EXPECT_EQ(crashInChild(writeThroughNull), 42);

    const std::string report = readWholeFile(tempFile("Quorbel.err"));
    EXPECT_NE(report.find("an Access Violation in module "), std::string::npos) << report;
    EXPECT_NE(report.find("Write to location 0000000000000000 caused an access violation."), std::string::npos);
    EXPECT_NE(report.find("Registers:\r\nRAX="), std::string::npos);
    EXPECT_NE(report.find("Stack dump:\r\n"), std::string::npos);
    EXPECT_NE(report.find("\tModule list: names, addresses, sizes, time stamps and file times:"), std::string::npos);
    EXPECT_EQ(readWholeFile(tempFile("Quorbel.dmp")).substr(0, 8), "QBDUMP01");
    EXPECT_TRUE(platform::fileExists(tempFile("flushed")));
}

TEST(CrashFilter, ReportIsAppendedAcrossProcesses)
{
    unlink(tempFile("Quorbel.err").c_str());
    crashInChild([] { raise(SIGSEGV); });
    const size_t first = readWholeFile(tempFile("Quorbel.err")).size();
    crashInChild([] { raise(SIGSEGV); });
    EXPECT_GT(first, 0u);
    EXPECT_GT(readWholeFile(tempFile("Quorbel.err")).size(), first);
}

TEST(CrashFilter, WithoutAPreviousHandlerTheDefaultActionEndsTheProcess)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGFPE, SIG_DFL);
        services::installCrashFilter(nullptr);
        raise(SIGFPE);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGFPE);
}

TEST(CrashFilter, RemovePutsThePreviousHandlerBack)
{
    struct sigaction before, after;
    sigaction(SIGBUS, nullptr, &before);
    services::installCrashFilter(nullptr);
    services::removeCrashFilter();
    sigaction(SIGBUS, nullptr, &after);
    EXPECT_EQ(before.sa_handler, after.sa_handler);
}

TEST(CrashFilter, NamesFollowTheSignalCode)
{
    EXPECT_STREQ(services::exceptionName(SIGFPE, FPE_INTDIV), "an Integer Divide by Zero");
    EXPECT_STREQ(services::exceptionName(SIGBUS, BUS_ADRALN), "a Datatype Misalignment");
    EXPECT_STREQ(services::exceptionName(SIGILL, ILL_ILLOPC), "an Illegal Instruction");
    EXPECT_STREQ(services::exceptionName(SIGTERM, 0), "Unknown exception type");
}

TEST(SignalSafeText, FormatsNumbersAndDatesWithoutStdio)
{
    services::SignalSafeText text;
    text.hex(0xBEEF, 8).add(' ').dec(-1234).add(' ').date(951782400 + 3 * 3600 + 4 * 60 + 5);
    EXPECT_STREQ(text.data(), "0000beef -1234 2/29/2000 03:04:05");
}
