#include "report_test_support.h"
#include "services/build_settings.h"
#include "services/update_check.h"

#include <chrono>

namespace {

using Ending = LoopbackHttpServer::Ending;
using services::UpdateCheck;

constexpr float kVersion = 1.1f;   // compares as 1100
constexpr const char* kNewer = "s,1,1101,p,2,3";

struct CheckOutcome {
    bool flag;
    int requests;
    services::TransferResult result;
};

CheckOutcome checkAgainst(const LoopbackHttpServer::Reply& reply,
                          services::TransferLimits limits = UpdateCheck::defaultLimits())
{
    LoopbackHttpServer server(reply);
    UpdateCheck check(kVersion, server.address(), limits);
    EXPECT_TRUE(check.started());
    check.wait();
    return {check.updateAvailable(), static_cast<int>(server.requests().size()), check.result()};
}

class UpdateCheckTest : public ReportFolderTest {};

} // namespace

TEST(VersionReply, OnlyTheWholePatternInRangeCountsAndNewerIsAboveTheVersion)
{
    struct Case {
        const char* reply;
        bool read;
    };
    const Case cases[] = {
        {"s,1,1101,p,2,3", true},
        {"s,1,1101,p,2,3\r\n", true},
        {"s,0,2147483647,p,0,0", true},
        {"s,1,2147483648,p,2,3", false},   // past int
        {"s,1,99999999999999999999,p,2,3", false},
        {"s,-1,1101,p,2,3", false},
        {"s, 1,1101,p,2,3", false},         // strtol alone would skip the blank
        {"s,+1,1101,p,2,3", false},
        {"s,1,1101,p,2", false},
        {"s,1,1101,p,2,", false},
        {"s,1,1101,p,2,3junk", false},
        {"s,1,x1101,p,2,3", false},
        {"S,1,1101,P,2,3", false},
        {"", false},
    };
    for (const Case& c : cases) {
        int numbers[4] = {-7, -7, -7, -7};
        EXPECT_EQ(services::parseVersionReply(c.reply, numbers), c.read) << c.reply;
        if (!c.read) {
            EXPECT_EQ(numbers[1], -7) << c.reply;
        }
    }
    int numbers[4] = {};
    ASSERT_TRUE(services::parseVersionReply("s,4,1234,p,5,6", numbers));
    EXPECT_EQ(numbers[0], 4);
    EXPECT_EQ(numbers[1], 1234);
    EXPECT_EQ(numbers[2], 5);
    EXPECT_EQ(numbers[3], 6);
    EXPECT_FALSE(services::parseVersionReply(std::string("s,1,1101,p,2,3\0", 15), numbers));

    // Newer means above the version x 1000.
    EXPECT_TRUE(services::isNewerVersion(1101, 1.1f));
    EXPECT_FALSE(services::isNewerVersion(1100, 1.1f));
    EXPECT_FALSE(services::isNewerVersion(1002, 1.003f));
    EXPECT_TRUE(services::isNewerVersion(1004, 1.003f));
}

TEST_F(UpdateCheckTest, OnlyAWhole200ReplyWithANewerVersionSetsTheFlag)
{
    struct Case {
        const char* what;
        LoopbackHttpServer::Reply reply;
        bool flag;
    };
    const Case cases[] = {
        {"newer", {200, "OK", "", kNewer, Ending::Whole}, true},
        {"equal", {200, "OK", "", "s,1,1100,p,2,3", Ending::Whole}, false},
        {"older", {200, "OK", "", "s,1,1000,p,2,3", Ending::Whole}, false},
        {"garbled", {200, "OK", "", "s,1,1101;p,2,3", Ending::Whole}, false},
        {"partial", {200, "OK", "", kNewer, Ending::Short}, false},
        {"redirect", {302, "Found", "Location: /elsewhere.txt\r\n", kNewer, Ending::Whole}, false},
        {"404", {404, "Not Found", "", kNewer, Ending::Whole}, false},
        {"203", {203, "Non-Authoritative Information", "", kNewer, Ending::Whole}, false},
    };
    for (const Case& c : cases) {
        const CheckOutcome outcome = checkAgainst(c.reply);
        EXPECT_EQ(outcome.flag, c.flag) << c.what;
        EXPECT_EQ(outcome.requests, 1) << c.what;   // a redirect is not followed
    }
}

TEST_F(UpdateCheckTest, AReplyPastTheCapIsAbandoned)
{
    const std::string body = std::string(kNewer) + std::string(1 << 20, ' ');
    const CheckOutcome outcome = checkAgainst({200, "OK", "", body, Ending::Whole});
    EXPECT_FALSE(outcome.flag);
    EXPECT_TRUE(outcome.result.pastCap);
    EXPECT_FALSE(outcome.result.completed);
    EXPECT_EQ(outcome.result.reply.size(), 4096u);
}

TEST_F(UpdateCheckTest, AStalledServerEndsAtTheTotalTimeout)
{
    services::TransferLimits limits = UpdateCheck::defaultLimits();
    limits.totalSeconds = 1;
    const CheckOutcome outcome = checkAgainst({200, "OK", "", kNewer, Ending::Stall}, limits);
    EXPECT_FALSE(outcome.flag);
    EXPECT_FALSE(outcome.result.completed);
    EXPECT_FALSE(outcome.result.aborted);
    EXPECT_EQ(outcome.result.status, 0);
}

TEST_F(UpdateCheckTest, DeletingTheCheckDuringAStallReturnsWithinASecond)
{
    LoopbackHttpServer server({200, "OK", "", kNewer, Ending::Stall});
    auto check = std::make_unique<UpdateCheck>(kVersion, server.address());
    ASSERT_TRUE(server.waitForRequests(1));
    const auto start = std::chrono::steady_clock::now();
    check.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(services::CurlGlobal::holders(), 0);
}

TEST_F(UpdateCheckTest, OtherSchemesVersionZeroAndTheDefaultBuildConnectNowhere)
{
    LoopbackHttpServer server({200, "OK", "", kNewer, Ending::Whole});
    const std::string hostPort = server.address("/").substr(7);
    const std::string addresses[] = {"ftp://" + hostPort + "version.txt", "file:///etc/hostname", "",
                                     "127.0.0.1:0/version.txt", "gopher://" + hostPort};
    for (const std::string& address : addresses) {
        UpdateCheck check(kVersion, address);
        EXPECT_FALSE(check.started()) << address;
    }
    UpdateCheck noVersion(0.0f, server.address());
    EXPECT_FALSE(noVersion.started());

    EXPECT_TRUE(services::updateCheckAddress().empty());   // the default build's setting
    UpdateCheck byDefault(kVersion);
    EXPECT_FALSE(byDefault.started());
    EXPECT_EQ(server.connections(), 0);
}
