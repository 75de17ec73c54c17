#include "host/audio/portaudio_system.h"

#include <portaudio.h>

namespace host {
namespace {

// What PortAudio's callback needs to reach ours; lives as long as the stream.
struct StreamBinding {
    PaStream* stream = nullptr;
    AudioStreamCallback callback = nullptr;
    void* user = nullptr;
};

int trampoline(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
               PaStreamCallbackFlags, void* user)
{
    auto* binding = static_cast<StreamBinding*>(user);
    return binding->callback(static_cast<float* const*>(output), frames, binding->user) == 0 ? paContinue
                                                                                            : paComplete;
}

class PortAudioSystem final : public AudioSystem {
public:
    int initialize() override { return Pa_Initialize(); }
    void terminate() override { Pa_Terminate(); }

    int hostApiCount() override { return Pa_GetHostApiCount(); }

    std::optional<AudioHostApiInfo> hostApiInfo(int api) override
    {
        const PaHostApiInfo* info = Pa_GetHostApiInfo(api);
        if (!info)
            return std::nullopt;
        return AudioHostApiInfo{info->name ? info->name : "", info->deviceCount, info->defaultOutputDevice};
    }

    int hostApiDeviceIndexToDeviceIndex(int api, int apiDevice) override
    {
        return Pa_HostApiDeviceIndexToDeviceIndex(api, apiDevice);
    }

    std::optional<AudioDeviceInfo> deviceInfo(int device) override
    {
        const PaDeviceInfo* info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
        if (!info)
            return std::nullopt;
        return AudioDeviceInfo{info->name ? info->name : "", info->hostApi, info->maxOutputChannels,
                               info->defaultLowOutputLatency};
    }

    int defaultOutputDevice() override { return Pa_GetDefaultOutputDevice(); }

    bool isFormatSupported(int device, int channels, double sampleRate) override
    {
        PaStreamParameters out{device, channels, paFloat32 | paNonInterleaved, 0.0, nullptr};
        return Pa_IsFormatSupported(nullptr, &out, sampleRate) == paFormatIsSupported;
    }

    // The ASIO back end is not part of this platform's PortAudio.
    std::optional<std::string> backEndChannelName(int, int) override { return std::nullopt; }

    int openStream(const AudioStreamRequest& request, AudioStream* stream) override
    {
        *stream = nullptr;
        auto* binding = new StreamBinding{nullptr, request.callback, request.user};
        PaStreamParameters out{request.device, request.channels, paFloat32 | paNonInterleaved,
                               request.suggestedLatency, nullptr};
        const PaError error = Pa_OpenStream(&binding->stream, nullptr, &out, request.sampleRate,
                                            request.framesPerBuffer, paNoFlag, trampoline, binding);
        if (error != paNoError) {
            delete binding;
            return error;
        }
        *stream = binding;
        return paNoError;
    }

    int startStream(AudioStream stream) override { return Pa_StartStream(binding(stream)->stream); }
    int stopStream(AudioStream stream) override { return Pa_StopStream(binding(stream)->stream); }

    int closeStream(AudioStream stream) override
    {
        const PaError error = Pa_CloseStream(binding(stream)->stream);
        if (error == paNoError)
            delete binding(stream);
        return error;
    }

    std::optional<AudioStreamInfo> streamInfo(AudioStream stream) override
    {
        const PaStreamInfo* info = Pa_GetStreamInfo(binding(stream)->stream);
        if (!info)
            return std::nullopt;
        return AudioStreamInfo{info->outputLatency, info->sampleRate};
    }

    std::string errorText(int code) override
    {
        const char* text = Pa_GetErrorText(code);
        return text ? text : "";
    }

private:
    static StreamBinding* binding(AudioStream stream) { return static_cast<StreamBinding*>(stream); }
};

} // namespace

std::unique_ptr<AudioSystem> makePortAudioSystem() { return std::make_unique<PortAudioSystem>(); }

} // namespace host
