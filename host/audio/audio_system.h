#pragma once
// The audio library as the host sees it: host APIs, devices and one output
// stream of non-interleaved floats. PortAudio implements it in the program;
// tests use a fake, so routing and settings run without a sound card.

#include <optional>
#include <string>
#include <vector>

namespace host {

constexpr int kNoDevice = -1;
constexpr int kErrorHostApiNotFound = -9979;
constexpr int kErrorInvalidDevice = -9996;

struct AudioHostApiInfo {
    std::string name;
    int deviceCount = 0;
    int defaultOutputDevice = kNoDevice;
};

struct AudioDeviceInfo {
    std::string name;
    int hostApi = 0;
    int maxOutputChannels = 0;
    double defaultLowOutputLatency = 0.0;   // seconds
};

// Audio thread: fills one non-interleaved buffer per channel; returns 0 to go on.
using AudioStreamCallback = int (*)(float* const* outputs, unsigned long frames, void* user);

// Extra stream information that only some back ends take.
enum class HostApiExtras { None, AsioChannelSelectors, WasapiExclusive };

struct AudioStreamRequest {
    int device = kNoDevice;
    int channels = 0;
    double suggestedLatency = 0.0;   // seconds
    double sampleRate = 0.0;
    unsigned long framesPerBuffer = 0;   // 0: the back end chooses
    HostApiExtras extras = HostApiExtras::None;
    std::vector<int> channelSelectors;   // for AsioChannelSelectors
    AudioStreamCallback callback = nullptr;
    void* user = nullptr;
};

struct AudioStreamInfo {
    double outputLatency = 0.0;   // seconds
    double sampleRate = 0.0;
};

using AudioStream = void*;

class AudioSystem {
public:
    virtual ~AudioSystem() = default;

    // 0 or an error code of the library.
    virtual int initialize() = 0;
    virtual void terminate() = 0;

    virtual int hostApiCount() = 0;
    virtual std::optional<AudioHostApiInfo> hostApiInfo(int api) = 0;
    // The global index of an API's device, or a negative error.
    virtual int hostApiDeviceIndexToDeviceIndex(int api, int apiDevice) = 0;
    virtual std::optional<AudioDeviceInfo> deviceInfo(int device) = 0;
    virtual int defaultOutputDevice() = 0;
    virtual bool isFormatSupported(int device, int channels, double sampleRate) = 0;
    // A name the back end itself gives an output channel (ASIO only).
    virtual std::optional<std::string> backEndChannelName(int device, int channel) = 0;
    // The driver's own settings window (ASIO only); 0 or an error code.
    virtual int showControlPanel(int device)
    {
        (void)device;
        return kErrorHostApiNotFound;
    }

    virtual int openStream(const AudioStreamRequest& request, AudioStream* stream) = 0;
    virtual int startStream(AudioStream stream) = 0;
    virtual int stopStream(AudioStream stream) = 0;
    virtual int closeStream(AudioStream stream) = 0;
    virtual std::optional<AudioStreamInfo> streamInfo(AudioStream stream) = 0;
    virtual std::string errorText(int code) = 0;
};

} // namespace host
