#include "host/host_dialogs.h"

namespace host {

namespace {

DialogTemplate audioSettings()
{
    using K = DialogItemKind;
    return DialogTemplate{kAudioSettingsDialog, "Audio Settings", 205, 219, {
        {-1, K::Text, {7, 9, 60, 8}, "Audio Driver"},
        {kDriverList, K::DropList, {70, 7, 128, 12}, "", kItemSorted},
        {-1, K::Text, {7, 25, 60, 8}, "Audio Device"},
        {kDeviceList, K::DropList, {70, 23, 128, 12}, "", kItemSorted},
        {-1, K::Text, {7, 41, 60, 8}, "Sample Rate"},
        {kRateList, K::DropList, {70, 39, 60, 12}, ""},
        {kControlPanelButton, K::Button, {138, 38, 60, 14}, "Control Panel", kItemDisabled},
        {-1, K::Text, {7, 58, 60, 8}, "Latency"},
        {kLatencyTrackbar, K::Trackbar, {70, 56, 88, 12}, ""},
        {kLatencyText, K::Text, {160, 58, 38, 8}, "0 ms", kItemRightAligned},
        {-1, K::GroupBox, {7, 75, 191, 114}, "Channel Assignments"},
        {-1, K::Text, {15, 90, 75, 8}, "Front Left"},
        {kFrontLeftList, K::DropList, {95, 88, 96, 12}, ""},
        {-1, K::Text, {15, 106, 75, 8}, "Front Right"},
        {kFrontRightList, K::DropList, {95, 104, 96, 12}, ""},
        {-1, K::Text, {15, 122, 75, 8}, "Centre"},
        {1009, K::DropList, {95, 120, 96, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 138, 75, 8}, "Subwoofer (LFE)"},
        {1010, K::DropList, {95, 136, 96, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 154, 75, 8}, "Left Surround"},
        {1011, K::DropList, {95, 152, 96, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 170, 75, 8}, "Right Surround"},
        {kRightSurroundList, K::DropList, {95, 168, 96, 12}, "", kItemDisabled},
        {kApplyButton, K::Button, {7, 198, 50, 14}, "Apply"},
        {IDOK, K::Button, {94, 198, 50, 14}, "OK", kItemDefault},
        {IDCANCEL, K::Button, {148, 198, 50, 14}, "Cancel"},
    }};
}

} // namespace

const DialogModule& hostDialogs()
{
    static const DialogModule module("Host", {audioSettings()});
    return module;
}

} // namespace host
