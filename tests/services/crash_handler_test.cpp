#include "model/scratch_folder.h"
#include "platform/system/folders.h"
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
int crashInChild(void (*crash)(), pid_t* crashed = nullptr)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGSEGV, previousHandler);
        services::installCrashFilter(markFlushed);
        crash();
        _exit(0);
    }
    if (crashed)
        *crashed = child;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

std::string crashFile(pid_t pid, const char* extension)
{
    return tempFile(services::crashFileName(pid, extension).c_str());
}

} // namespace

TEST(CrashFilter, FaultWritesBothFilesFlushesAndCallsThePreviousHandler)
{
    unlink(tempFile("flushed").c_str());

    pid_t crashed = 0;
    EXPECT_EQ(crashInChild(writeThroughNull, &crashed), 42);

    const std::string report = readWholeFile(crashFile(crashed, services::kCrashReportExtension));
    EXPECT_NE(report.find("an Access Violation in module "), std::string::npos) << report;
    EXPECT_NE(report.find("Write to location 0000000000000000 caused an access violation."), std::string::npos);
    EXPECT_NE(report.find("Registers:\r\nRAX="), std::string::npos);
    EXPECT_NE(report.find("Stack dump:\r\n"), std::string::npos);
    EXPECT_NE(report.find("\tModule list: names, addresses, sizes, time stamps and file times:"), std::string::npos);
    EXPECT_EQ(readWholeFile(crashFile(crashed, services::kCrashDumpExtension)).substr(0, 8), "QBDUMP01");
    EXPECT_TRUE(platform::fileExists(tempFile("flushed")));
    for (const char* extension : {services::kCrashReportExtension, services::kCrashDumpExtension,
                                  services::kPendingMarkExtension})
        unlink(crashFile(crashed, extension).c_str());
}

// Copies of the program share the temporary folder: a second crash keeps
// the first one's report and dump whole beside its own.
TEST(CrashFilter, EachProcessKeepsItsOwnReportAndDump)
{
    pid_t first = 0, second = 0;
    crashInChild([] { raise(SIGSEGV); }, &first);
    const std::string firstReport = readWholeFile(crashFile(first, services::kCrashReportExtension));
    const std::string firstDump = readWholeFile(crashFile(first, services::kCrashDumpExtension));
    crashInChild([] { raise(SIGFPE); }, &second);
    ASSERT_NE(first, second);
    EXPECT_NE(firstReport.find("an Access Violation"), std::string::npos) << firstReport;
    EXPECT_EQ(readWholeFile(crashFile(first, services::kCrashReportExtension)), firstReport);
    EXPECT_EQ(readWholeFile(crashFile(first, services::kCrashDumpExtension)), firstDump);
    const std::string secondReport = readWholeFile(crashFile(second, services::kCrashReportExtension));
    EXPECT_EQ(secondReport.find("an Access Violation"), std::string::npos);
    EXPECT_NE(secondReport.find("Unknown exception type"), std::string::npos) << secondReport;
    EXPECT_EQ(readWholeFile(crashFile(second, services::kCrashDumpExtension)).substr(0, 8), "QBDUMP01");
    for (pid_t pid : {first, second})
        for (const char* extension : {services::kCrashReportExtension, services::kCrashDumpExtension,
                                      services::kPendingMarkExtension})
            EXPECT_EQ(unlink(crashFile(pid, extension).c_str()), 0) << pid << extension;
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
