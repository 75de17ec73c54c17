#pragma once
// Renders the plug-in faster than real time into a 32-bit stereo WAV file, on
// a thread of its own that holds the audio mutex while it renders (the stream
// then plays silence).

#include "host/host_state.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace host {

constexpr int kExportBlock = 1024;
constexpr uint32_t kAudioMutexWaitMs = 3000;
constexpr int32_t kPluginIsPlaying = -1;   // private opcode: nonzero while the song plays

struct ExportResult {
    bool rendered = false;   // false when the file or the audio mutex could not be had
    uint32_t frames = 0;
    double seconds = 0.0;   // time the rendering took
    // Why there is no file ("" when the export is whole): it could not be
    // created, or a write of it fell short (a full disk) and it was removed.
    std::string failure;
};

// "[m:ss.mmm]" of a position in frames.
std::string exportClock(double samplePos, double sampleRate);

class WavExporter {
public:
    // Receives the window title; progress titles come once per block.
    using TitleSink = std::function<void(const std::string& title, bool progress)>;

    WavExporter(HostState& state, TitleSink titles);
    ~WavExporter();   // stops and joins
    WavExporter(const WavExporter&) = delete;
    WavExporter& operator=(const WavExporter&) = delete;

    // The export button: starts an export into `path` (mode 1, or 0 with
    // Shift); a press while one runs stops that one instead. True when started.
    bool press(int mode, const std::string& path);
    // Ends a running export and waits for its thread.
    void stop();
    // True from press until the thread has finished, completion title included.
    bool busy() const;
    // Waits for the thread; the last export's result.
    ExportResult join();

    // The export itself, on the calling thread.
    ExportResult run(int mode, const std::string& path);

    // Test hook: how long the completion title stays before "Quorbel" returns.
    void setTitleHoldMs(int ms) { titleHoldMs_ = ms; }
    // Test hook: the most frames a file may take (the WAV limit by default).
    void setFrameLimit(uint64_t frames) { frameLimit_ = frames; }

private:
    // Renders and writes the blocks; `writeError` is set (errno) when a block
    // could not be written whole.
    ExportResult render(int mode, std::FILE* file, int& writeError);
    void holdTitle(const std::string& text);
    void title(const std::string& text, bool progress) { if (titles_) titles_(text, progress); }

    HostState& state_;
    TitleSink titles_;
    std::thread thread_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    bool busy_ = false;
    ExportResult last_;
    int titleHoldMs_ = 10000;
    uint64_t frameLimit_ = 0;
};

} // namespace host
