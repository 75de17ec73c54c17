#pragma once
// The one output stream of the host: opened from the current settings, it
// calls the plug-in, routes its six buses to device channels and applies the
// master volume.

#include "host/audio/audio_system.h"
#include "host/host_state.h"

#include <array>
#include <functional>
#include <string>

namespace host {

// Shown at start when there is no device to play through.
extern const char kNoAudioDevice[];

class AudioOutput {
public:
    // The error report of a failed open; prints to stderr unless replaced
    // (the windowed host shows a message box).
    using ErrorReport = std::function<void(const std::string& text)>;

    AudioOutput(AudioSystem& audio, HostState& state);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    void setErrorReport(ErrorReport report) { report_ = std::move(report); }

    // GUI thread. False (nothing opened) when the host state is not published,
    // a stream is already open or no device is found.
    bool openAudioStream();
    // GUI thread. Keeps the handle when stopping or closing fails.
    void closeAudioStream();
    // GUI thread: takes the settings and reopens an open stream with them.
    void applySettings(const HostAudioSettings& settings);

    bool isOpen() const { return stream_ != nullptr; }
    // The last open found no device to play through (nothing was reported).
    bool foundNoDevice() const { return noDevice_; }
    // What the open stream reports of itself; nothing without a stream.
    std::optional<AudioStreamInfo> streamInfo() const;
    // The channel count and routes the running stream was opened with.
    int streamChannels() const { return channels_; }
    const std::array<int, kBuses>& streamRoutes() const { return routes_; }

    // Audio thread; also what tests drive directly.
    void render(float* const* outputs, unsigned long frames);

private:
    static int streamCallback(float* const* outputs, unsigned long frames, void* user);
    void renderChunk(float* const* outputs, size_t offset, int frames);
    void printStreamError(int code);

    AudioSystem& audio_;
    HostState& state_;
    AudioStream stream_ = nullptr;
    ErrorReport report_;
    // Taken at open: the callback never looks the device up by name.
    int channels_ = 0;
    std::array<int, kBuses> routes_{};
    bool noDevice_ = false;
};

} // namespace host
