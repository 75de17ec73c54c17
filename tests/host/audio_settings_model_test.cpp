// The audio settings dialog's state over the fake audio system: what each
// list offers and selects, and what OK, Apply and Cancel leave applied.

#include "host/audio/audio_settings_model.h"

#include "fake_audio.h"
#include "host_fixture.h"

#include <gtest/gtest.h>

using namespace host;
using hosttest::FakeAudioSystem;

namespace {

class AudioSettingsModelTest : public hosttest::HostStateTest {
protected:
    void SetUp() override
    {
        HostStateTest::SetUp();
        audio = hosttest::makeFakeAudio();
        // ALSA's default is the 8-channel device; JACK has none.
        audio.apiDefaults = {1, kNoDevice};
        state.settings.apiName = "ALSA";
        state.settings.deviceName = "Speakers (USB Audio)";
    }

    // The dialog as it opens over the current settings.
    AudioSettingsModel& open()
    {
        model = std::make_unique<AudioSettingsModel>(audio, output, state);
        model->initialise();
        return *model;
    }

    FakeAudioSystem audio;
    AudioOutput output{audio, state};
    std::unique_ptr<AudioSettingsModel> model;
};

} // namespace

TEST_F(AudioSettingsModelTest, ListsOfferDriversDevicesAndChannelsOfTheCopy)
{
    audio.apis = {"JACK", "Windows WDM-KS", "alsa", "ALSA"};
    audio.devices = {{"system", 0, 2}, {"Line Out", 3, 4}, {"hidden", 1, 2}, {"Speakers (USB Audio)", 3, 2},
                     {"Microphone", 3, 0}, {"aux", 3, 2}};
    audio.apiDefaults = {};
    AudioSettingsModel& m = open();

    // Sorted without regard to case; the kernel-streaming driver never offered.
    EXPECT_EQ(m.apis().entries, (std::vector<std::string>{"alsa", "ALSA", "JACK"}));
    ASSERT_NE(m.apis().selected(), nullptr);
    EXPECT_EQ(*m.apis().selected(), "ALSA");
    // Devices with outputs only.
    EXPECT_EQ(m.devices().entries, (std::vector<std::string>{"aux", "Line Out", "Speakers (USB Audio)"}));
    EXPECT_EQ(*m.devices().selected(), "Speakers (USB Audio)");
    for (int bus = 0; bus < kBuses; ++bus)
        EXPECT_EQ(m.routes(bus).entries, (std::vector<std::string>{"(none)", "Speakers 1", "Speakers 2"}));
    EXPECT_FALSE(m.controlPanelEnabled());

    // Another driver: its devices, and the copy's device name gone from it.
    m.selectApi("JACK");
    EXPECT_EQ(m.devices().entries, (std::vector<std::string>{"system"}));
    EXPECT_EQ(m.devices().selection, -1);
    EXPECT_TRUE(m.rates().entries.empty());
    EXPECT_EQ(m.routes(0).entries, (std::vector<std::string>{"(none)"}));
    EXPECT_EQ(m.copy().apiName, "JACK");
    m.selectDevice("system");
    EXPECT_EQ(*m.devices().selected(), "system");
    EXPECT_EQ(m.routes(1).entries.back(), "system 2");
}

TEST_F(AudioSettingsModelTest, AMissingDeviceTakesTheDriversDefault)
{
    state.settings.deviceName = "Gone";
    AudioSettingsModel& m = open();
    EXPECT_EQ(m.copy().deviceName, "Line Out");
    EXPECT_EQ(*m.devices().selected(), "Line Out");
    EXPECT_EQ(m.routes(0).entries.size(), 9u);

    // A driver without a default leaves the lists empty.
    m.selectApi("JACK");
    m.selectDevice("Gone");
    EXPECT_EQ(m.copy().deviceName, "Gone");
    EXPECT_EQ(m.devices().selection, -1);
    EXPECT_TRUE(m.rates().entries.empty());

    // A driver that does not exist: no rate left on offer for OK to take.
    m.selectApi("OSS");
    EXPECT_TRUE(m.rates().entries.empty());
}

TEST_F(AudioSettingsModelTest, OnlySupportedRatesAreOfferedAndAnUnofferedRateShowsTheFirst)
{
    audio.devices[0].unsupportedRates = {44100.0, 88200.0};
    struct Case {
        double copyRate;
        int shown;
    };
    for (const Case c : {Case{48000.0, 0}, Case{192000.0, 2}, Case{44100.0, 0}, Case{22050.0, 0}}) {
        state.settings.sampleRate = c.copyRate;
        AudioSettingsModel& m = open();
        EXPECT_EQ(m.rates().entries, (std::vector<std::string>{"48000", "96000", "192000"}));
        EXPECT_EQ(m.rates().selection, c.shown) << c.copyRate;
        // The copy keeps its rate until a rate is chosen.
        EXPECT_EQ(m.copy().sampleRate, c.copyRate);
    }
    model->chooseRate(1);
    EXPECT_EQ(model->copy().sampleRate, 96000.0);
}

TEST_F(AudioSettingsModelTest, OkAndApplyTakeTheShownRateAndRoutes)
{
    audio.devices[0].unsupportedRates = {44100.0};
    state.settings.sampleRate = 44100.0;
    state.settings.routes = {2, 7, 0, 0, 0, 0};
    AudioSettingsModel& m = open();
    EXPECT_EQ(m.routes(1).selection, 2);   // shown as bus 1's own channel
    m.apply();
    EXPECT_EQ(state.settings.sampleRate, 48000.0);
    EXPECT_EQ(state.settings.routes, (std::array<int, kBuses>{2, 2, 0, 0, 0, 0}));

    state.settings.sampleRate = 22050.0;
    AudioSettingsModel& again = open();
    again.accept();
    EXPECT_EQ(state.settings.sampleRate, 48000.0);
    // OK opens the stream when none is open, with the rate shown.
    EXPECT_TRUE(output.isOpen());
    EXPECT_EQ(audio.lastRequest.sampleRate, 48000.0);
}

TEST_F(AudioSettingsModelTest, LatencyIsClampedToTheDevicesRangeAndShownInMs)
{
    struct Case {
        double lowLatency;   // seconds
        double copyLatency;  // ms
        int minimum;
        double shownLatency;
        const char* text;
    };
    const Case cases[] = {
        {0.0116, 100.0, 11, 100.0, "100 ms"},
        {0.0116, 5.0, 11, 11.0, "11 ms"},
        {0.0116, 2500.0, 11, 1000.0, "1000 ms"},
        {0.0116, 12.9, 11, 12.0, "12 ms"},
        // A device that asks for more than the slider's end: the range is one point.
        {2.5, 100.0, 1000, 1000.0, "1000 ms"},
    };
    for (const Case& c : cases) {
        audio.devices[0].lowLatency = c.lowLatency;
        state.settings.latency = c.copyLatency;
        AudioSettingsModel& m = open();
        EXPECT_EQ(m.latency().minimum, c.minimum) << c.copyLatency;
        EXPECT_EQ(m.latency().maximum, 1000);
        EXPECT_TRUE(m.latency().enabled);
        EXPECT_EQ(m.copy().latency, c.shownLatency) << c.copyLatency;
        EXPECT_EQ(m.latency().position, static_cast<int>(c.shownLatency));
        EXPECT_EQ(m.latencyText(), c.text);
    }
    model->moveLatency(2000);
    EXPECT_EQ(model->latencyText(), "1000 ms");
    audio.devices[0].lowLatency = 0.0116;
    state.settings.latency = 100.0;
    AudioSettingsModel& m = open();
    m.moveLatency(250);
    EXPECT_EQ(m.latencyText(), "250 ms");
    EXPECT_EQ(m.copy().latency, 250.0);
}

TEST_F(AudioSettingsModelTest, RoutesBeyondTheDevicesChannelsShowTheBusOwnChannelOrNone)
{
    state.settings.routes = {0, 9, 3, 1, 9, 9};   // on the 2-channel device
    AudioSettingsModel& m = open();
    const int shown[kBuses] = {0, 2, 0, 1, 0, 0};
    for (int bus = 0; bus < kBuses; ++bus)
        EXPECT_EQ(m.routes(bus).selection, shown[bus]) << bus;
    // The copy is not changed by showing.
    EXPECT_EQ(m.copy().routes[1], 9);

    m.selectDevice("Line Out");   // 8 channels
    const int wide[kBuses] = {0, 2, 3, 1, 5, 6};
    for (int bus = 0; bus < kBuses; ++bus)
        EXPECT_EQ(m.routes(bus).selection, wide[bus]) << bus;
}

TEST_F(AudioSettingsModelTest, OnlyFrontLeftAndRightCanBeAssigned)
{
    state.settings.routes = {1, 2, 0, 0, 0, 0};
    AudioSettingsModel& m = open();
    for (int bus = 0; bus < kBuses; ++bus)
        EXPECT_EQ(AudioSettingsModel::routeEnabled(bus), bus < 2) << bus;
    m.chooseRoute(0, 2);
    m.chooseRoute(1, 0);
    m.chooseRoute(2, 1);   // a disabled list: ignored
    EXPECT_EQ(m.copy().routes, (std::array<int, kBuses>{2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.routes(2).selection, 0);
    m.chooseRoute(0, 3);   // beyond the list
    EXPECT_EQ(m.copy().routes[0], 2);
}

TEST_F(AudioSettingsModelTest, ApplyThenCancelKeepsWhatApplyApplied)
{
    ASSERT_TRUE(output.openAudioStream());
    const int opensBefore = audio.opens;
    {
        AudioSettingsModel& m = open();
        EXPECT_EQ(m.latencyText(), "12 ms");   // the running stream's own (0.0116 s)
        EXPECT_TRUE(m.latencyTextEnabled());    // while the copy equals what plays
        m.selectDevice("Line Out");
        EXPECT_FALSE(m.latencyTextEnabled());
        m.chooseRoute(0, 5);
        audio.streamLatency = 0.2;
        m.apply();   // restarts the running stream
        EXPECT_EQ(audio.opens, opensBefore + 1);
        EXPECT_EQ(m.latencyText(), "200 ms");
        EXPECT_TRUE(m.latencyTextEnabled());
        m.chooseRoute(1, 6);
        m.moveLatency(300);
        model.reset();   // Cancel: the copy goes
    }
    EXPECT_EQ(state.settings.deviceName, "Line Out");
    EXPECT_EQ(state.settings.routes[0], 5);
    EXPECT_EQ(state.settings.routes[1], 0);   // the choice after Apply is gone
    EXPECT_EQ(state.settings.latency, 100.0);
    EXPECT_EQ(audio.lastRequest.device, 1);     // Line Out
    EXPECT_EQ(audio.lastRequest.channels, 5);   // as far as the route reaches
}

TEST_F(AudioSettingsModelTest, AsioProbesRatesWithoutTheStreamAndTakesNoLatency)
{
    audio.apis = {"ASIO", "ALSA"};
    audio.apiDefaults = {0, 2};
    state.settings.apiName = "ASIO";
    ASSERT_TRUE(output.openAudioStream());
    const int opens = audio.opens;
    AudioSettingsModel& m = open();
    EXPECT_TRUE(m.controlPanelEnabled());
    EXPECT_FALSE(m.latency().enabled);
    EXPECT_EQ(m.latencyText(), "12 ms");   // the running stream's own
    // Closed for the probe and opened again: still running afterwards.
    EXPECT_GT(audio.opens, opens);
    EXPECT_TRUE(output.isOpen());

    m.openControlPanel();
    EXPECT_TRUE(output.isOpen());

    m.selectApi("ALSA");
    EXPECT_EQ(m.copy().deviceName, "system");
    EXPECT_FALSE(m.controlPanelEnabled());
    EXPECT_TRUE(m.latency().enabled);
    m.selectApi("ASIO");
    EXPECT_FALSE(m.latency().enabled);
    EXPECT_EQ(m.latencyText(), "-");
}
