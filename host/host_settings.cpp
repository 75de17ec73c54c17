#include "host/host_settings.h"

#include "model/audio_files/memory_file.h"
#include "model/markup/markup.h"
#include "platform/system/folders.h"

#include <cmath>
#include <cstdio>

namespace host {

const char kHostSettingsFile[] = "Host.ini";

namespace {

void readChannel(AudioSystem& audio, HostState& state, const TesselElement& element)
{
    int32_t index = -1;
    char output[kMarkupValueSize] = {};
    if (!element.getInt("index", "i", index) || !element.getString("output", "ou", output))
        return;
    if (index < 0 || index >= kBuses)
        return;
    const int channel = findOutputChannel(audio, state.settings, output);
    if (channel >= 0)
        state.settings.routes[index] = channel + 1;
}

void readDriver(AudioSystem& audio, HostState& state, TesselMemoryFile& file, const TesselElement& driver)
{
    HostAudioSettings& settings = state.settings;
    char text[kMarkupValueSize] = {};
    if (driver.getString("api", "a", text))
        settings.apiName = text;
    if (driver.getString("device", "d", text))
        settings.deviceName = text;
    // A rate or latency of 0 or less would fail every open; keep the default.
    int32_t value = 0;
    if (driver.getInt("samplerate", "s", value) && value > 0)
        settings.sampleRate = value;
    if (driver.getInt("latency", "l", value) && value > 0)
        settings.latency = value;
    float volume = 0.0f;
    if (driver.getFloat("volume", "v", volume) && !std::isnan(volume))
        state.masterVolume = std::fmin(std::fmax(volume, 0.0f), 1.0f);

    TesselElement element;
    while (readElement(file, element)) {
        if (element.is("driver", "dr", kElementClose))
            return;
        if (element.is("channel", "ch", kElementOpen | kElementSelf))
            readChannel(audio, state, element);
    }
}

} // namespace

std::string hostSettingsPath()
{
    const std::string folder = platform::settingsFolder();
    if (folder.empty() || !platform::makeFolders(folder))
        return {};
    return platform::joinPath(folder, kHostSettingsFile);
}

void loadHostSettings(AudioSystem& audio, HostState& state, const std::string& path)
{
    // A file that exists keeps its routes, none included; one unreadable
    // keeps the defaults, as ever.
    state.firstRun = path.empty() || !platform::fileExists(path);
    TesselMemoryFile file;
    if (state.firstRun || !file.load(path))
        return;
    TesselElement element;
    while (readElement(file, element))
        if (element.is("driver", "dr", kElementOpen | kElementSelf))
            readDriver(audio, state, file, element);
}

void loadHostSettings(AudioSystem& audio, HostState& state) { loadHostSettings(audio, state, hostSettingsPath()); }

bool saveHostSettings(AudioSystem& audio, const HostState& state, const std::string& path)
{
    // A first run that never found a device has no routes to keep: a file
    // without them would leave the next run, with a device, silent.
    if (path.empty() || state.firstRun)
        return false;
    const std::string temporary = path + ".new";
    std::FILE* stream = std::fopen(temporary.c_str(), "w");
    if (!stream)
        return false;
    const HostAudioSettings& settings = state.settings;

    TesselElement driver("driver", kElementOpen);
    if (!settings.apiName.empty())
        driver.add("api", settings.apiName.c_str());
    if (!settings.deviceName.empty())
        driver.add("device", settings.deviceName.c_str());
    driver.addInt("latency", static_cast<long long>(settings.latency + 0.0001));
    driver.addInt("samplerate", static_cast<long long>(settings.sampleRate + 0.0001));
    char volume[32];
    std::snprintf(volume, sizeof volume, "%f", static_cast<double>(state.masterVolume.load()));
    driver.add("volume", volume);
    writeElement(stream, driver, true, true);

    const int device = findOutputDevice(audio, settings.apiName, settings.deviceName);
    for (int bus = 0; device >= 0 && bus < kBuses; ++bus) {
        std::string name;
        const int route = settings.routes[bus];
        if (route == 0 || outputChannelName(audio, route - 1, device, name) != 0)
            continue;
        TesselElement channel("channel", kElementSelf);
        channel.addInt("index", bus);
        channel.add("output", name.c_str());
        writeElement(stream, channel, true, true);
    }
    writeElement(stream, TesselElement("driver", kElementClose), true, true);

    const bool written = std::ferror(stream) == 0;
    if (std::fclose(stream) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool saveHostSettings(AudioSystem& audio, const HostState& state)
{
    return saveHostSettings(audio, state, hostSettingsPath());
}

} // namespace host
