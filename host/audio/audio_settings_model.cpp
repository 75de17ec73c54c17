#include "host/audio/audio_settings_model.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace host {

const char kHiddenHostApi[] = "Windows WDM-KS";
const char kAsioHostApi[] = "ASIO";
const char kNoChannel[] = "(none)";

namespace {

// Sorted drop-down lists order their entries without regard to case.
void insertSorted(std::vector<std::string>& entries, const std::string& text)
{
    const auto blind = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    };
    entries.insert(std::upper_bound(entries.begin(), entries.end(), text, blind), text);
}

unsigned wholeMs(double ms)
{
    return ms > 0.0 ? static_cast<unsigned>(ms + 0.0001) : 0u;
}

} // namespace

const std::string* ChoiceList::selected() const
{
    if (selection < 0 || selection >= static_cast<int>(entries.size()))
        return nullptr;
    return &entries[static_cast<size_t>(selection)];
}

bool ChoiceList::select(const std::string& text)
{
    const auto found = std::find(entries.begin(), entries.end(), text);
    if (found == entries.end())
        return false;
    selection = static_cast<int>(found - entries.begin());
    return true;
}

AudioSettingsModel::AudioSettingsModel(AudioSystem& audio, AudioOutput& output, HostState& state)
    : audio_(audio), output_(output), state_(state), copy_(state.settings)
{
}

void AudioSettingsModel::initialise()
{
    apis_.clear();
    const int count = audio_.hostApiCount();
    for (int api = 0; api < count; ++api)
        if (const auto info = audio_.hostApiInfo(api); info && info->name != kHiddenHostApi)
            insertSorted(apis_.entries, info->name);
    const HostAudioSettings start = copy_;
    selectApi(start.apiName);
    selectDevice(start.deviceName);
    const unsigned ms = wholeMs(copy_.latency);
    showLatency(ms);
    copy_.latency = ms;
    if (output_.isOpen())
        showStreamLatency();
}

void AudioSettingsModel::clearRoutes(bool withNone)
{
    for (ChoiceList& list : routes_) {
        list.clear();
        if (withNone)
            list.entries.push_back(kNoChannel);
    }
}

void AudioSettingsModel::selectApi(const std::string& name)
{
    devices_.clear();
    clearRoutes(false);
    copy_.apiName = name;
    const int api = findHostApi(audio_, name);
    if (api < 0) {
        // Nothing of another driver's may stay on offer, or OK would apply it.
        rates_.clear();
        return;
    }
    apis_.select(name);
    const auto info = audio_.hostApiInfo(api);
    for (int i = 0; info && i < info->deviceCount; ++i) {
        const auto device = audio_.deviceInfo(audio_.hostApiDeviceIndexToDeviceIndex(api, i));
        if (device && device->maxOutputChannels > 0)
            insertSorted(devices_.entries, device->name);
    }
    controlPanelEnabled_ = name == kAsioHostApi;
    selectDevice(copy_.deviceName);
}

void AudioSettingsModel::selectDevice(const std::string& name)
{
    rates_.clear();
    clearRoutes(true);
    copy_.deviceName = name;
    int device = findOutputDevice(audio_, copy_.apiName, name);
    if (device < 0) {
        const int api = findHostApi(audio_, copy_.apiName);
        const auto apiInfo = api >= 0 ? audio_.hostApiInfo(api) : std::nullopt;
        device = apiInfo ? apiInfo->defaultOutputDevice : kNoDevice;
        const auto fallback = device != kNoDevice ? audio_.deviceInfo(device) : std::nullopt;
        if (!fallback)
            return;
        copy_.deviceName = fallback->name;
    }
    const auto info = audio_.deviceInfo(device);
    if (!info)
        return;
    const int channels = info->maxOutputChannels;

    // An ASIO driver serves one client at a time: the stream lets go of it
    // while the rates are probed.
    const bool probeAlone = asio();
    if (probeAlone)
        output_.closeAudioStream();
    for (const double rate : kOfferedRates)
        if (audio_.isFormatSupported(device, channels, rate)) {
            char text[32];
            std::snprintf(text, sizeof text, "%.0f", rate);
            rates_.entries.push_back(text);
            if (rate == copy_.sampleRate)
                rates_.selection = static_cast<int>(rates_.entries.size()) - 1;
        }
    if (rates_.selection < 0 && !rates_.entries.empty())
        rates_.selection = 0;
    if (probeAlone)
        output_.openAudioStream();

    if (asio()) {
        latency_.enabled = false;
        latencyText_ = "-";
    } else {
        const int low = static_cast<int>(info->defaultLowOutputLatency * 1000.0);
        latency_.minimum = std::clamp(low, 0, kLatencyMaxMs);
        latency_.maximum = kLatencyMaxMs;
        latency_.enabled = true;
        if (copy_.latency < latency_.minimum) {
            copy_.latency = latency_.minimum;
            showLatency(static_cast<unsigned>(latency_.minimum));
        } else if (copy_.latency > kLatencyMaxMs) {
            copy_.latency = kLatencyMaxMs;
            showLatency(kLatencyMaxMs);
        } else {
            latency_.position = static_cast<int>(wholeMs(copy_.latency));
        }
    }

    std::string channelName;
    for (int c = 0; c < channels; ++c)
        if (outputChannelName(audio_, c, device, channelName) == 0)
            for (ChoiceList& list : routes_)
                list.entries.push_back(channelName);
    devices_.select(info->name);
    for (int bus = 0; bus < kBuses; ++bus) {
        const int route = copy_.routes[static_cast<size_t>(bus)];
        routes_[static_cast<size_t>(bus)].selection = route <= channels ? route : channels > bus ? bus + 1 : 0;
    }
}

void AudioSettingsModel::showLatency(unsigned ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u ms", ms);
    latencyText_ = text;
    latency_.position = static_cast<int>(ms);
}

void AudioSettingsModel::showStreamLatency()
{
    const auto info = output_.streamInfo();
    if (!info) {
        latencyText_ = "-";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", info->outputLatency * 1000.0);
    latencyText_ = text;
}

void AudioSettingsModel::chooseRate(int index)
{
    rates_.selection = index;
    int rate = 0;
    if (const std::string* text = rates_.selected(); text && std::sscanf(text->c_str(), "%d", &rate) == 1)
        copy_.sampleRate = rate;
}

void AudioSettingsModel::chooseRoute(int bus, int index)
{
    if (!routeEnabled(bus))
        return;
    ChoiceList& list = routes_[static_cast<size_t>(bus)];
    if (index < 0 || index >= static_cast<int>(list.entries.size()))
        return;
    list.selection = index;
    for (size_t j = 0; j < routes_.size(); ++j)
        copy_.routes[j] = std::max(routes_[j].selection, 0);
}

void AudioSettingsModel::moveLatency(int ms)
{
    if (!latency_.enabled)
        return;
    const int clamped = std::clamp(ms, latency_.minimum, latency_.maximum);
    showLatency(static_cast<unsigned>(clamped));
    copy_.latency = clamped;
}

void AudioSettingsModel::takeShownChoices()
{
    // What the lists show is what gets applied: a rate the device does not
    // offer, or a channel it lacks, never reaches the stream.
    if (const std::string* rate = rates_.selected()) {
        int value = 0;
        if (std::sscanf(rate->c_str(), "%d", &value) == 1)
            copy_.sampleRate = value;
    }
    if (!routes_[0].entries.empty())
        for (size_t j = 0; j < routes_.size(); ++j)
            copy_.routes[j] = std::max(routes_[j].selection, 0);
}

void AudioSettingsModel::apply()
{
    takeShownChoices();
    output_.applySettings(copy_);
    if (output_.isOpen())
        showStreamLatency();
}

void AudioSettingsModel::accept()
{
    takeShownChoices();
    output_.applySettings(copy_);
    output_.openAudioStream();
}

void AudioSettingsModel::openControlPanel()
{
    const int device = findOutputDevice(audio_, copy_.apiName, copy_.deviceName);
    if (device < 0)
        return;
    output_.closeAudioStream();
    audio_.showControlPanel(device);
    output_.openAudioStream();
}

bool AudioSettingsModel::latencyTextEnabled() const
{
    return settingsEqual(copy_, state_.settings);
}

} // namespace host
