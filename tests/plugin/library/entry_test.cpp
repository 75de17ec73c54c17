// The library as a host meets it: exports, main, the record and the
// one-instance rule.
#include "library/test_host.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <dlfcn.h>
#include <set>
#include <string>

namespace {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(host().load(error)) << error;
    }
    void TearDown() override { host().unload(); }

    static TestHost& host() { return TestHost::get(); }
};

TEST(LibraryExports, NmListsExactlyTheSixEntries)
{
    ASSERT_TRUE(outside_tools::have({"nm"}));
    FILE* pipe = popen("nm -D --defined-only " QB_PLUGIN_LIBRARY, "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char address[64], kind[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3)
            names.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"main", "QuorbelConnect", "QuorbelDisconnect", "QuorbelGetBus",
                                            "QuorbelGetSetup", "QuorbelPrepare"}));
}

TEST_F(LibraryTest, HostAnsweringVersionZeroGetsNullAndNoBox)
{
    host().version = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(host().create(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    host().version = 2400;
    // No instance was left behind.
    EXPECT_NE(host().create(), nullptr);
}

TEST_F(LibraryTest, EffectRecordFields)
{
    AEffect* effect = host().create();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->flags, 309);
    EXPECT_EQ(effect->numInputs, 0);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->numPrograms, 0);
    EXPECT_EQ(effect->numParams, 0);
    EXPECT_EQ(effect->uniqueID, 0x33323638);
    EXPECT_EQ(effect->version, 1);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_EQ(host().dispatch(effGetVstVersion), 2300);
    EXPECT_EQ(host().dispatch(effGetPlugCategory), 2);
    char text[65] = {};
    EXPECT_EQ(host().dispatch(effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "Quorbel");
    EXPECT_EQ(host().dispatch(effGetVendorVersion), 1100);
}

// The refusal shows in a box of the desktop (here a stand-in zenity that
// notes its arguments) and on standard error; without a display, on
// standard error alone.
TEST_F(LibraryTest, SecondMainIsRefusedUntilTheFirstCloses)
{
    char folder[] = "/tmp/qb-entry-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string folderPath = folder;
    const std::string log = folderPath + "/args.log";
    {
        std::ofstream script(folderPath + "/zenity");
        script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << log << "'\n";
    }
    chmod((folderPath + "/zenity").c_str(), 0700);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const std::string oldDisplay = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("PATH", folder, 1);
    setenv("DISPLAY", ":97", 1);

    AEffect* first = host().create();
    ASSERT_NE(first, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(host().create(), nullptr);
    const std::string box = testing::internal::GetCapturedStderr();
    EXPECT_NE(box.find("ERROR: You can only run one instance of Quorbel at a time."), std::string::npos) << box;
    EXPECT_NE(box.find("Quorbel"), std::string::npos);
    std::ifstream shown(log);
    const std::string arguments((std::istreambuf_iterator<char>(shown)), std::istreambuf_iterator<char>());
    EXPECT_EQ(arguments, "--error\n--no-markup\n--title=Quorbel\n"
                         "--text=ERROR: You can only run one instance of Quorbel at a time.\n");

    std::remove(log.c_str());
    unsetenv("DISPLAY");
    testing::internal::CaptureStderr();
    EXPECT_EQ(host().create(), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ERROR: You can only run one instance"), std::string::npos);
    EXPECT_FALSE(std::ifstream(log).good());
    setenv("PATH", oldPath.c_str(), 1);
    oldDisplay.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", oldDisplay.c_str(), 1);
    std::system(("rm -rf '" + folderPath + "'").c_str());

    host().close();
    AEffect* again = host().create();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->magic, 0x56737450);
}

TEST_F(LibraryTest, CanDoAnswers)
{
    ASSERT_NE(host().create(), nullptr);
    auto canDo = [&](const char* what) { return host().dispatch(effCanDo, 0, 0, const_cast<char*>(what)); };
    for (const char* yes : {"receiveVstTimeInfo", "receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents",
                            "sendVstMidiEvent", "LiveWithoutToolbar"})
        EXPECT_EQ(canDo(yes), 1) << yes;
    for (const char* no : {"receivevstmidievent", "RECEIVEVSTEVENTS", "offline", "bypass", "", "plugAsChannelInsert"})
        EXPECT_EQ(canDo(no), 0) << no;
}

TEST_F(LibraryTest, PresetsAreRefused)
{
    ASSERT_NE(host().create(), nullptr);
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(host().dispatch(effGetChunk, 1, 0, &data), 0);
    char block[16] = {};
    EXPECT_EQ(host().dispatch(effSetChunk, 1, sizeof block, block), 0);
    EXPECT_EQ(host().dispatch(effSetChunk, 0, 0, block), 0);
    EXPECT_EQ(host().dispatch(effSetChunk, 0, 16, nullptr), 0);
}

TEST_F(LibraryTest, DataExportsFollowTheRunningInstance)
{
    using GetBus = void* (*)(int32_t);
    using GetSetup = void* (*)();
    using Prepare = int32_t (*)(int32_t);
    auto getBus = reinterpret_cast<GetBus>(host().symbol("QuorbelGetBus"));
    auto getSetup = reinterpret_cast<GetSetup>(host().symbol("QuorbelGetSetup"));
    auto prepare = reinterpret_cast<Prepare>(host().symbol("QuorbelPrepare"));
    ASSERT_TRUE(getBus && getSetup && prepare);

    EXPECT_EQ(getBus(0), nullptr);
    EXPECT_EQ(getSetup(), nullptr);
    EXPECT_EQ(prepare(256), 0);

    ASSERT_NE(host().create(), nullptr);
    void* bus = getBus(0);
    EXPECT_NE(bus, nullptr);
    EXPECT_EQ(getBus(0), bus);
    EXPECT_EQ(getBus(1), nullptr);
    EXPECT_EQ(getBus(-1), nullptr);
    EXPECT_NE(getSetup(), nullptr);

    // Deleting the plug-in must not leave the exports on freed memory.
    host().close();
    EXPECT_EQ(getBus(0), nullptr);
    EXPECT_EQ(getSetup(), nullptr);
    EXPECT_EQ(prepare(256), 0);
}

TEST(LibraryUnload, CloseThenDlcloseLeavesNoThread)
{
    const int before = threadCount();
    TestHost& host = TestHost::get();
    std::string error;
    ASSERT_TRUE(host.load(error)) << error;
    ASSERT_NE(host.create(), nullptr);
    host.start(44100.0f, 512);
    for (int i = 0; i < 10; ++i)
        host.render(512);
    host.unload();
    EXPECT_EQ(threadCount(), before);
    // The library really went away.
    EXPECT_EQ(dlopen(QB_PLUGIN_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

} // namespace
