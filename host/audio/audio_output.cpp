#include "host/audio/audio_output.h"

#include "host/host_vector.h"

#include <algorithm>
#include <cstdio>

namespace host {

const char kNoAudioDevice[] = "No audio device was found: Quorbel plays silent.\n"
                              "Choose a device in the Audio Settings (Shift+F12).";

namespace {

// The channels the stream carries. A device's channel count is what it can
// take at most, and ALSA's converting and sound-server devices report up to
// 128: a stream that wide costs the audio thread and the device's converter a
// hundred and more silent channels on every block, stopped or playing. So the
// stream reaches as far as the highest route and no further, but never below
// stereo (a mono stream would be spread over both speakers by such a device).
// ASIO and exclusive WASAPI take the device whole and keep every channel.
int streamChannelCount(const std::string& apiName, int deviceChannels, const std::array<int, kBuses>& routes)
{
    if (apiName == "ASIO" || apiName == "Windows WASAPI")
        return deviceChannels;
    const int highestRoute = *std::max_element(routes.begin(), routes.end());
    return std::min(deviceChannels, std::max(2, highestRoute));
}

} // namespace

AudioOutput::AudioOutput(AudioSystem& audio, HostState& state)
    : audio_(audio), state_(state),
      report_([](const std::string& text) { std::fprintf(stderr, "Error: %s\n", text.c_str()); })
{
}

AudioOutput::~AudioOutput() { closeAudioStream(); }

void AudioOutput::printStreamError(int code)
{
    std::printf("An error occured while using the portaudio stream\n");
    std::printf("Error number: %d\n", code);
    std::printf("Error message: %s\n", audio_.errorText(code).c_str());
    std::fflush(stdout);
}

bool AudioOutput::openAudioStream()
{
    if (hostState() != &state_ || stream_)
        return false;
    HostAudioSettings& settings = state_.settings;
    noDevice_ = true;

    int device = findOutputDevice(audio_, settings.apiName, settings.deviceName);
    std::optional<AudioDeviceInfo> info;
    if (device >= 0) {
        info = audio_.deviceInfo(device);
    } else {
        device = audio_.defaultOutputDevice();
        info = device == kNoDevice ? std::nullopt : audio_.deviceInfo(device);
        const auto api = info ? audio_.hostApiInfo(info->hostApi) : std::nullopt;
        if (!api)
            return false;
        settings.apiName = api->name;
        settings.deviceName = info->name;
    }
    if (!info || info->maxOutputChannels <= 0)
        return false;
    noDevice_ = false;

    const int channels = info->maxOutputChannels;
    if (state_.firstRun) {
        settings.routes[0] = 1;
        settings.routes[1] = std::min(2, channels);
        state_.firstRun = false;
    }
    for (int& route : settings.routes)
        if (route > channels || route < 0)
            route = 0;

    AudioStreamRequest request;
    request.device = device;
    request.channels = streamChannelCount(settings.apiName, channels, settings.routes);
    request.suggestedLatency = settings.latency / 1000.0;
    request.sampleRate = settings.sampleRate;
    request.framesPerBuffer = settings.apiName == "Windows DirectSound" ? 512 : 0;
    if (settings.apiName == "ASIO") {
        request.extras = HostApiExtras::AsioChannelSelectors;
        for (int c = 0; c < channels; ++c)
            request.channelSelectors.push_back(c);
    } else if (settings.apiName == "Windows WASAPI") {
        request.extras = HostApiExtras::WasapiExclusive;
    }
    request.callback = &AudioOutput::streamCallback;
    request.user = this;

    // The callback reads only this snapshot; set before the stream can run.
    channels_ = request.channels;
    routes_ = settings.routes;

    AudioStream stream = nullptr;
    int error = audio_.openStream(request, &stream);
    if (error == 0) {
        error = audio_.startStream(stream);
        if (error != 0)
            audio_.closeStream(stream);
    }
    if (error != 0) {
        std::printf("An error occured while using the portaudio stream\n");
        std::printf("Error number: %d\n", error);
        const std::string text = audio_.errorText(error);
        report_(text);
        std::printf("Error message: %s\n", text.c_str());
        std::fflush(stdout);
        return false;
    }
    stream_ = stream;

    if (const auto streamInfo = audio_.streamInfo(stream_)) {
        // The plug-in is never handed more than its bus buffers hold.
        const int frames = static_cast<int>(streamInfo->outputLatency * streamInfo->sampleRate + 0.0001);
        state_.blockSize = std::clamp(frames, 1, kBusFrames);
        state_.timeInfo.sampleRate = streamInfo->sampleRate;
        if (AEffect* effect = state_.effect) {
            effect->dispatcher(effect, effSetBlockSize, 0, state_.blockSize, nullptr, 0.0f);
            effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(streamInfo->sampleRate));
        }
    }
    std::printf("Driver: [%s] %s @ %.0f Hz / %.0f ms\n", settings.apiName.c_str(), settings.deviceName.c_str(),
                settings.sampleRate, settings.apiName == "ASIO" ? 0.0 : settings.latency);
    std::fflush(stdout);
    return true;
}

void AudioOutput::closeAudioStream()
{
    if (!stream_)
        return;
    int error = audio_.stopStream(stream_);
    if (error == 0)
        error = audio_.closeStream(stream_);
    if (error != 0) {
        printStreamError(error);
        return;
    }
    stream_ = nullptr;
}

std::optional<AudioStreamInfo> AudioOutput::streamInfo() const
{
    return stream_ ? audio_.streamInfo(stream_) : std::nullopt;
}

void AudioOutput::applySettings(const HostAudioSettings& settings)
{
    state_.settings = settings;
    if (stream_) {
        closeAudioStream();
        openAudioStream();
    }
}

int AudioOutput::streamCallback(float* const* outputs, unsigned long frames, void* user)
{
    static_cast<AudioOutput*>(user)->render(outputs, frames);
    return 0;
}

void AudioOutput::render(float* const* outputs, unsigned long frames)
{
    size_t offset = 0;
    while (frames > 0) {
        const int chunk = static_cast<int>(std::min<unsigned long>(frames, kBusFrames));
        renderChunk(outputs, offset, chunk);
        offset += static_cast<size_t>(chunk);
        frames -= static_cast<unsigned long>(chunk);
    }
}

void AudioOutput::renderChunk(float* const* outputs, size_t offset, int frames)
{
    for (int c = 0; c < channels_; ++c)
        vecZero(outputs[c] + offset, frames);

    // An export holds the mutex and renders on its own: the device stays
    // silent meanwhile rather than repeating the last block.
    std::unique_lock<std::timed_mutex> lock(state_.audioMutex, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    AEffect* effect = state_.effect;
    if (!effect || !effect->process)
        return;
    float* buses[kBuses];
    for (int j = 0; j < kBuses; ++j) {
        buses[j] = state_.buses[j];
        vecZero(buses[j], frames);
    }
    effect->process(effect, nullptr, buses, frames);
    lock.unlock();

    for (int j = 0; j < kBuses; ++j) {
        const int route = routes_[j];
        if (route > 0 && route <= channels_)
            vecAdd(buses[j], outputs[route - 1] + offset, outputs[route - 1] + offset, frames);
    }
    const float volume = state_.masterVolume.load(std::memory_order_relaxed);
    for (int c = 0; c < channels_; ++c)
        vecMulC(outputs[c] + offset, volume, outputs[c] + offset, frames);
}

} // namespace host
