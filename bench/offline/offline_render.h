#pragma once
// Offline renders of one song file, by the engine and by libopenmpt (the
// reference player the tests compare with), handed to a sink a stretch of
// blocks at a time.
// Both stop where a module player ends the song: at its end, or the first
// time it returns to an order position it has already played.

#include <cstddef>
#include <functional>
#include <string>

namespace offline {

struct RenderSettings {
    int rate = 44100;
    int block = 512;
    double maxSeconds = 600.0;
    int soloChannel = -1;   // 0..63: every other channel muted, to find where two renders differ
};

// Receives rendered frames: left and right, n of them.
using FrameSink = std::function<void(const float* left, const float* right, size_t n)>;

struct RenderResult {
    // Our engine: 0 not loaded, 1 loaded with a warning, 2 loaded.
    // libopenmpt: 0 not loaded, 2 loaded.
    int loadResult = 0;
    std::string warning;     // the status text of a load with a warning
    bool rendered = false;   // loaded, started and rendered to its end or the cap
    size_t frames = 0;
    double cpuSeconds = 0.0; // thread time of the render and the copy of its frames; the sink's is not counted

    double seconds(int rate) const { return static_cast<double>(frames) / rate; }
};

// Loads the file into a fresh engine and plays the song from its start. Only
// one engine exists per process, so no other may be alive during the call.
RenderResult renderWithEngine(const std::string& path, const RenderSettings& settings, const FrameSink& sink);

// The same file through libopenmpt with linear interpolation.
RenderResult renderWithOpenmpt(const std::string& path, const RenderSettings& settings, const FrameSink& sink);

} // namespace offline
