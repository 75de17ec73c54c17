#include "host/audio/audio_settings.h"

#include <cstdio>

namespace host {

bool settingsEqual(const HostAudioSettings& a, const HostAudioSettings& b)
{
    return a.apiName == b.apiName && a.deviceName == b.deviceName && a.routes == b.routes &&
           a.latency == b.latency && a.sampleRate == b.sampleRate;
}

int findHostApi(AudioSystem& audio, const std::string& name)
{
    const int count = audio.hostApiCount();
    for (int api = 0; api < count; ++api)
        if (auto info = audio.hostApiInfo(api); info && info->name == name)
            return api;
    return kErrorHostApiNotFound;
}

int findOutputDevice(AudioSystem& audio, const std::string& apiName, const std::string& deviceName)
{
    const int api = findHostApi(audio, apiName);
    if (api < 0)
        return kErrorInvalidDevice;
    const auto apiInfo = audio.hostApiInfo(api);
    for (int i = 0; apiInfo && i < apiInfo->deviceCount; ++i) {
        const int device = audio.hostApiDeviceIndexToDeviceIndex(api, i);
        const auto info = audio.deviceInfo(device);
        if (info && info->maxOutputChannels > 0 && info->name == deviceName)
            return device;
    }
    return kErrorInvalidDevice;
}

int outputChannelName(AudioSystem& audio, int channel, int device, std::string& name)
{
    if (auto own = audio.backEndChannelName(device, channel)) {
        name = *own;
        return 0;
    }
    const auto info = audio.deviceInfo(device);
    if (!info)
        return kErrorInvalidDevice;
    std::string base = info->name;
    if (const size_t bracket = base.find('('); bracket != std::string::npos)
        base.resize(bracket);
    else
        base += ' ';
    char text[64];
    if (base.size() < 25)
        std::snprintf(text, sizeof text, "%s%d", base.c_str(), channel + 1);
    else
        std::snprintf(text, sizeof text, "%.21s... %d", base.c_str(), channel + 1);
    name = text;
    return 0;
}

int findOutputChannel(AudioSystem& audio, const HostAudioSettings& settings, const std::string& name)
{
    const int device = findOutputDevice(audio, settings.apiName, settings.deviceName);
    const auto info = device >= 0 ? audio.deviceInfo(device) : std::nullopt;
    if (!info)
        return -1;
    std::string channelName;
    for (int channel = 0; channel < info->maxOutputChannels; ++channel)
        if (outputChannelName(audio, channel, device, channelName) == 0 && channelName == name)
            return channel;
    return -1;
}

} // namespace host
