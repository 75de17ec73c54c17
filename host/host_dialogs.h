#pragma once
// The host program's dialog resources: the module "Host" with the audio
// settings dialog (101).

#include "gui/dialogs/dialog_template.h"

namespace host {

constexpr int32_t kAudioSettingsDialog = 101;

// Item ids of the audio settings dialog.
constexpr int32_t kApplyButton = 3;
constexpr int32_t kFrontLeftList = 1001;
constexpr int32_t kDeviceList = 1002;
constexpr int32_t kDriverList = 1003;
constexpr int32_t kRateList = 1004;
constexpr int32_t kControlPanelButton = 1005;
constexpr int32_t kLatencyText = 1006;
constexpr int32_t kLatencyTrackbar = 1007;
constexpr int32_t kFrontRightList = 1008;
constexpr int32_t kRightSurroundList = 1012;

const DialogModule& hostDialogs();

} // namespace host
