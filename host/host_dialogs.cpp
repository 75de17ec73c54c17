#include "host/host_dialogs.h"

namespace host {

namespace {

DialogTemplate audioSettings()
{
    // 20 units wider than the Windows resource: the driver and device lists
    // hold "JACK Audio Connection Kit" whole in their 8-pixel cells, and the
    // controls at the right keep their margin.
    using K = DialogItemKind;
    return DialogTemplate{kAudioSettingsDialog, "Audio Settings", 225, 219, {
        {-1, K::Text, {7, 9, 60, 8}, "Audio Driver"},
        {kDriverList, K::DropList, {70, 7, 148, 12}, "", kItemSorted},
        {-1, K::Text, {7, 25, 60, 8}, "Audio Device"},
        {kDeviceList, K::DropList, {70, 23, 148, 12}, "", kItemSorted},
        {-1, K::Text, {7, 41, 60, 8}, "Sample Rate"},
        {kRateList, K::DropList, {70, 39, 60, 12}, ""},
        {kControlPanelButton, K::Button, {158, 38, 60, 14}, "Control Panel", kItemDisabled},
        {-1, K::Text, {7, 58, 60, 8}, "Latency"},
        {kLatencyTrackbar, K::Trackbar, {70, 56, 108, 12}, ""},
        {kLatencyText, K::Text, {180, 58, 38, 8}, "0 ms", kItemRightAligned},
        {-1, K::GroupBox, {7, 75, 211, 114}, "Channel Assignments"},
        {-1, K::Text, {15, 90, 75, 8}, "Front Left"},
        {kFrontLeftList, K::DropList, {95, 88, 116, 12}, ""},
        {-1, K::Text, {15, 106, 75, 8}, "Front Right"},
        {kFrontRightList, K::DropList, {95, 104, 116, 12}, ""},
        {-1, K::Text, {15, 122, 75, 8}, "Centre"},
        {1009, K::DropList, {95, 120, 116, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 138, 75, 8}, "Subwoofer (LFE)"},
        {1010, K::DropList, {95, 136, 116, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 154, 75, 8}, "Left Surround"},
        {1011, K::DropList, {95, 152, 116, 12}, "", kItemDisabled},
        {-1, K::Text, {15, 170, 75, 8}, "Right Surround"},
        {kRightSurroundList, K::DropList, {95, 168, 116, 12}, "", kItemDisabled},
        {kApplyButton, K::Button, {7, 198, 50, 14}, "Apply"},
        {IDOK, K::Button, {114, 198, 50, 14}, "OK", kItemDefault},
        {IDCANCEL, K::Button, {168, 198, 50, 14}, "Cancel"},
    }};
}

} // namespace

const DialogModule& hostDialogs()
{
    static const DialogModule module("Host", {audioSettings()});
    return module;
}

} // namespace host
