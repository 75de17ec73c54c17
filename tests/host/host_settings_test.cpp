#include "host/host_settings.h"

#include "fake_audio.h"
#include "host_fixture.h"
#include "model/markup/markup.h"
#include "model/scratch_folder.h"
#include "platform/system/folders.h"

#include <cstdio>
#include <fstream>

using namespace host;
using hosttest::makeFakeAudio;

namespace {

class HostSettingsTest : public hosttest::HostStateTest {
protected:
    void SetUp() override
    {
        HostStateTest::SetUp();
        path = hostSettingsPath();
        ASSERT_FALSE(path.empty());
        std::remove(path.c_str());
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        EXPECT_EQ(markupDepth, 0);
        HostStateTest::TearDown();
    }

    void writeFile(const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string readFile() { return readWholeFile(path); }
    // A fresh state read from the file.
    void reload(HostState& fresh)
    {
        fresh.settings = HostAudioSettings{};
        fresh.masterVolume = 1.0f;
        loadHostSettings(audio, fresh, path);
    }

    hosttest::FakeAudioSystem audio = makeFakeAudio();
    std::string path;
};

} // namespace

TEST_F(HostSettingsTest, LivesInTheSettingsFolder)
{
    EXPECT_EQ(path, platform::joinPath(platform::settingsFolder(), "Host.ini"));
}

TEST_F(HostSettingsTest, RoundTrip)
{
    state.settings.apiName = "ALSA";
    state.settings.deviceName = "Line Out";
    state.settings.latency = 23.0;
    state.settings.sampleRate = 48000.0;
    state.settings.routes = {1, 2, 0, 8, 0, 3};
    state.masterVolume = 0.25f;
    ASSERT_TRUE(saveHostSettings(audio, state));
    EXPECT_EQ(readFile(), "<driver api=\"ALSA\" device=\"Line Out\" latency=\"23\" samplerate=\"48000\" "
                          "volume=\"0.250000\">\n"
                          " <channel index=\"0\" output=\"Line Out 1\"/>\n"
                          " <channel index=\"1\" output=\"Line Out 2\"/>\n"
                          " <channel index=\"3\" output=\"Line Out 8\"/>\n"
                          " <channel index=\"5\" output=\"Line Out 3\"/>\n"
                          "</driver>\n");
    EXPECT_FALSE(platform::fileExists(path + ".new"));

    HostState fresh;
    reload(fresh);
    EXPECT_TRUE(settingsEqual(fresh.settings, state.settings));
    EXPECT_EQ(fresh.masterVolume.load(), 0.25f);

    // Saving again over the file gives the same text.
    const std::string first = readFile();
    ASSERT_TRUE(saveHostSettings(audio, fresh, path));
    EXPECT_EQ(readFile(), first);
}

TEST_F(HostSettingsTest, MissingFileKeepsTheDefaults)
{
    state.masterVolume = 1.0f;
    loadHostSettings(audio, state);
    EXPECT_TRUE(settingsEqual(state.settings, HostAudioSettings{}));
    EXPECT_EQ(state.masterVolume.load(), 1.0f);
    loadHostSettings(audio, state, "");
    EXPECT_TRUE(settingsEqual(state.settings, HostAudioSettings{}));
}

TEST_F(HostSettingsTest, NumbersAreReadAsIntegersAndOutOfRangeValuesRefused)
{
    writeFile("<driver latency=\"12.9\" samplerate=\"48000.7\" volume=\"0.5\"/>");
    reload(state);
    EXPECT_EQ(state.settings.latency, 12.0);
    EXPECT_EQ(state.settings.sampleRate, 48000.0);
    EXPECT_EQ(state.masterVolume.load(), 0.5f);

    writeFile("<driver latency=\"0\" samplerate=\"-44100\" volume=\"1.5\"/>");
    reload(state);
    EXPECT_EQ(state.settings.latency, 100.0);
    EXPECT_EQ(state.settings.sampleRate, 44100.0);
    EXPECT_EQ(state.masterVolume.load(), 1.0f);

    writeFile("<driver volume=\"-3\"/>");
    reload(state);
    EXPECT_EQ(state.masterVolume.load(), 0.0f);
    writeFile("<driver volume=\"1e40\"/>");
    reload(state);
    EXPECT_EQ(state.masterVolume.load(), 1.0f);
}

TEST_F(HostSettingsTest, ShortNamesAndForeignElements)
{
    writeFile("<other a=\"JACK\"/>\n"
              "<dr a=\"ALSA\" d=\"Line Out\" l=\"50\" s=\"96000\" v=\"0.75\">\n"
              "  <unknown index=\"1\" output=\"Line Out 4\"/>\n"
              "  <ch i=\"2\" ou=\"Line Out 5\"/>\n"
              "  <channel index=\"6\" output=\"Line Out 1\"/>\n"
              "  <channel index=\"-1\" output=\"Line Out 1\"/>\n"
              "  <channel index=\"3\"/>\n"
              "  <channel index=\"4\" output=\"Speakers 1\"/>\n"
              "</dr>\n"
              "<channel index=\"0\" output=\"Line Out 2\"/>\n");
    reload(state);
    EXPECT_EQ(state.settings.apiName, "ALSA");
    EXPECT_EQ(state.settings.deviceName, "Line Out");
    EXPECT_EQ(state.settings.latency, 50.0);
    EXPECT_EQ(state.settings.sampleRate, 96000.0);
    EXPECT_EQ(state.masterVolume.load(), 0.75f);
    // Only the channel inside the element, on a bus that exists, by a name the device has.
    EXPECT_EQ(state.settings.routes, (std::array<int, kBuses>{0, 0, 5, 0, 0, 0}));
}

TEST_F(HostSettingsTest, RoutesFollowTheChannelName)
{
    state.settings.apiName = "ALSA";
    state.settings.deviceName = "Speakers (USB Audio)";
    state.settings.routes = {2, 0, 0, 0, 0, 0};
    ASSERT_TRUE(saveHostSettings(audio, state, path));
    EXPECT_NE(readFile().find("<channel index=\"0\" output=\"Speakers 2\"/>"), std::string::npos);

    audio.devices[0].outputs = 1;   // the channel is gone
    reload(state);
    EXPECT_EQ(state.settings.deviceName, "Speakers (USB Audio)");
    EXPECT_EQ(state.settings.routes[0], 0);
}

TEST_F(HostSettingsTest, MissingDeviceWritesNoChannels)
{
    state.settings.apiName = "ALSA";
    state.settings.deviceName = "Unplugged";
    state.settings.routes = {1, 2, 0, 0, 0, 0};
    ASSERT_TRUE(saveHostSettings(audio, state, path));
    EXPECT_EQ(readFile(), "<driver api=\"ALSA\" device=\"Unplugged\" latency=\"100\" samplerate=\"44100\" "
                          "volume=\"1.000000\">\n</driver>\n");
}

TEST_F(HostSettingsTest, EmptyNamesAreNotWritten)
{
    state.settings.latency = 99.99995;   // + 0.0001 reaches 100
    ASSERT_TRUE(saveHostSettings(audio, state, path));
    EXPECT_EQ(readFile(), "<driver latency=\"100\" samplerate=\"44100\" volume=\"1.000000\">\n</driver>\n");
}

TEST_F(HostSettingsTest, UnwritableFolderWritesNothing)
{
    EXPECT_FALSE(saveHostSettings(audio, state, "/nonexistent/folder/Host.ini"));
    EXPECT_FALSE(saveHostSettings(audio, state, ""));
    EXPECT_FALSE(platform::fileExists("/nonexistent/folder/Host.ini.new"));
}

TEST_F(HostSettingsTest, TruncatedFileKeepsWhatWasRead)
{
    writeFile("<driver api=\"ALSA\" device=\"Line Out\" latency=\"40\">\n <channel index=\"1\" output=\"Line Out 3\"/>\n"
              " <channel index=\"2\" out");
    reload(state);
    EXPECT_EQ(state.settings.latency, 40.0);
    EXPECT_EQ(state.settings.routes, (std::array<int, kBuses>{0, 3, 0, 0, 0, 0}));
}
