#pragma once
// The host's audio settings and the lookups that find APIs, devices and
// output channels by the names stored in them.

#include "host/audio/audio_system.h"

#include <array>
#include <string>

namespace host {

constexpr int kBuses = 6;   // output buses of the plug-in

struct HostAudioSettings {
    std::string apiName;
    std::string deviceName;
    std::array<int, kBuses> routes{};   // device channel from 1; 0 = not heard
    double latency = 100.0;            // milliseconds
    double sampleRate = 44100.0;
};

bool settingsEqual(const HostAudioSettings& a, const HostAudioSettings& b);

// Index of the first API of that name, else kErrorHostApiNotFound.
int findHostApi(AudioSystem& audio, const std::string& name);
// Global index of the first device of the API with outputs and that name,
// else kErrorInvalidDevice.
int findOutputDevice(AudioSystem& audio, const std::string& apiName, const std::string& deviceName);
// The display name of a device's output channel (from 0); 0 or kErrorInvalidDevice.
int outputChannelName(AudioSystem& audio, int channel, int device, std::string& name);
// The channel (from 0) of the settings' device that has this name; -1 when none.
int findOutputChannel(AudioSystem& audio, const HostAudioSettings& settings, const std::string& name);

} // namespace host
