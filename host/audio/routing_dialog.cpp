#include "host/audio/routing_dialog.h"

#include "gui/dialogs/dialog_view.h"
#include "host/host_dialogs.h"

#include <array>

namespace host {

namespace {

// The channel lists, bus 0 first.
constexpr std::array<int32_t, kBuses> kRouteLists{kFrontLeftList, kFrontRightList, 1009, 1010, 1011, kRightSurroundList};

int busOfList(int32_t id)
{
    for (size_t bus = 0; bus < kRouteLists.size(); ++bus)
        if (kRouteLists[bus] == id)
            return static_cast<int>(bus);
    return -1;
}

} // namespace

RoutingDlg::RoutingDlg(platform::Window* parent, AudioSystem& audio, AudioOutput& output, HostState& state)
    : CBaseDialog(kAudioSettingsDialog, parent), model_(audio, output, state)
{
    addHandler(WM_INITDIALOG, &RoutingDlg::onInitDialog);
    addHandler(WM_COMMAND, &RoutingDlg::onCommand);
    addHandler(WM_HSCROLL, &RoutingDlg::onHScroll);
}

void RoutingDlg::onInitDialog(platform::Window* /*window*/, uintptr_t /*wParam*/, intptr_t /*lParam*/)
{
    model_.initialise();
    show();
}

void RoutingDlg::onCommand(platform::Window* /*window*/, uintptr_t wParam, intptr_t /*lParam*/)
{
    const int32_t id = commandId(wParam);
    const bool selected = commandNotification(wParam) == CBN_SELCHANGE;
    DialogView* items = view();
    if (!items)
        return;
    if (id == IDOK) {
        onOK();
    } else if (id == IDCANCEL) {
        onCancel();
    } else if (id == kApplyButton) {
        model_.apply();
    } else if (id == kControlPanelButton) {
        model_.openControlPanel();
    } else if (selected && id == kDriverList) {
        model_.selectApi(items->text(id));
    } else if (selected && id == kDeviceList) {
        model_.selectDevice(items->text(id));
    } else if (selected && id == kRateList) {
        model_.chooseRate(items->selection(id));
    } else if (selected && busOfList(id) >= 0) {
        model_.chooseRoute(busOfList(id), items->selection(id));
    }
    show();
}

void RoutingDlg::onHScroll(platform::Window* /*window*/, uintptr_t /*wParam*/, intptr_t /*lParam*/)
{
    if (DialogView* items = view()) {
        model_.moveLatency(items->position(kLatencyTrackbar));
        show();
    }
}

void RoutingDlg::showList(int32_t id, const ChoiceList& list)
{
    DialogView& items = *view();
    const DialogItem* item = items.item(id);
    // Filled anew only when the entries change, in the model's order.
    if (item && item->entries != list.entries) {
        items.clearList(id);
        for (const std::string& entry : list.entries)
            items.addEntry(id, entry);
    }
    items.selectEntry(id, list.selection);
}

void RoutingDlg::show()
{
    DialogView* items = view();
    if (!items)
        return;
    showList(kDriverList, model_.apis());
    showList(kDeviceList, model_.devices());
    showList(kRateList, model_.rates());
    for (int bus = 0; bus < kBuses; ++bus)
        showList(kRouteLists[static_cast<size_t>(bus)], model_.routes(bus));
    items->enable(kControlPanelButton, model_.controlPanelEnabled());
    const LatencyControl& latency = model_.latency();
    items->setRange(kLatencyTrackbar, latency.minimum, latency.maximum);
    items->setPosition(kLatencyTrackbar, latency.position);
    items->enable(kLatencyTrackbar, latency.enabled);
    items->setText(kLatencyText, model_.latencyText());
    items->enable(kLatencyText, model_.latencyTextEnabled());
}

intptr_t showAudioSettings(platform::Window& owner, AudioSystem& audio, AudioOutput& output, HostState& state)
{
    RoutingDlg dialog(&owner, audio, output, state);
    const intptr_t result = dialog.doModalWithInstance(&hostDialogs());
    if (result == IDOK)
        dialog.model().accept();
    return result;
}

} // namespace host
