#include "host/audio/audio_output.h"

#include "fake_audio.h"
#include "host_fixture.h"
#include "test_synth.h"

#include <condition_variable>
#include <thread>

using namespace host;
using hosttest::FakeAudioSystem;
using hosttest::makeFakeAudio;

namespace {

using Channels = std::vector<std::vector<float>>;

class AudioOutputTest : public hosttest::HostStateTest {
protected:
    void SetUp() override
    {
        HostStateTest::SetUp();
        loadSynth();
        state.settings.apiName = "ALSA";
        state.settings.deviceName = "Speakers (USB Audio)";
    }

    // Opens with stdout captured; returns what was printed.
    std::string open(bool expectOpen = true)
    {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(output.openAudioStream(), expectOpen);
        return ::testing::internal::GetCapturedStdout();
    }


    static void expectAll(const std::vector<float>& channel, float value, const char* what)
    {
        for (size_t i = 0; i < channel.size(); ++i)
            ASSERT_EQ(channel[i], value) << what << " frame " << i;
    }

    FakeAudioSystem audio = makeFakeAudio();
    AudioOutput output{audio, state};
    Channels channels = Channels(2);
};

} // namespace

TEST_F(AudioOutputTest, TwoBusesRoutedIntoOneChannel)
{
    state.settings.routes = {1, 1, 0, 0, 0, 0};
    const std::string out = open();
    EXPECT_EQ(out, "Driver: [ALSA] Speakers (USB Audio) @ 44100 Hz / 100 ms\n");
    audio.pump(channels, 256);
    expectAll(channels[0], testsynth::idleSample(0) + testsynth::idleSample(1), "channel 1");
    expectAll(channels[1], 0.0f, "channel 2");   // no bus: silent
}

TEST_F(AudioOutputTest, RouteBeyondTheDeviceIsResetAtOpen)
{
    state.settings.routes = {7, 2, 3, 0, 0, 1};
    open();
    EXPECT_EQ(state.settings.routes, (std::array<int, kBuses>{0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(output.streamRoutes(), state.settings.routes);
    EXPECT_EQ(output.streamChannels(), 2);
    audio.pump(channels, 100);
    expectAll(channels[0], testsynth::idleSample(5), "channel 1");
    expectAll(channels[1], testsynth::idleSample(1), "channel 2");
}

TEST_F(AudioOutputTest, MasterVolume)
{
    state.settings.routes = {1, 2, 0, 0, 0, 0};
    open();
    state.masterVolume = 0.0f;
    audio.pump(channels, 64);
    expectAll(channels[0], 0.0f, "volume 0");
    state.masterVolume = 1.0f;
    audio.pump(channels, 64);
    expectAll(channels[1], testsynth::idleSample(1), "volume 1");
    state.masterVolume = 0.5f;
    audio.pump(channels, 64);
    expectAll(channels[1], testsynth::idleSample(1) * 0.5f, "volume 0.5");
}

TEST_F(AudioOutputTest, CallbackUsesTheSnapshotTakenAtOpen)
{
    state.settings.routes = {1, 0, 0, 0, 0, 0};
    open();
    // The user interface changes the settings while the stream runs.
    state.settings.deviceName = "Line Out";
    state.settings.routes = {2, 2, 2, 2, 2, 2};
    audio.pump(channels, 32);
    expectAll(channels[0], testsynth::idleSample(0), "channel 1");
    expectAll(channels[1], 0.0f, "channel 2");
}

TEST_F(AudioOutputTest, LongCallbacksAreRenderedInParts)
{
    state.settings.routes = {1, 0, 0, 0, 0, 0};
    open();
    const int before = probe().processCalls;
    audio.pump(channels, 40000);
    const testsynth::Probe p = probe();
    EXPECT_EQ(p.processCalls - before, 3);
    EXPECT_EQ(p.largestProcess, kBusFrames);
    expectAll(channels[0], testsynth::idleSample(0), "channel 1");
}

TEST_F(AudioOutputTest, SilentWithoutCallingThePlugInWhileTheExportHoldsTheMutex)
{
    state.settings.routes = {1, 2, 0, 0, 0, 0};
    open();
    audio.pump(channels, 64);   // the buses now hold a rendered block
    std::mutex m;
    std::condition_variable cv;
    bool held = false, release = false;
    std::thread exporter([&] {
        std::lock_guard<std::timed_mutex> audioLock(state.audioMutex);
        std::unique_lock<std::mutex> lock(m);
        held = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
    });
    {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return held; });
    }
    const int before = probe().processCalls;
    audio.pump(channels, 64);
    EXPECT_EQ(probe().processCalls, before);
    expectAll(channels[0], 0.0f, "channel 1");
    expectAll(channels[1], 0.0f, "channel 2");
    {
        std::lock_guard<std::mutex> lock(m);
        release = true;
    }
    cv.notify_all();
    exporter.join();
    audio.pump(channels, 64);
    expectAll(channels[1], testsynth::idleSample(1), "after the export");
}

TEST_F(AudioOutputTest, TellsThePlugInBlockSizeAndRate)
{
    audio.streamLatency = 0.0116;
    audio.streamRate = 48000;
    open();
    EXPECT_EQ(state.blockSize, 556);   // 0.0116 x 48000 = 556.8
    EXPECT_EQ(probe().blockSize, 556);
    EXPECT_EQ(probe().sampleRate, 48000.0f);
    EXPECT_EQ(state.timeInfo.sampleRate, 48000.0);
    output.closeAudioStream();

    audio.streamLatency = 2.0;   // more than the buses hold
    open();
    EXPECT_EQ(probe().blockSize, kBusFrames);
    output.closeAudioStream();
    audio.streamLatency = 0.0;
    open();
    EXPECT_EQ(probe().blockSize, 1);
}

TEST_F(AudioOutputTest, StoredDeviceGoneTakesTheDefault)
{
    state.settings.apiName = "ALSA";
    state.settings.deviceName = "Unplugged";
    audio.defaultDevice = 2;
    const std::string out = open();
    EXPECT_EQ(state.settings.apiName, "JACK");
    EXPECT_EQ(state.settings.deviceName, "system");
    EXPECT_EQ(audio.lastRequest.device, 2);
    EXPECT_EQ(out, "Driver: [JACK] system @ 44100 Hz / 100 ms\n");
}

TEST_F(AudioOutputTest, NoDeviceAtAllOpensNothingSilently)
{
    state.settings.deviceName = "Unplugged";
    audio.defaultDevice = kNoDevice;
    EXPECT_EQ(open(false), "");
    EXPECT_EQ(audio.opens, 0);
    EXPECT_FALSE(output.isOpen());
    audio.defaultDevice = 3;   // no outputs
    EXPECT_EQ(open(false), "");
    EXPECT_EQ(audio.opens, 0);
}

TEST_F(AudioOutputTest, OpenAndStartErrorsAreReported)
{
    std::vector<std::string> reports;
    output.setErrorReport([&](const std::string& text) { reports.push_back(text); });
    audio.openError = -9997;
    std::string out = open(false);
    EXPECT_EQ(out, "An error occured while using the portaudio stream\nError number: -9997\n"
                   "Error message: fake error -9997\n");
    EXPECT_EQ(reports, std::vector<std::string>{"fake error -9997"});
    EXPECT_FALSE(output.isOpen());

    audio.openError = 0;
    audio.startError = -9986;
    out = open(false);
    EXPECT_NE(out.find("Error number: -9986"), std::string::npos);
    EXPECT_FALSE(audio.streamOpen);   // closed again after the failed start
    EXPECT_FALSE(output.isOpen());
}

TEST_F(AudioOutputTest, OpenIsRefusedTwiceOrWithoutState)
{
    open();
    EXPECT_EQ(open(false), "");
    EXPECT_EQ(audio.opens, 1);

    HostState other;
    AudioOutput unpublished(audio, other);
    EXPECT_FALSE(unpublished.openAudioStream());
}

TEST_F(AudioOutputTest, FailedCloseKeepsTheHandle)
{
    open();
    audio.stopError = -9988;
    ::testing::internal::CaptureStdout();
    output.closeAudioStream();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("An error occured while using the portaudio stream\nError number: -9988\n"),
              std::string::npos);
    EXPECT_TRUE(output.isOpen());
    audio.stopError = 0;
    output.closeAudioStream();
    EXPECT_FALSE(output.isOpen());
}

TEST_F(AudioOutputTest, ApplySettingsReopensAnOpenStream)
{
    HostAudioSettings next = state.settings;
    next.deviceName = "Line Out";
    next.routes = {8, 0, 0, 0, 0, 0};
    output.applySettings(next);   // no stream: only taken
    EXPECT_EQ(audio.opens, 0);
    EXPECT_EQ(state.settings.deviceName, "Line Out");
    open();
    next.latency = 20;
    ::testing::internal::CaptureStdout();
    output.applySettings(next);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Driver: [ALSA] Line Out @ 44100 Hz / 20 ms\n");
    EXPECT_EQ(audio.opens, 2);
    EXPECT_DOUBLE_EQ(audio.lastRequest.suggestedLatency, 0.02);
    EXPECT_EQ(output.streamChannels(), 8);
}

TEST_F(AudioOutputTest, BackEndSpecificRequests)
{
    audio.apis = {"ASIO", "Windows DirectSound", "Windows WASAPI"};
    audio.devices = {{"Card", 0, 4}, {"Card", 1, 2}, {"Card", 2, 2}};
    state.settings.apiName = "ASIO";
    state.settings.deviceName = "Card";
    EXPECT_EQ(open(), "Driver: [ASIO] Card @ 44100 Hz / 0 ms\n");
    EXPECT_EQ(audio.lastRequest.extras, HostApiExtras::AsioChannelSelectors);
    EXPECT_EQ(audio.lastRequest.channelSelectors, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(audio.lastRequest.framesPerBuffer, 0u);
    output.closeAudioStream();

    state.settings.apiName = "Windows DirectSound";
    open();
    EXPECT_EQ(audio.lastRequest.framesPerBuffer, 512u);
    EXPECT_EQ(audio.lastRequest.extras, HostApiExtras::None);
    output.closeAudioStream();

    state.settings.apiName = "Windows WASAPI";
    open();
    EXPECT_EQ(audio.lastRequest.extras, HostApiExtras::WasapiExclusive);
    EXPECT_EQ(audio.lastRequest.framesPerBuffer, 0u);
}

// ALSA's converting and sound-server devices report up to 128 channels: the
// stream carries only as many as the routes reach, at least stereo, and every
// routed bus still lands where it did. Back ends that take the device whole
// keep all of its channels.
TEST_F(AudioOutputTest, WideDeviceStreamsOnlyTheRoutedChannels)
{
    audio.devices = {{"default", 0, 128}, {"mono", 0, 1}};
    state.settings.deviceName = "default";
    state.settings.routes = {1, 2, 0, 0, 0, 0};
    open();
    EXPECT_EQ(audio.lastRequest.channels, 2);
    EXPECT_EQ(output.streamChannels(), 2);
    audio.pump(channels, 64);
    expectAll(channels[0], testsynth::idleSample(0), "channel 1");
    expectAll(channels[1], testsynth::idleSample(1), "channel 2");

    HostAudioSettings next = state.settings;
    next.routes = {0, 0, 0, 0, 5, 0};
    output.applySettings(next);
    EXPECT_EQ(audio.lastRequest.channels, 5);
    Channels five(5);
    audio.pump(five, 64);
    for (int c = 0; c < 4; ++c)
        expectAll(five[static_cast<size_t>(c)], 0.0f, "unrouted channel");
    expectAll(five[4], testsynth::idleSample(4), "channel 5");

    next.routes = {};   // nothing heard: still a stereo stream
    output.applySettings(next);
    EXPECT_EQ(audio.lastRequest.channels, 2);

    next.deviceName = "mono";
    next.routes = {1, 0, 0, 0, 0, 0};
    output.applySettings(next);
    EXPECT_EQ(audio.lastRequest.channels, 1);

    audio.apis = {"ALSA", "ASIO"};
    audio.devices.push_back({"Card", 1, 16});
    next.apiName = "ASIO";
    next.deviceName = "Card";
    output.applySettings(next);
    EXPECT_EQ(audio.lastRequest.channels, 16);
}
