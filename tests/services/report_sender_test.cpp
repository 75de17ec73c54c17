#include "model/song/module.h"
#include "platform/status_text.h"
#include "platform/system/process_files.h"
#include "report_test_support.h"
#include "services/report_choices.h"
#include "services/report_sender.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <unistd.h>

namespace {

using Ending = LoopbackHttpServer::Ending;
using namespace services;

constexpr time_t kLeapDay = 951782400 + 13 * 3600 + 4 * 60 + 5;   // 2000-02-29 13:04:05 UTC

class ReportSenderTest : public ReportFolderTest {
protected:
    void SetUp() override
    {
        ReportFolderTest::SetUp();
        platform::clearStatusText();
        delivery.identity = {"Vendor", "Product", 2400, "1.1.0"};
        delivery.now = kLeapDay;
    }

    ReportRequest feedback(unsigned flags) const
    {
        ReportRequest request;
        request.comment = "It hums.";
        request.flags = flags;
        return request;
    }
    // The posted zip, written where the test can read it.
    std::string postedZip(const LoopbackHttpServer& server, std::string* fileName = nullptr) const
    {
        const auto requests = server.requests();
        if (requests.size() != 1)
            return {};
        EXPECT_EQ(requests[0].method, "POST");
        const FormPart part = formPart(requests[0], "FILE1");
        EXPECT_EQ(part.partCount, 1);
        if (fileName)
            *fileName = part.fileName;
        return scratch_.write("posted.zip", part.content);
    }

    ReportDelivery delivery;
    ScratchFolder scratch_;
};

} // namespace

TEST_F(ReportSenderTest, FeedbackWithNoBoxCheckedPostsTheCommentAlone)
{
    // A long reply is cut, not fatal.
    LoopbackHttpServer server({200, "OK", "", std::string(100000, 'x'), Ending::Whole});
    delivery.address = server.address("/report");
    const ReportResult result = sendReport(feedback(kReportComment), delivery);

    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.transfer.reply.size(), 4096u);
    std::string fileName;
    const std::string zip = postedZip(server, &fileName);
    EXPECT_EQ(fileName, "QBc_20000229-130405");
    EXPECT_EQ(server.requests()[0].target, "/report");
    EXPECT_EQ(zipEntryNames(zip), std::vector<std::string>{"Quorbel.cmt"});
    const std::string comment = zipEntryText(zip, "Quorbel.cmt");
    EXPECT_EQ(comment.substr(0, 27), "Subject: Quorbel Feedback\nT");
    EXPECT_NE(comment.find("\nHost: Vendor Product (Version: 2400)\nPlug-in: Quorbel v1.1.0 Std\n"
                           "Email: (not provided)\n---\nIt hums."),
              std::string::npos)
        << comment;
    EXPECT_EQ(platform::statusText(), kReportSentStatus);
    EXPECT_TRUE(folderEntries().empty());   // the comment file and the zip are gone
}

TEST_F(ReportSenderTest, MembersGoInInTheTablesOrderAndAreDeleted)
{
    put("Quorbel.err", "report");
    put("Quorbel.dmp", "dump");
    put("Quorbel.xml", "<module/>");
    put(platform::processFileName(getpid(), ".log"), "log");   // this process's own log
    const std::string capture = scratch_.write("capture.gif", "GIF89a");
    ReportRequest request = feedback(0x3F);
    request.subject = kErrorReportSubject;
    request.email = "(optional)";
    request.capturePath = capture;
    LoopbackHttpServer server({204, "No Content", "", "", Ending::Whole});
    delivery.address = server.address("/report");

    const ReportResult result = sendReport(request, delivery);
    EXPECT_TRUE(result.sent);   // any 2xx
    std::string fileName;
    const std::string zip = postedZip(server, &fileName);
    EXPECT_EQ(fileName, "QBe_20000229-130405");
    const std::vector<std::string> order{"Quorbel.cmt", "Quorbel.dmp", "Quorbel.err",
                                         "Quorbel.gif", "Quorbel.log", "Module.xml"};
    EXPECT_EQ(zipEntryNames(zip), order);
    EXPECT_EQ(zipEntryText(zip, "Module.xml"), "<module/>");
    EXPECT_EQ(zipEntryText(zip, "Quorbel.gif"), "GIF89a");
    EXPECT_NE(zipEntryText(zip, "Quorbel.cmt").find("Email: (optional)\n"), std::string::npos);
    EXPECT_TRUE(folderEntries().empty());
    EXPECT_FALSE(platform::fileExists(capture));
}

TEST_F(ReportSenderTest, AZipThatWasNotSentStaysAndNothingIsShown)
{
    LoopbackHttpServer failing({500, "Internal Server Error", "", "", Ending::Whole});
    LoopbackHttpServer moved({301, "Moved", "Location: /other\r\n", "", Ending::Whole});
    LoopbackHttpServer slow({200, "OK", "", "", Ending::Stall});
    std::string refused;
    {
        LoopbackHttpServer gone({200, "OK", "", "", Ending::Whole});
        refused = gone.address("/report");
    }
    struct Case {
        const char* what;
        std::string address;
        uint64_t maxZipBytes;
        bool requested;
    };
    const Case cases[] = {
        {"500", failing.address("/report"), kMaxReportZipBytes, true},
        {"redirect", moved.address("/report"), kMaxReportZipBytes, true},
        {"stalled", slow.address("/report"), kMaxReportZipBytes, true},
        {"refused", refused, kMaxReportZipBytes, true},
        {"too big", failing.address("/report"), 64, false},
        {"no address", "", kMaxReportZipBytes, false},
        {"ftp", "ftp" + failing.address("/report").substr(4), kMaxReportZipBytes, false},
    };
    for (const Case& c : cases) {
        delivery.address = c.address;
        delivery.maxZipBytes = c.maxZipBytes;
        delivery.limits.totalSeconds = 1;
        const int before = failing.connections();
        const ReportResult result = sendReport(feedback(kReportComment), delivery);
        EXPECT_TRUE(result.zipped) << c.what;
        EXPECT_FALSE(result.sent) << c.what;
        EXPECT_EQ(result.transfer.requested, c.requested) << c.what;
        EXPECT_TRUE(platform::fileExists(result.zipPath)) << c.what;
        EXPECT_EQ(zipEntryNames(result.zipPath), std::vector<std::string>{"Quorbel.cmt"}) << c.what;
        if (!c.requested) {
            EXPECT_EQ(failing.connections(), before) << c.what;
        }
    }
    EXPECT_EQ(moved.requests().size(), 1u);
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_TRUE(services::reportAddress().empty());   // the default build sends nowhere
}

TEST_F(ReportSenderTest, TheZipIsAlwaysANewPrivateFile)
{
    put("QBc_20000229-130405", "someone else's");
    put("QBc_20000229-130405-2", "and another");
    const ReportResult result = sendReport(feedback(kReportComment), delivery);
    EXPECT_EQ(result.zipPath, file("QBc_20000229-130405-3"));
    EXPECT_EQ(fileMode(result.zipPath), 0600u);
    EXPECT_EQ(readWholeFile(file("QBc_20000229-130405")), "someone else's");
    EXPECT_EQ(zipEntryNames(result.zipPath), std::vector<std::string>{"Quorbel.cmt"});
}

TEST_F(ReportSenderTest, LinksPlantedAtTheFilesNamesAreNeverFollowed)
{
    const std::string elsewhere = scratch_.write("elsewhere", "untouched");
    ASSERT_EQ(symlink(elsewhere.c_str(), file("Quorbel.err").c_str()), 0);
    ReportResult result = sendReport(feedback(kReportComment | kReportExceptionReport), delivery);
    EXPECT_EQ(zipEntryNames(result.zipPath), std::vector<std::string>{"Quorbel.cmt"});
    EXPECT_EQ(readWholeFile(elsewhere), "untouched");

    ASSERT_EQ(symlink(elsewhere.c_str(), file("Quorbel.cmt").c_str()), 0);
    result = sendReport(feedback(kReportComment), delivery);
    EXPECT_TRUE(result.zipPath.empty());
    EXPECT_EQ(readWholeFile(elsewhere), "untouched");
}

TEST_F(ReportSenderTest, CommentHeaderGivesTheZoneOffsetInSignedHours)
{
    struct Case {
        const char* zone;
        const char* time;
    };
    const Case cases[] = {
        {"JST-9", "Time: Tue Feb 29 22:04:05 2000 (-9, JST)\n"},
        {"EST5", "Time: Tue Feb 29 08:04:05 2000 (5, EST)\n"},
        {"UTC0", "Time: Tue Feb 29 13:04:05 2000 (0, UTC)\n"},
    };
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        const std::string text = commentFileText("S", "C", "me@example.org", delivery.identity, kLeapDay);
        EXPECT_EQ(text, std::string("Subject: S\n") + c.time +
                            "Host: Vendor Product (Version: 2400)\nPlug-in: Quorbel v1.1.0 Std\n"
                            "Email: me@example.org\n---\nC");
    }
    if (saved)
        setenv("TZ", before.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(ReportSenderTest, FeedbackChoicesChooseTheMembers)
{
    TesselModule song;
    std::snprintf(song.text, sizeof song.text, "%s", "Song of the test");
    const std::string expected = writtenText([&](FILE* f) { song.writeXml(f, std::string(), false); });

    ReportChoices choices;
    choices.comment = "With everything";
    choices.technicalData = true;
    choices.moduleData = true;
    choices.interactionLog = true;
    put(platform::processFileName(getpid(), ".log"), "the session's log");
    ReportRequest request = feedbackRequest(choices, &song);
    EXPECT_EQ(request.flags, unsigned(kReportComment | kReportMiniDump | kReportModuleData | kReportUsageLog));
    EXPECT_EQ(readWholeFile(file("Quorbel.xml")), expected);
    EXPECT_EQ(readWholeFile(file("Quorbel.dmp")).substr(0, 8), "QBDUMP01");
    EXPECT_EQ(fileMode(file("Quorbel.xml")), 0600u);

    const ReportResult result = sendReport(request, delivery);
    const std::vector<std::string> order{"Quorbel.cmt", "Quorbel.dmp", "Quorbel.log", "Module.xml"};
    EXPECT_EQ(zipEntryNames(result.zipPath), order);
    EXPECT_EQ(zipEntryText(result.zipPath, "Module.xml"), expected);

    // A song lock that cannot be had leaves the module out.
    ShortEditLockWait shortWait;
    LockHeldElsewhere holder(song.songLock());
    choices.technicalData = false;
    choices.interactionLog = false;
    request = feedbackRequest(choices, &song);
    EXPECT_EQ(request.flags, unsigned(kReportComment));
}
