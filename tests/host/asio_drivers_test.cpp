#include "host/audio/asio_drivers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace host;

namespace {

// A driver whose calls succeed with recognisable values.
class FakeDriver final : public AsioDriver {
public:
    explicit FakeDriver(std::string name, bool initOk = true) : name_(std::move(name)), initOk_(initOk) {}
    bool init(void*) override { return initOk_; }
    std::string driverName() override { return name_; }
    int32_t driverVersion() override { return 7; }
    std::string errorMessage() override { return "init refused"; }
    AsioError start() override { return 0; }
    AsioError stop() override { return 0; }
    AsioError getChannels(int32_t* in, int32_t* out) override { *in = 2; *out = 8; return 0; }
    AsioError getLatencies(int32_t* in, int32_t* out) override { *in = *out = 64; return 0; }
    AsioError getBufferSize(int32_t* a, int32_t* b, int32_t* c, int32_t* d) override
    {
        *a = 64; *b = 2048; *c = 256; *d = -1;
        return 0;
    }
    AsioError canSampleRate(double) override { return 0; }
    AsioError getSampleRate(double* rate) override { *rate = 48000; return 0; }
    AsioError setSampleRate(double) override { return 0; }
    AsioError getSamplePosition(int64_t* p, int64_t* t) override { *p = *t = 1; return 0; }
    AsioError getChannelInfo(AsioChannelInfo* info) override { std::strcpy(info->name, "Out 1"); return 0; }
    AsioError createBuffers(AsioBufferInfo*, int32_t, int32_t, AsioCallbacks*) override { return 0; }
    AsioError disposeBuffers() override { return 0; }
    AsioError controlPanel() override { return 0; }
    AsioError outputReady() override { return 0; }

private:
    std::string name_;
    bool initOk_;
};

struct SourceLog {
    std::vector<std::string> created;
};

class FakeSource final : public AsioDriverSource {
public:
    FakeSource(std::vector<AsioDriverEntry> entries, SourceLog& log, std::string refuse = {})
        : entries_(std::move(entries)), log_(log), refuse_(std::move(refuse)) {}
    std::vector<AsioDriverEntry> scan() override { return entries_; }
    std::unique_ptr<AsioDriver> create(const AsioDriverEntry& entry) override
    {
        log_.created.push_back(entry.keyName);
        if (entry.keyName == refuse_)
            return nullptr;
        return std::make_unique<FakeDriver>(entry.keyName, entry.keyName != "BadInit");
    }

private:
    std::vector<AsioDriverEntry> entries_;
    SourceLog& log_;
    std::string refuse_;
};

// A file that exists, standing for a registered driver's server file.
class AsioDriversTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server_ = "/tmp/qb-asio-server-" + std::to_string(getpid());
        std::FILE* f = std::fopen(server_.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    void TearDown() override { std::remove(server_.c_str()); }

    AsioDriverEntry entry(const std::string& key, const std::string& description = {}, bool registered = true)
    {
        AsioDriverEntry e;
        e.keyName = key;
        e.description = description;
        e.serverPath = registered ? server_ : std::string();
        return e;
    }

    std::string server_;
    SourceLog log_;
};

} // namespace

TEST_F(AsioDriversTest, ProgramSourceIsEmpty)
{
    AsioDriverList list(makeSystemAsioSource());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentNumber(), -1);
    EXPECT_FALSE(list.asioOpenDriver("ASIO4ALL"));
}

TEST_F(AsioDriversTest, OnlyDriversWithAnExistingServerFileAreListed)
{
    AsioDriverEntry gone = entry("Gone");
    gone.serverPath = server_ + ".missing";
    AsioDriverList list(std::make_unique<FakeSource>(
        std::vector<AsioDriverEntry>{entry("Unregistered", "", false), entry("First", "First Card"), gone,
                                     entry("Second")},
        log_));
    ASSERT_EQ(list.count(), 2);
    char name[32];
    ASSERT_EQ(list.asioDriverName(0, name), 0);
    EXPECT_STREQ(name, "First Card");   // the description wins over the key name
    ASSERT_EQ(list.asioDriverName(1, name), 0);
    EXPECT_STREQ(name, "Second");
}

TEST_F(AsioDriversTest, NamesAreCutAndCheckedAtTheLimits)
{
    const std::string name31(31, 'a');
    const std::string name32(32, 'b');
    AsioDriverList list(std::make_unique<FakeSource>(
        std::vector<AsioDriverEntry>{entry("k1", name31), entry("k2", name32), entry("k3", std::string(300, 'c'))},
        log_));
    char buffer[32];
    ASSERT_EQ(list.asioDriverName(0, buffer), 0);
    EXPECT_EQ(std::string(buffer), name31);
    ASSERT_EQ(list.asioDriverName(1, buffer), 0);
    EXPECT_EQ(std::string(buffer), std::string(28, 'b') + "...");
    ASSERT_EQ(list.asioDriverName(2, buffer), 0);
    EXPECT_EQ(std::string(buffer), std::string(28, 'c') + "...");

    EXPECT_EQ(list.asioDriverName(0, nullptr), kAsioErrorNullBuffer);
    EXPECT_EQ(list.asioDriverName(3, buffer), kAsioErrorNoDriver);
    EXPECT_EQ(list.asioDriverName(-1, buffer), kAsioErrorNoDriver);
}

TEST_F(AsioDriversTest, NameListFillsAtMostMaxNonNullEntries)
{
    AsioDriverList list(std::make_unique<FakeSource>(
        std::vector<AsioDriverEntry>{entry("A"), entry("B"), entry("C")}, log_));
    char a[32] = "untouched", b[32] = "untouched", c[32] = "untouched", d[32] = "untouched";
    char* names[4] = {a, nullptr, c, d};
    EXPECT_EQ(list.asioDriverNames(names, 2), 2);
    EXPECT_STREQ(a, "A");
    EXPECT_STREQ(c, "untouched");
    names[1] = b;
    EXPECT_EQ(list.asioDriverNames(names, 4), 3);
    EXPECT_STREQ(b, "B");
    EXPECT_STREQ(c, "C");
    EXPECT_STREQ(d, "untouched");
    EXPECT_EQ(list.asioDriverNames(names, 0), 0);
    EXPECT_EQ(list.asioDriverNames(names, -2), 0);
    EXPECT_EQ(list.asioDriverNames(nullptr, 3), 0);
}

TEST_F(AsioDriversTest, CallsWithoutADriverAnswerNotPresentWithClearedOutputs)
{
    AsioDriverList list(makeSystemAsioSource());
    int32_t in = 5, out = 5;
    EXPECT_EQ(list.getChannels(&in, &out), kAsioNotPresent);
    EXPECT_EQ(in, 0);
    EXPECT_EQ(out, 0);
    in = out = 5;
    EXPECT_EQ(list.getLatencies(&in, &out), kAsioNotPresent);
    EXPECT_EQ(in + out, 0);
    int32_t sizes[4] = {1, 2, 3, 4};
    EXPECT_EQ(list.getBufferSize(&sizes[0], &sizes[1], &sizes[2], &sizes[3]), kAsioNotPresent);
    EXPECT_EQ(sizes[0] + sizes[1] + sizes[2] + sizes[3], 0);
    AsioChannelInfo info;
    info.channelGroup = 3;
    info.type = 18;
    EXPECT_EQ(list.getChannelInfo(&info), kAsioNotPresent);
    EXPECT_EQ(info.channelGroup, -1);
    EXPECT_EQ(info.type, 0);
    EXPECT_STREQ(info.name, "None");
    int dummy = 0;
    AsioBufferInfo buffers[2];
    buffers[0].buffers[0] = buffers[1].buffers[1] = &dummy;
    EXPECT_EQ(list.createBuffers(buffers, 2, 256, nullptr), kAsioNotPresent);
    EXPECT_EQ(buffers[0].buffers[0], nullptr);
    EXPECT_EQ(buffers[1].buffers[1], nullptr);
    for (AsioError e : {list.start(), list.stop(), list.canSampleRate(44100), list.setSampleRate(44100),
                        list.disposeBuffers(), list.controlPanel(), list.outputReady()})
        EXPECT_EQ(e, kAsioNotPresent);

    AsioDriverInfo driverInfo;
    driverInfo.driverVersion = 9;
    EXPECT_EQ(list.init(&driverInfo), kAsioNotPresent);
    EXPECT_STREQ(driverInfo.name, "No ASIO Driver");
    EXPECT_EQ(driverInfo.driverVersion, 0);
    EXPECT_EQ(list.exit(), kAsioOk);
}

TEST_F(AsioDriversTest, OpenInitAndRelease)
{
    AsioDriverList list(std::make_unique<FakeSource>(
        std::vector<AsioDriverEntry>{entry("One"), entry("BadInit")}, log_));
    EXPECT_FALSE(list.asioOpenDriver("one"));   // names compare exactly
    ASSERT_TRUE(list.asioOpenDriver("One"));
    EXPECT_EQ(list.currentNumber(), 0);
    AsioDriverInfo info;
    ASSERT_EQ(list.init(&info), kAsioOk);
    EXPECT_STREQ(info.name, "One");
    EXPECT_STREQ(info.errorMessage, "No ASIO Driver Error");
    EXPECT_EQ(info.driverVersion, 7);
    int32_t in = 0, out = 0;
    EXPECT_EQ(list.getChannels(&in, &out), kAsioOk);
    EXPECT_EQ(out, 8);

    ASSERT_TRUE(list.asioOpenDriver("BadInit"));
    EXPECT_EQ(list.init(&info), kAsioNotPresent);
    EXPECT_STREQ(info.errorMessage, "init refused");
    EXPECT_EQ(list.getChannels(&in, &out), kAsioNotPresent);   // the driver is no longer current

    EXPECT_EQ(list.exit(), kAsioOk);
    EXPECT_EQ(list.currentNumber(), -1);
}

TEST_F(AsioDriversTest, AFailedOpenLoadsThePreviousDriverAgain)
{
    AsioDriverList list(std::make_unique<FakeSource>(
        std::vector<AsioDriverEntry>{entry("Good"), entry("Broken")}, log_, "Broken"));
    ASSERT_TRUE(list.asioOpenDriver("Good"));
    EXPECT_FALSE(list.asioOpenDriver("Broken"));
    EXPECT_EQ(list.currentNumber(), 0);
    EXPECT_EQ(log_.created, (std::vector<std::string>{"Good", "Broken", "Good"}));
    int32_t in = 0, out = 0;
    EXPECT_EQ(list.getChannels(&in, &out), kAsioOk);

    list.asioReleaseDriver();
    EXPECT_FALSE(list.asioOpenDriver("Broken"));   // nothing to go back to
    EXPECT_EQ(list.currentNumber(), -1);
    EXPECT_EQ(list.getChannels(&in, &out), kAsioNotPresent);
}
