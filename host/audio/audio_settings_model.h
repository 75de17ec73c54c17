#pragma once
// What the audio settings dialog shows and does, without its window: the
// driver, device, rate and channel lists with their selections, what is
// enabled, and the latency with its text, all kept from a copy of the current
// settings and the audio system. The dialog shows this state and hands the
// user's choices back. GUI thread.

#include "host/audio/audio_output.h"
#include "host/audio/audio_settings.h"
#include "host/audio/audio_system.h"
#include "host/host_state.h"

#include <array>
#include <string>
#include <vector>

namespace host {

// The rates offered, in this order, where the device supports them.
constexpr std::array<double, 5> kOfferedRates{44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
constexpr int kLatencyMaxMs = 1000;
// Only these buses can be assigned; the rest stay as they are.
constexpr int kAssignableBuses = 2;
extern const char kHiddenHostApi[];   // "Windows WDM-KS": reachable from the settings file only
extern const char kAsioHostApi[];     // "ASIO"
extern const char kNoChannel[];       // "(none)"

// A list as a drop-down shows it: entries and the selected index (-1: none).
struct ChoiceList {
    std::vector<std::string> entries;
    int selection = -1;

    // The selected entry, or nothing.
    const std::string* selected() const;
    void clear() { entries.clear(), selection = -1; }
    // Selects the entry equal to text; false (selection kept) when none is.
    bool select(const std::string& text);
};

struct LatencyControl {
    bool enabled = true;
    int minimum = 0;
    int maximum = kLatencyMaxMs;
    int position = 0;
};

class AudioSettingsModel {
public:
    // Takes a copy of the state's current settings.
    AudioSettingsModel(AudioSystem& audio, AudioOutput& output, HostState& state);

    // The dialog opens: lists filled for the copy's driver and device.
    void initialise();
    // Another driver or device chosen by name: the lists below it follow.
    void selectApi(const std::string& name);
    void selectDevice(const std::string& name);
    // A rate chosen from its list; its text becomes the copy's rate.
    void chooseRate(int index);
    // Bus `bus` takes entry `index` of its list: device channel index, 0 none.
    void chooseRoute(int bus, int index);
    // The latency slider moved.
    void moveLatency(int ms);
    // Apply: the shown rate and routes go into the copy, which is applied.
    void apply();
    // OK: the shown rate and routes go into the copy, which is applied and
    // the stream opened when none is.
    void accept();
    // The driver's own control panel (ASIO only); the stream closes around it.
    void openControlPanel();

    const HostAudioSettings& copy() const { return copy_; }
    const ChoiceList& apis() const { return apis_; }
    const ChoiceList& devices() const { return devices_; }
    const ChoiceList& rates() const { return rates_; }
    // Every bus list holds the same entries: "(none)" and the device's channels.
    const ChoiceList& routes(int bus) const { return routes_[static_cast<size_t>(bus)]; }
    const LatencyControl& latency() const { return latency_; }
    const std::string& latencyText() const { return latencyText_; }
    bool controlPanelEnabled() const { return controlPanelEnabled_; }
    static bool routeEnabled(int bus) { return bus >= 0 && bus < kAssignableBuses; }
    // The latency text is shown enabled while the copy equals the current
    // settings, greyed once they differ.
    bool latencyTextEnabled() const;

private:
    void clearRoutes(bool withNone);
    void showLatency(unsigned ms);
    void showStreamLatency();
    void takeShownChoices();
    bool asio() const { return copy_.apiName == kAsioHostApi; }

    AudioSystem& audio_;
    AudioOutput& output_;
    HostState& state_;
    HostAudioSettings copy_;
    ChoiceList apis_;
    ChoiceList devices_;
    ChoiceList rates_;
    std::array<ChoiceList, kBuses> routes_;
    LatencyControl latency_;
    std::string latencyText_ = "0 ms";
    bool controlPanelEnabled_ = false;
};

} // namespace host
