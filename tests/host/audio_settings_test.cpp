#include "host/audio/audio_settings.h"

#include "fake_audio.h"

#include <gtest/gtest.h>

using namespace host;
using hosttest::makeFakeAudio;

TEST(AudioLookup, ApisAndDevicesByName)
{
    auto audio = makeFakeAudio();
    EXPECT_EQ(findHostApi(audio, "JACK"), 1);
    EXPECT_EQ(findHostApi(audio, "jack"), kErrorHostApiNotFound);
    EXPECT_EQ(findHostApi(audio, ""), kErrorHostApiNotFound);

    EXPECT_EQ(findOutputDevice(audio, "ALSA", "Line Out"), 1);
    EXPECT_EQ(findOutputDevice(audio, "JACK", "system"), 2);
    EXPECT_EQ(findOutputDevice(audio, "JACK", "Line Out"), kErrorInvalidDevice);   // another API's
    EXPECT_EQ(findOutputDevice(audio, "ALSA", "Microphone"), kErrorInvalidDevice);   // no outputs
    EXPECT_EQ(findOutputDevice(audio, "OSS", "Line Out"), kErrorInvalidDevice);
}

TEST(AudioLookup, ChannelNames)
{
    auto audio = makeFakeAudio();
    audio.devices.push_back({"Thirty Characters Long Device", 0, 4});   // 29 + ...
    audio.devices.push_back({std::string(30, 'x'), 0, 2});
    audio.devices.push_back({"A Very Long Interface Name (Pro)", 0, 2});
    std::string name;
    ASSERT_EQ(outputChannelName(audio, 0, 0, name), 0);
    EXPECT_EQ(name, "Speakers 1");
    ASSERT_EQ(outputChannelName(audio, 1, 1, name), 0);
    EXPECT_EQ(name, "Line Out 2");
    ASSERT_EQ(outputChannelName(audio, 11, 5, name), 0);
    EXPECT_EQ(name, std::string(21, 'x') + "... 12");
    ASSERT_EQ(outputChannelName(audio, 0, 4, name), 0);
    EXPECT_EQ(name, "Thirty Characters Lon... 1");
    // The text up to the bracket is 28 characters: cut as well.
    ASSERT_EQ(outputChannelName(audio, 1, 6, name), 0);
    EXPECT_EQ(name, "A Very Long Interface... 2");
    EXPECT_EQ(outputChannelName(audio, 0, 99, name), kErrorInvalidDevice);
    EXPECT_EQ(outputChannelName(audio, 0, kNoDevice, name), kErrorInvalidDevice);
}

TEST(AudioLookup, ChannelsOfTheSettingsDevice)
{
    auto audio = makeFakeAudio();
    HostAudioSettings settings;
    settings.apiName = "ALSA";
    settings.deviceName = "Line Out";
    EXPECT_EQ(findOutputChannel(audio, settings, "Line Out 1"), 0);
    EXPECT_EQ(findOutputChannel(audio, settings, "Line Out 8"), 7);
    EXPECT_EQ(findOutputChannel(audio, settings, "Line Out 9"), -1);
    EXPECT_EQ(findOutputChannel(audio, settings, "Speakers 1"), -1);
    settings.deviceName = "Gone";
    EXPECT_EQ(findOutputChannel(audio, settings, "Line Out 1"), -1);
}

TEST(AudioLookup, SettingsEqualComparesEveryField)
{
    HostAudioSettings a;
    HostAudioSettings b;
    EXPECT_TRUE(settingsEqual(a, b));
    b.routes[5] = 1;
    EXPECT_FALSE(settingsEqual(a, b));
    b = a;
    b.latency = 100.5;
    EXPECT_FALSE(settingsEqual(a, b));
    b = a;
    b.deviceName = "x";
    EXPECT_FALSE(settingsEqual(a, b));
    b = a;
    b.sampleRate = 48000;
    EXPECT_FALSE(settingsEqual(a, b));
    EXPECT_EQ(a.latency, 100.0);
    EXPECT_EQ(a.sampleRate, 44100.0);
}
