#include "host/plugin_loader.h"

#include "host_fixture.h"
#include "test_synth.h"

#include "platform/system/folders.h"

#include <cstdio>
#include <dlfcn.h>

using namespace host;
using hosttest::HostStateTest;

TEST_F(HostStateTest, LoadsAPlugInThatExportsOnlyMain)
{
    const std::string out = loadSynth();
    ASSERT_NE(state.effect, nullptr);
    ASSERT_NE(state.library, nullptr);
    EXPECT_EQ(dlsym(state.library, "VSTPluginMain"), nullptr);
    EXPECT_NE(dlsym(state.library, "main"), nullptr);

    const testsynth::Probe p = probe();
    EXPECT_EQ(p.versionDuringEntry, 2300);
    EXPECT_STREQ(p.productDuringEntry, "Quorbel Host");
    EXPECT_EQ(p.opened, 1);

    EXPECT_NE(out.find("HOST> Load library...\nHOST> Create effect...\nHOST> Init sequence...\n"
                       "HOST> Gathering properties...\n"
                       "Name = TestSynth\nVendor = Test Vendor\nProduct = Test Product\n\n"
                       "numPrograms = 0\nnumParams = 0\nnumInputs = 0\nnumOutputs = 6\n\n\n\n"
                       "Can do receiveVstEvents... yes\n"
                       "Can do receiveVstMidiEvent... definitely not!\n"
                       "Can do midiProgramNames... ?????\n\n"),
              std::string::npos)
        << out;

    AEffect* effect = state.effect;
    closePlugin(state);
    EXPECT_EQ(state.effect, nullptr);
    EXPECT_EQ(testsynth::probe(effect).closed, 1);
    closePlugin(state);   // nothing left to close
}

TEST_F(HostStateTest, MissingLibraryOrEntryFailsWithAMessage)
{
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loadPlugin(state, "/nonexistent/Quorbel.so"));
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Failed to load VST Plugin library!\n"), std::string::npos);
    EXPECT_EQ(state.effect, nullptr);

    // A real library without a VST 2 entry.
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loadPlugin(state, "libz.so.1"));
    out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("VST Plugin main entry not found!\n"), std::string::npos);
    EXPECT_EQ(state.effect, nullptr);
    EXPECT_NE(state.library, nullptr);   // stays loaded until shutdown
}

TEST(PluginPath, BesideTheExecutableFirst)
{
    const std::string folder = platform::temporaryFolder() + "/plugin-path";
    ASSERT_TRUE(platform::makeFolders(folder));
    const std::string beside = folder + "/Quorbel.so";
    EXPECT_EQ(defaultPluginPath(folder + "/Host"), "Quorbel.so");   // not there: the search path
    std::FILE* f = std::fopen(beside.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(defaultPluginPath(folder + "/Host"), beside);
    EXPECT_EQ(defaultPluginPath("Host"), "Quorbel.so");
    std::remove(beside.c_str());
}
