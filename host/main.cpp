// The stand-alone host: loads the plug-in, plays it through the audio
// device and shows its editor in the host's window until the window is
// closed; without a display, or with --export, it runs without a window
// until interrupted (or the export is done). Then it shuts down in order.
//
//   Host [--plugin PATH] [--export FILE.wav]

#include "host/audio/audio_output.h"
#include "host/audio/portaudio_system.h"
#include "host/audio/wav_export.h"
#include "host/host_settings.h"
#include "host/main_window.h"
#include "host/plugin_loader.h"
#include "host/windowed_host.h"
#include "platform/dialogs/dialogs.h"
#include "platform/x11/x11_window_system.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

struct Options {
    std::string plugin;
    std::string exportPath;
};

bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--plugin" && i + 1 < argc)
            options.plugin = argv[++i];
        else if (arg == "--export" && i + 1 < argc)
            options.exportPath = argv[++i];
        else
            return false;
    }
    return true;
}

// Waits for Ctrl+C or a termination request (both blocked in every thread, so
// they arrive here), or until `done` says there is nothing left to wait for.
template <class Done>
void waitForInterrupt(const sigset_t& signals, Done done)
{
    const timespec tick{0, 100 * 1000 * 1000};
    for (;;) {
        if (sigtimedwait(&signals, nullptr, &tick) > 0)
            return;
        if (done())
            return;
    }
}

// Plays until interrupted; with an export path, renders it and ends. False
// when the export asked for did not give a whole file.
bool runWithoutWindow(host::HostState& state, const Options& options, const sigset_t& signals)
{
    // Without a window the titles go to standard output, the completion only;
    // a failure goes to standard error below.
    host::WavExporter exporter(state, [](const std::string& title, bool progress) {
        if (!progress && title.rfind("Export complete", 0) == 0)
            std::printf("HOST> %s\n", title.c_str());
    });
    const bool exporting = !options.exportPath.empty();
    bool started = false;
    if (exporting) {
        exporter.setTitleHoldMs(0);
        started = exporter.press(1, options.exportPath);
        if (!started)
            std::fprintf(stderr, "Host: the export could not be started\n");
    }
    std::printf("HOST> Playing; press Ctrl+C to quit.\n");
    waitForInterrupt(signals, [&] { return exporting && !exporter.busy(); });
    // The export holds the plug-in; it ends before anything is closed.
    exporter.stop();
    if (!exporting)
        return true;
    const host::ExportResult result = exporter.join();
    if (started && !result.failure.empty())
        std::fprintf(stderr, "Host: %s (%s)\n", result.failure.c_str(), options.exportPath.c_str());
    return started && result.failure.empty();
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: Host [--plugin PATH] [--export FILE.wav]\n");
        return 2;
    }
    // Blocked before any thread starts, so every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // A file-size limit then makes a write fall short, which the export
    // reports, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    std::printf("*** This is a 64 Bit Build! ***\n");
    std::printf("long = %d Bytes, Pointer = %d Bytes, AEffect = %d Bytes\n\n", static_cast<int>(sizeof(long)),
                static_cast<int>(sizeof(void*)), static_cast<int>(sizeof(AEffect)));

    // A render needs no sound card: an export leaves the sound system (and
    // whatever else uses it) alone, and keeps the remembered device settings
    // as they are.
    const bool exporting = !options.exportPath.empty();
    auto audio = host::makePortAudioSystem();
    if (!exporting && audio->initialize() != 0) {
        std::fprintf(stderr, "Host: the audio library could not be initialised\n");
        return -1;
    }
    host::HostState state;
    if (!host::hostStartup(state)) {
        audio->terminate();
        return 1;
    }
    host::loadHostSettings(*audio, state);

    const std::string pluginPath =
        options.plugin.empty() ? host::defaultPluginPath(state.modulePath) : options.plugin;
    if (!host::loadPlugin(state, pluginPath)) {
        // Nothing to play: no stream is opened and the settings stay as they were.
        std::fprintf(stderr, "Host: the plug-in could not be started; exiting.\n");
        audio->terminate();
        host::hostShutdown(state);
        return 1;
    }
    state.timeInfo.samplePos = 0.0;

    // The window needs a display; an export runs without one.
    std::unique_ptr<platform::X11WindowSystem> windows;
    bool exported = true;
    if (!exporting)
        windows = platform::X11WindowSystem::open();
    {
        host::AudioOutput output(*audio, state);
        if (windows)
            output.setErrorReport([&windows](const std::string& text) {
                windows->dialogs().messageBox(nullptr, text, "Error", platform::kBoxOk);
            });
        if (!exporting && !output.openAudioStream()) {
            std::printf("HOST> No audio device could be opened; running silent.\n");
            // Play would light up and nothing be heard: the window says why.
            if (windows && output.foundNoDevice())
                windows->dialogs().messageBox(nullptr, host::kNoAudioDevice, host::kMainWindowTitle,
                                              platform::kBoxOk | platform::kBoxIconWarning);
        }

        bool windowed = false;
        if (windows) {
            host::WindowedHost app(*windows, state, *audio, output);
            windowed = app.open();
            if (windowed) {
                std::printf("HOST> Playing; close the window to quit.\n");
                app.run(signals);
            }
        }
        // A plug-in without an editor plays on without a window.
        if (!windowed)
            exported = runWithoutWindow(state, options, signals);

        std::printf("HOST> Shutting down...\n");
        if (!exporting)
            host::saveHostSettings(*audio, state);
        output.closeAudioStream();
    }
    windows.reset();
    host::closePlugin(state);
    audio->terminate();
    host::hostShutdown(state);
    return exported ? 0 : 1;
}
