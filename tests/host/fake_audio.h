#pragma once
// An audio system without a sound card: a list of APIs and devices, and a
// stream that runs only when a test calls it.

#include "host/audio/audio_system.h"

#include <algorithm>
#include <string>
#include <vector>

namespace hosttest {

struct FakeDevice {
    std::string name;
    int api = 0;
    int outputs = 2;
    double lowLatency = 0.01;
    std::vector<double> unsupportedRates{};
};

class FakeAudioSystem final : public host::AudioSystem {
public:
    std::vector<std::string> apis;
    std::vector<FakeDevice> devices;
    int defaultDevice = host::kNoDevice;
    std::vector<int> apiDefaults;   // each API's default output device, by API
    int openError = 0;
    int startError = 0;
    int stopError = 0;
    double streamLatency = 0.0116;   // seconds
    double streamRate = 44100.0;
    bool terminated = false;

    // What the last open asked for, and whether a stream is open.
    host::AudioStreamRequest lastRequest;
    int opens = 0;
    bool streamOpen = false;

    // Runs the open stream's callback over `channels` buffers.
    void pump(std::vector<std::vector<float>>& channels, unsigned long frames)
    {
        std::vector<float*> pointers;
        for (auto& channel : channels) {
            channel.assign(frames, 99.0f);   // stale content the callback must overwrite
            pointers.push_back(channel.data());
        }
        lastRequest.callback(pointers.data(), frames, lastRequest.user);
    }

    int initialize() override { return 0; }
    void terminate() override { terminated = true; }
    int hostApiCount() override { return static_cast<int>(apis.size()); }

    std::optional<host::AudioHostApiInfo> hostApiInfo(int api) override
    {
        if (api < 0 || api >= hostApiCount())
            return std::nullopt;
        host::AudioHostApiInfo info{apis[api], 0, host::kNoDevice};
        if (api < static_cast<int>(apiDefaults.size()))
            info.defaultOutputDevice = apiDefaults[static_cast<size_t>(api)];
        for (const FakeDevice& d : devices)
            info.deviceCount += d.api == api;
        return info;
    }

    int hostApiDeviceIndexToDeviceIndex(int api, int apiDevice) override
    {
        for (int i = 0; i < static_cast<int>(devices.size()); ++i)
            if (devices[i].api == api && apiDevice-- == 0)
                return i;
        return host::kErrorInvalidDevice;
    }

    std::optional<host::AudioDeviceInfo> deviceInfo(int device) override
    {
        if (device < 0 || device >= static_cast<int>(devices.size()))
            return std::nullopt;
        const FakeDevice& d = devices[device];
        return host::AudioDeviceInfo{d.name, d.api, d.outputs, d.lowLatency};
    }

    int defaultOutputDevice() override { return defaultDevice; }
    bool isFormatSupported(int device, int, double rate) override
    {
        if (!deviceInfo(device))
            return false;
        const auto& unsupported = devices[static_cast<size_t>(device)].unsupportedRates;
        return std::find(unsupported.begin(), unsupported.end(), rate) == unsupported.end();
    }
    std::optional<std::string> backEndChannelName(int, int) override { return std::nullopt; }

    int openStream(const host::AudioStreamRequest& request, host::AudioStream* stream) override
    {
        lastRequest = request;
        ++opens;
        if (openError)
            return openError;
        streamOpen = true;
        *stream = this;
        return 0;
    }
    int startStream(host::AudioStream) override { return startError; }
    int stopStream(host::AudioStream) override { return stopError; }
    int closeStream(host::AudioStream) override
    {
        streamOpen = false;
        return 0;
    }
    std::optional<host::AudioStreamInfo> streamInfo(host::AudioStream) override
    {
        return host::AudioStreamInfo{streamLatency, streamRate};
    }
    std::string errorText(int code) override { return "fake error " + std::to_string(code); }
};

// Two APIs: "ALSA" with a 2-channel and an 8-channel device, "JACK" with one.
inline FakeAudioSystem makeFakeAudio()
{
    FakeAudioSystem audio;
    audio.apis = {"ALSA", "JACK"};
    audio.devices = {{"Speakers (USB Audio)", 0, 2},
                     {"Line Out", 0, 8},
                     {"system", 1, 2},
                     {"Microphone", 0, 0}};
    audio.defaultDevice = 0;
    return audio;
}

} // namespace hosttest
