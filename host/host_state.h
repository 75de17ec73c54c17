#pragma once
// The host's state for the whole run and the one process-wide pointer through
// which the host callback reaches it.

#include "host/audio/audio_settings.h"
#include "host/vst2.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>

namespace host {

constexpr int kBusFrames = 16384;   // frames the plug-in renders at most per call

struct HostState {
    void* library = nullptr;                  // the loaded plug-in library
    std::array<float*, kBuses> buses{};       // kBusFrames floats each, 16-byte aligned
    std::string modulePath;                   // the program's own file
    int blockSize = 0;                        // last sent with effSetBlockSize
    std::atomic<bool> exporting{false};

    AEffect* effect = nullptr;                // null until created and after effClose
    // Held around every call of the plug-in's process: the stream callback only
    // tries it, the export waits for it.
    std::timed_mutex audioMutex;
    std::atomic<float> masterVolume{1.0f};    // 0..1; written by the user interface
    float hostVersion = 0.0f;
    VstTimeInfo timeInfo{};                   // host writes samplePos, sampleRate, flags
    std::atomic<bool> idlePrinted{false};

    HostAudioSettings settings;               // the current audio settings
    // No settings file was found: the first device opened takes bus 0 on its
    // first two channels (the one for a mono device), so that a first run
    // is heard without a visit to the audio settings.
    bool firstRun = false;
};

// Null before hostStartup and after hostShutdown.
HostState* hostState();

// Fills the state, publishes it and allocates the bus buffers. The settings
// file is read separately (loadHostSettings), once the audio system is up.
bool hostStartup(HostState& state);
// Clears the pointer, frees the buffers and unloads the library.
void hostShutdown(HostState& state);

// The vendor version the host reports: version x 1000, rounded down.
int vendorVersion(float version);

} // namespace host
