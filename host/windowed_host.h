#pragma once
// The host with its window: the main window over a window system, the
// audio settings dialog, the export with its file chooser on the GUI thread
// (titles from the export thread handed over to it) and the quit question.

#include "host/audio/audio_output.h"
#include "host/audio/wav_export.h"
#include "host/main_window.h"

#include <csignal>

namespace host {

extern const char kExportTitle[];   // "Export to wav..."
extern const char kQuitQuestion[];  // "Are you sure you want to quit?"

class WindowedHost final : private MainWindowActions {
public:
    WindowedHost(platform::WindowSystem& windows, HostState& state, AudioSystem& audio, AudioOutput& output);
    // Any export ends first.
    ~WindowedHost();
    WindowedHost(const WindowedHost&) = delete;
    WindowedHost& operator=(const WindowedHost&) = delete;

    // False, with nothing shown, when the window cannot be made (a plug-in
    // without an editor says so).
    bool open() { return window_.create(); }
    // Until the quit is confirmed or a signal of the set arrives.
    void run(const sigset_t& signals);

    MainWindow& window() { return window_; }
    WavExporter& exporter() { return exporter_; }

private:
    void openAudioSettings(platform::Window& owner) override;
    void startExport(platform::Window& owner, int mode) override;
    bool confirmQuit(platform::Window& owner) override;
    // The chosen name, or nothing when the user cancels.
    bool chooseExportFile(platform::Window& owner, std::string& path);

    platform::WindowSystem& windows_;
    HostState& state_;
    AudioSystem& audio_;
    AudioOutput& output_;
    MainWindow window_;
    WavExporter exporter_;
};

} // namespace host
