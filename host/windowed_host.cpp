#include "host/windowed_host.h"

#include "host/audio/routing_dialog.h"
#include "host/window_loop.h"
#include "platform/dialogs/dialogs.h"
#include "vst2/quit_question.h"

#include <sys/stat.h>

namespace host {

const char kExportTitle[] = "Export to wav...";
const char kQuitQuestion[] = "Are you sure you want to quit?";

WindowedHost::WindowedHost(platform::WindowSystem& windows, HostState& state, AudioSystem& audio,
                           AudioOutput& output)
    : windows_(windows), state_(state), audio_(audio), output_(output), window_(windows, state, *this),
      // The export thread never touches the display: its titles wait for
      // the window's next timer tick on the GUI thread.
      exporter_(state, [this](const std::string& title, bool) { window_.postTitle(title); })
{
}

WindowedHost::~WindowedHost()
{
    exporter_.stop();
}

void WindowedHost::run(const sigset_t& signals)
{
    runWindowLoop(windows_, window_, signals);
    exporter_.stop();
}

void WindowedHost::openAudioSettings(platform::Window& owner)
{
    showAudioSettings(owner, audio_, output_, state_);
}

bool WindowedHost::chooseExportFile(platform::Window& owner, std::string& path)
{
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogKind::Save;
    request.title = kExportTitle;
    request.filters = {{"Microsoft Wave File (*.wav)", {"wav"}}};
    request.defaultExtension = "wav";
    std::vector<std::string> paths;
    if (!windows_.dialogs().chooseFiles(&owner, request, paths) || paths.empty())
        return false;
    path = paths.front();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return true;
    // An existing file is replaced only when the user says so.
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return windows_.dialogs().messageBox(&owner, name + " already exists.\nDo you want to replace it?", kExportTitle,
                                         platform::kBoxYesNo | platform::kBoxIconWarning) == platform::kAnswerYes;
}

void WindowedHost::startExport(platform::Window& owner, int mode)
{
    // A press while one renders ends it.
    if (state_.exporting) {
        exporter_.stop();
        return;
    }
    std::string path;
    if (!chooseExportFile(owner, path))
        return;
    // The last export's completion title goes with it.
    exporter_.stop();
    exporter_.press(mode, path);
}

bool WindowedHost::confirmQuit(platform::Window& owner)
{
    // The plug-in asks first whether to save an edited song; when it asked,
    // its answer stands for ours.
    if (AEffect* effect = state_.effect) {
        const VstIntPtr answer = effect->dispatcher(effect, effVendorSpecific, kVendorQuitQuestion, 0, nullptr, 0.0f);
        if (answer == kQuitGo)
            return true;
        if (answer == kQuitStay)
            return false;
    }
    return windows_.dialogs().messageBox(&owner, kQuitQuestion, kMainWindowTitle,
                                         platform::kBoxYesNo | platform::kBoxIconWarning) == platform::kAnswerYes;
}

} // namespace host
