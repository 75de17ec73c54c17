// From a fault to the report: the pending mark, its claim by the next
// editor, the report the crash dialog sends, and the filter's lifetime.
#include "platform/dialogs/message_box.h"
#include "platform/status_text.h"
#include "platform/system/process_files.h"
#include "report_test_support.h"
#include "services/crash_handler.h"
#include "services/mini_dump.h"
#include "services/pending_report.h"
#include "services/report_choices.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace {

using Ending = LoopbackHttpServer::Ending;
using namespace services;

char logPath[1024];

// The usage log's flush as the plug-in's crash hook does it: signal-safe appends.
void flushLog()
{
    const int fd = open(logPath, O_WRONLY | O_APPEND);
    if (fd >= 0) {
        if (write(fd, "+flushed", 8) != 8) {}
        close(fd);
    }
}

void slowFlush()
{
    const timespec pause{0, 300 * 1000 * 1000};
    nanosleep(&pause, nullptr);
}

void exitQuietly(int)
{
    _exit(42);
}

// Read at run time, so the compiler cannot see the fault coming and drop the call.
int* volatile nowhere = nullptr;

__attribute__((noinline, no_sanitize("address", "undefined"))) void writeThroughNull()
{
    *nowhere = 1;
}

pid_t lastChild = 0;

// A file of the last child's crash.
std::string crashFileOfLastChild(const char* extension)
{
    return crashFileName(lastChild, extension);
}

// Runs `body` in a child with the filter installed; its exit code.
template <typename Body>
int inChild(CrashFlushHook hook, Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGSEGV, exitQuietly);
        installCrashFilter(hook);
        body();
        _exit(0);
    }
    lastChild = child;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

class CrashReportFlowTest : public ReportFolderTest {
protected:
    void SetUp() override
    {
        ReportFolderTest::SetUp();
        platform::clearStatusText();
    }
    // In the child: its own usage log with a session in it, then the fault.
    void sessionThenFault() const
    {
        std::snprintf(logPath, sizeof logPath, "%s", put(ownLog(), "session").c_str());
        writeThroughNull();
    }
    static std::string ownLog() { return platform::processFileName(getpid(), ".log"); }
    void crashOnce()
    {
        ASSERT_EQ(inChild(flushLog, [this] { sessionThenFault(); }), 42);
        ASSERT_TRUE(platform::fileExists(file(crashFileOfLastChild(kPendingMarkExtension))));
    }
};

} // namespace

TEST_F(CrashReportFlowTest, TheNextEditorClaimsTheCrashAndSendsItOnOk)
{
    crashOnce();
    const PendingReport pending = claimPendingReport();
    ASSERT_TRUE(pending.claimed);
    // The crashed process's own log, apart from this session's.
    EXPECT_EQ(pending.keptLogPath, file(platform::processFileName(lastChild, ".log")));
    EXPECT_EQ(readWholeFile(pending.keptLogPath), "session+flushed");

    ReportChoices choices;
    choices.comment = "I pressed F5.";
    choices.email = "(optional)";
    choices.interactionLog = true;
    put(ownLog(), "the new session's log");
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    ReportDelivery delivery;
    delivery.address = server.address("/report");
    const ReportResult result = sendReport(crashReportRequest(choices, pending), delivery);

    ASSERT_TRUE(result.sent);
    ASSERT_EQ(server.requests().size(), 1u);
    const FormPart part = formPart(server.requests()[0], "FILE1");
    EXPECT_EQ(part.fileName.substr(0, 4), "QBe_");
    ScratchFolder scratch;
    const std::string zip = scratch.write("posted.zip", part.content);
    const std::vector<std::string> order{"Quorbel.cmt", "Quorbel.dmp", "Quorbel.err", "Quorbel.log"};
    EXPECT_EQ(zipEntryNames(zip), order);
    EXPECT_NE(zipEntryText(zip, "Quorbel.cmt").find("Subject: Quorbel Error Report\n"), std::string::npos);
    EXPECT_NE(zipEntryText(zip, "Quorbel.cmt").find("Email: (optional)\n---\nI pressed F5."), std::string::npos);
    EXPECT_NE(zipEntryText(zip, "Quorbel.err").find("an Access Violation in module "), std::string::npos);
    EXPECT_EQ(zipEntryText(zip, "Quorbel.dmp").substr(0, 8), "QBDUMP01");
    EXPECT_EQ(zipEntryText(zip, "Quorbel.log"), "session+flushed");
    EXPECT_EQ(platform::statusText(), kReportSentStatus);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{ownLog()});   // only the live session's log
}

TEST_F(CrashReportFlowTest, OnlyOneClaimSucceedsAcrossProcessesAndCancelKeepsTheFiles)
{
    crashOnce();
    int claims = 0;
    std::vector<pid_t> children;
    for (int i = 0; i < 4; ++i) {
        const pid_t child = fork();
        if (child == 0)
            _exit(claimPendingReport().claimed ? 1 : 0);
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        claims += WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    }
    EXPECT_EQ(claims, 1);
    EXPECT_FALSE(claimPendingReport().claimed);
    // The claimer cancelled: the crash's files stay, and nobody asks again.
    std::vector<std::string> kept{platform::processFileName(lastChild, ".log"), crashFileOfLastChild(kCrashDumpExtension),
                                  crashFileOfLastChild(kCrashReportExtension)};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folderEntries(), kept);
}

// Two copies crashed before any editor came: each crash is offered to one
// editor, with its own report and dump; neither replaced the other's.
TEST_F(CrashReportFlowTest, TwoCrashesAreKeptApartAndOfferedOneEditorEach)
{
    ASSERT_EQ(inChild(flushLog, [this] { sessionThenFault(); }), 42);
    const pid_t first = lastChild;
    ASSERT_EQ(inChild(nullptr, [] { raise(SIGSEGV); }), 42);
    const pid_t second = lastChild;

    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    ReportDelivery delivery;
    delivery.address = server.address("/report");
    std::set<std::string> sentReports;
    for (int editor = 0; editor < 2; ++editor) {
        const PendingReport pending = claimPendingReport();
        ASSERT_TRUE(pending.claimed) << editor;
        const pid_t crashed = editor == 0 ? first : second;   // the older crash first
        EXPECT_EQ(pending.reportPath, file(crashFileName(crashed, kCrashReportExtension)));
        EXPECT_EQ(pending.dumpPath, file(crashFileName(crashed, kCrashDumpExtension)));
        const std::string report = readWholeFile(pending.reportPath);
        // Only the first crash wrote through a null pointer.
        EXPECT_EQ(report.find("Write to location") != std::string::npos, editor == 0) << report;
        ASSERT_TRUE(sendReport(crashReportRequest(ReportChoices{}, pending), delivery).sent);
        ScratchFolder scratch;
        const std::string zip = scratch.write("posted.zip", formPart(server.requests().back(), "FILE1").content);
        EXPECT_EQ(zipEntryText(zip, "Quorbel.err"), report);
        EXPECT_EQ(zipEntryText(zip, "Quorbel.dmp").substr(0, 8), "QBDUMP01");
        sentReports.insert(report);
    }
    EXPECT_EQ(sentReports.size(), 2u);
    EXPECT_FALSE(claimPendingReport().claimed);
}

TEST_F(CrashReportFlowTest, WithoutACrashThereIsNothingToClaimAndTheLogStays)
{
    put(ownLog(), "session");
    const PendingReport pending = claimPendingReport();
    EXPECT_FALSE(pending.claimed);
    EXPECT_EQ(readWholeFile(file(ownLog())), "session");
}

TEST_F(CrashReportFlowTest, TwoThreadsFaultingAtOnceLeaveAWholeReport)
{
    const int code = inChild(slowFlush, [] {
        std::atomic<int> ready{0};
        auto fault = [&] {
            ++ready;
            while (ready.load() < 2) {}
            writeThroughNull();
        };
        std::thread first(fault);
        std::thread second(fault);
        first.join();
        second.join();
    });
    EXPECT_EQ(code, 42);
    // The mark is written last: the second thread did not end the process
    // while the first was still at work.
    EXPECT_TRUE(platform::fileExists(file(crashFileOfLastChild(kPendingMarkExtension))));
    const std::string report = readWholeFile(file(crashFileOfLastChild(kCrashReportExtension)));
    EXPECT_NE(report.find("\tModule list: names, addresses, sizes, time stamps and file times:"), std::string::npos);
    EXPECT_EQ(report.find("an Access Violation"), report.rfind("an Access Violation"));   // written once
}

TEST_F(CrashReportFlowTest, TheFilterGoesWithTheLastUserOnlyWhileItIsInstalled)
{
    struct sigaction before, now;
    sigaction(SIGBUS, nullptr, &before);
    auto current = [&] {
        sigaction(SIGBUS, nullptr, &now);
        return now.sa_sigaction;
    };

    ASSERT_TRUE(installCrashFilter(nullptr));
    const auto filter = current();
    ASSERT_TRUE(installCrashFilter(nullptr));   // a second plug-in instance
    removeCrashFilter();
    EXPECT_EQ(current(), filter);   // the first instance still has it
    removeCrashFilter();
    current();
    EXPECT_EQ(now.sa_handler, before.sa_handler);

    // Someone else's handler installed over the filter stays when it goes.
    installCrashFilter(nullptr);
    struct sigaction theirs {};
    theirs.sa_handler = exitQuietly;
    sigaction(SIGBUS, &theirs, nullptr);
    removeCrashFilter();
    current();
    EXPECT_EQ(now.sa_handler, exitQuietly);
    sigaction(SIGBUS, &before, nullptr);
    removeCrashFilter();   // one too many does nothing
    current();
    EXPECT_EQ(now.sa_handler, before.sa_handler);
}

TEST_F(CrashReportFlowTest, AMiniDumpOnRequestAndItsFailureBox)
{
    ASSERT_TRUE(writeMiniDump(file("Quorbel.dmp")));
    const std::string dump = readWholeFile(file("Quorbel.dmp"));
    EXPECT_EQ(dump.substr(0, 8), "QBDUMP01");
    EXPECT_EQ(dump.substr(8, 4), std::string(4, '\0'));   // no signal: taken on request
    EXPECT_EQ(fileMode(file("Quorbel.dmp")), 0600u);

    static std::string box;
    platform::setMessageBoxRecorder([](const char* text, const char* caption, unsigned style) {
        box = std::string(caption) + "|" + text + "|" + std::to_string(style);
    });
    EXPECT_FALSE(writeMiniDump(file("missing/Quorbel.dmp")));
    platform::setMessageBoxRecorder(nullptr);
    EXPECT_EQ(box, "Quorbel Error Reporting|Failed to create dump file '" + file("missing/Quorbel.dmp") +
                       "' (error 2)|" + std::to_string(platform::kBoxSystemModal | platform::kBoxIconInformation));
}
