#pragma once
// The "Audio Settings" dialog: the audio settings model shown in the
// dialog of resource 101. Choosing a driver or a device fills the lists
// below it; Apply applies the copy at once (the stream restarts), OK on
// leaving, Cancel leaves what Apply applied. GUI thread only.

#include "gui/dialogs/base_dialog.h"
#include "host/audio/audio_settings_model.h"

namespace host {

class RoutingDlg : public CBaseDialog {
public:
    RoutingDlg(platform::Window* parent, AudioSystem& audio, AudioOutput& output, HostState& state);

    AudioSettingsModel& model() { return model_; }

private:
    void onInitDialog(platform::Window* window, uintptr_t wParam, intptr_t lParam);
    void onCommand(platform::Window* window, uintptr_t wParam, intptr_t lParam);
    void onHScroll(platform::Window* window, uintptr_t wParam, intptr_t lParam);
    // The model's state into the items.
    void show();
    void showList(int32_t id, const ChoiceList& list);

    AudioSettingsModel model_;
};

// Runs the dialog over the owner; on OK its settings are applied and the
// stream opened when none is. What the dialog ended with.
intptr_t showAudioSettings(platform::Window& owner, AudioSystem& audio, AudioOutput& output, HostState& state);

} // namespace host
