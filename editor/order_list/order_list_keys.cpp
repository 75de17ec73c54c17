// The order list page's key road: help, Tab between the five areas, the
// channel list's keys and the order column's.

#include "common/help_pages.h"
#include "editor/core/channel_edits.h"
#include "editor/order_list/order_list_page.h"
#include "gui/controls/control_skin.h"
#include "model/song/module.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace control_skin;

constexpr int32_t kPageStep = 16;
constexpr int32_t kLastNamePlace = kChannelNameLength - 1;

// A character typed as text: no Control or Alt with it.
bool typedCharacter(const TesselKeyEvent& key, uint8_t lowest)
{
    return key.printable >= lowest && key.printable != 127 && key.printable != kNoPrintable
        && (key.modifiers & (kModCtrl | kModAlt)) == 0;
}

} // namespace

int32_t TesselOrderListUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (!song || key.keyUp)
        return 0;
    firstChannel_ = std::clamp(firstChannel_, 0, kLastFirstChannel);
    if (defaultScheme().findIdInContext(cmd::order_list::kContext, key, false) == cmd::root::kHelpContext) {
        if (TesselEditorPageServices* owner = this->owner())
            owner->openHelpPage(area_ == kOrderArea ? help::kOrderList : help::kOrderListChannels);
        return 0;
    }
    if (key.virtualKey == kVkTab) {
        area_ = (area_ + ((key.modifiers & kModShift) ? kAreas - 1 : 1)) % kAreas;
        setDirty();
        return 0;
    }
    if (area_ == kOrderArea)
        orderKey(key);
    else
        channelKey(key);
    setDirty();
    return 0;
}

void TesselOrderListUI::moveChannelCursor(int32_t by)
{
    channelCursor_ = std::clamp(channelCursor_ + by, 0, kChannels - 1);
}

void TesselOrderListUI::scrollChannels()
{
    nameCursor_ = std::clamp(nameCursor_, 0, kLastNamePlace);
    channelCursor_ = std::clamp(channelCursor_, 0, kChannels - 1);
    if (channelCursor_ < firstChannel_)
        firstChannel_ = channelCursor_;
    if (channelCursor_ > firstChannel_ + kVisibleRows - 1)
        firstChannel_ = channelCursor_ - (kVisibleRows - 1);
    firstChannel_ = std::clamp(firstChannel_, 0, kLastFirstChannel);
}

void TesselOrderListUI::channelKey(const TesselKeyEvent& key)
{
    switch (key.virtualKey) {
    case kVkUp: moveChannelCursor(-1); break;
    case kVkDown: moveChannelCursor(1); break;
    case kVkPageUp: moveChannelCursor(-kPageStep); break;
    case kVkPageDown: moveChannelCursor(kPageStep); break;
    default:
        if (area_ == kNameArea)
            nameKey(key);
        else if (area_ == kColourArea && key.virtualKey == kVkEnter)
            storeChannelColour(owner(), song, channelCursor_, chooseChannelColour(channelCursor_));
        else if (area_ == kVolumeArea || area_ == kPanningArea)
            sliderKey(key);
        break;
    }
    scrollChannels();
}

void TesselOrderListUI::nameKey(const TesselKeyEvent& key)
{
    char name[kChannelNameLength + 1];
    paddedChannelName(*song, channelCursor_, name);
    const int32_t at = std::clamp(nameCursor_, 0, kLastNamePlace);
    // Moves the characters from `from` on one place left (a blank comes in
    // at the end) or right (the last one drops).
    const auto closeUp = [&name](int32_t from) {
        std::memmove(name + from, name + from + 1, static_cast<size_t>(kLastNamePlace - from));
        name[kLastNamePlace] = ' ';
    };
    const auto openUp = [&name](int32_t from) {
        std::memmove(name + from + 1, name + from, static_cast<size_t>(kLastNamePlace - from));
        name[from] = ' ';
    };
    switch (key.virtualKey) {
    case kVkBack:
        if (at > 0) {
            closeUp(at - 1);
            if (storeChannelName(owner(), song, channelCursor_, name))
                nameCursor_ = at - 1;
        }
        return;
    case kVkLeft: nameCursor_ = at - 1; return;
    case kVkRight: nameCursor_ = at + 1; return;
    case kVkEnd: nameCursor_ = kLastNamePlace; return;
    case kVkHome: nameCursor_ = 0; return;
    case kVkInsert:
        openUp(at);
        storeChannelName(owner(), song, channelCursor_, name);
        return;
    case kVkDelete:
        closeUp(at);
        storeChannelName(owner(), song, channelCursor_, name);
        return;
    case kVkEnter: editor->redrawPatternEditor(); return;
    default: break;
    }
    if (!typedCharacter(key, ' '))
        return;
    openUp(at);
    name[at] = static_cast<char>(key.printable);
    if (storeChannelName(owner(), song, channelCursor_, name))
        nameCursor_ = at + 1;
}

void TesselOrderListUI::sliderKey(const TesselKeyEvent& key)
{
    const bool panning = area_ == kPanningArea;
    const int32_t row = channelCursor_ - firstChannel_;
    if (row < 0 || row >= kVisibleRows)
        return;
    const TesselChannel& channel = song->channels[static_cast<size_t>(channelCursor_)];
    const int32_t before = panning ? channel.panning : channel.volume;
    TesselSlider& slider = rowSlider(row, panning);
    slider.value = before;
    const int32_t after = *slider.onKey(key);
    if (after == before)
        return;
    if (panning)
        storeChannelPanning(owner(), song, channelCursor_, after);
    else
        storeChannelVolume(owner(), song, channelCursor_, after);
}

void TesselOrderListUI::orderKey(const TesselKeyEvent& key)
{
    const uint8_t mods = key.modifiers;
    const bool normalMode = !pitchMode();
    switch (key.virtualKey) {
    case kVkBack: setValueAtCursor(kOrderEmpty); break;
    case kVkEnd: endKey(); break;
    case kVkHome: homeKey(); break;
    case kVkLeft: --digit_; break;
    case kVkRight: ++digit_; break;
    case kVkUp: --orderCursor_; break;
    case kVkDown: ++orderCursor_; break;
    case kVkPageUp: orderCursor_ -= kPageStep; break;
    case kVkPageDown: orderCursor_ += kPageStep; break;
    case kVkInsert: {
        const int32_t at = orderCursor_;
        editOrders([at](TesselOrderList& orders) { insertOrderEntry(orders, at); });
        break;
    }
    case kVkDelete: {
        const int32_t at = orderCursor_;
        if (!(mods & kModCtrl) && !entryAt(at).isEmpty())
            setValueAtCursor(kOrderEmpty);
        else
            editOrders([at](TesselOrderList& orders) { orders.removeAt(at); });
        break;
    }
    default:
        if (key.character == 'g' && mods == kModCtrl)
            editPattern();
        else if (key.character == 'n' && (mods & ~kModShift) == kModAlt)
            insertNextPattern((mods & kModShift) != 0);
        else if (key.character == 'r' && mods == kModAlt)
            askToRenumber();
        else if (key.character == 'd' && mods == kModCtrl)
            copyToEmptyPattern();
        else if (!typedCharacter(key, '!'))
            break;
        else if (key.printable == '+' || key.printable == '=') {
            // Markers belong to the song's order; pitch entries hold patterns only.
            if (normalMode)
                setValueAtCursor(key.printable == '+' ? kOrderSkip : kOrderEnd);
        } else if (key.printable == '-' || key.printable == '.')
            setValueAtCursor(kOrderEmpty);
        else
            typeCharacter(key.printable);
        break;
    }
    clampCursor();
}

void TesselOrderListUI::endKey()
{
    const int32_t lastVisible = firstOrder_ + kVisibleRows - 1;
    const int32_t count = song->orderList.length;
    const int32_t nearer = std::min(lastVisible, count);
    const int32_t farther = std::max(lastVisible, count);
    if (orderCursor_ < nearer)
        orderCursor_ = nearer;
    else if (orderCursor_ < farther)
        orderCursor_ = farther;
    else
        orderCursor_ = kOrderEntries - 1;
}

void TesselOrderListUI::homeKey()
{
    if (orderCursor_ != firstOrder_) {
        orderCursor_ = firstOrder_;
        return;
    }
    orderCursor_ = 0;
    firstOrder_ = 0;
}

void TesselOrderListUI::typeCharacter(uint8_t character)
{
    char text[4];
    cellEditText(orderCursor_, text);
    text[digit_] = static_cast<char>(character);
    if (!setValueAtCursor(findPatternByLabel(*song, text, 3, digit_)))
        return;
    if (++digit_ > 2) {
        digit_ = 0;
        ++orderCursor_;
    }
}
