// The order list page's mouse: the two scroll bars, clicks that place the
// order cursor (or pick a key in pitch mode) and clicks in the channel list.

#include "editor/core/channel_edits.h"
#include "editor/order_list/order_list_page.h"
#include "model/song/module.h"

#include <algorithm>

namespace {

constexpr int32_t kLeftButton = 1;
// The order column and the channel list, edges included.
constexpr CRect kOrderColumn{5, 47, 105, 414};
constexpr CRect kChannelArea{86, 47, 674, 414};
constexpr int32_t kSubColumnWidth = 20;
constexpr int32_t kDigitWidth = 6;
// Names: clicks from x 104 to 216 pick the character drawn under them.
constexpr int32_t kNameClickLeft = 104;
constexpr int32_t kNameClickRight = 216;
constexpr int32_t kColourClickLeft = 220;
constexpr int32_t kColourClickRight = 240;
// The white keys of the pitch mode's keyboard: 7 per 96 pixels (12 rows).
constexpr int32_t kWhiteKeyNotes[7] = {0, 2, 4, 5, 7, 9, 11};

} // namespace

int32_t TesselOrderListUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    if (!song)
        return 0;
    const CPoint point(x, y);
    if (orderBar_.trackMouse(point, buttons)) {
        firstOrder_ = std::clamp(orderBar_.getPosition(), 0, rowCount() - kVisibleRows);
        setDirty();
        return 0;
    }
    if (channelBar_.trackMouse(point, buttons)) {
        firstChannel_ = std::clamp(channelBar_.getPosition(), 0, kLastFirstChannel);
        setDirty();
        return 0;
    }
    if (!(buttons & kLeftButton))
        return 0;
    if (!freshPress) {
        // A held button drags the slider it pressed.
        if (area_ == kVolumeArea || area_ == kPanningArea)
            dragSlider(x, y, buttons);
        return 0;
    }
    if (point.isInside(kOrderColumn))
        clickOrderColumn(x, y);
    else if (point.isInside(kChannelArea))
        clickChannelList(x, y, buttons);
    setDirty();
    return 0;
}

void TesselOrderListUI::clickOrderColumn(int32_t x, int32_t y)
{
    area_ = kOrderArea;
    const bool pitch = pitchMode();
    if (pitch && x < 26) {
        // A key of the keyboard beside the pitch rows.
        const auto m = static_cast<int32_t>((y + 8 * firstOrder_ - kFirstRowY) * 7.0 / 96.0 + 0.0001);
        orderCursor_ = kWhiteKeyNotes[m % 7] + 12 * (m / 7);
        clampCursor();
        return;
    }
    if (x >= 7 && x > (pitch ? 85 : 25)) {
        const int32_t offset = x - kCellX;
        // One value per entry: a click beyond its cell lands on the last digit.
        digit_ = offset / kSubColumnWidth > 0 ? 2 : std::min(offset % kSubColumnWidth / kDigitWidth, 2);
    }
    orderCursor_ = (y - kFirstRowY) / kRowHeight + firstOrder_;
    clampCursor();
}

void TesselOrderListUI::clickChannelList(int32_t x, int32_t y, int32_t buttons)
{
    const int32_t row = (y - kFirstRowY) / kRowHeight;
    channelCursor_ = std::clamp(row + firstChannel_, 0, kChannels - 1);
    if (x >= kNameClickLeft && x <= kNameClickRight) {
        area_ = kNameArea;
        nameCursor_ = std::clamp((x - kNameX) / kDigitWidth, 0, kChannelNameLength - 1);
    } else if (x >= kColourClickLeft && x <= kColourClickRight) {
        area_ = kColourArea;
        storeChannelColour(owner(), song, channelCursor_, chooseChannelColour(channelCursor_));
    } else {
        for (const bool panning : {false, true})
            if (rowSlider(row, panning).hitTest(CPoint(x, y))) {
                area_ = panning ? kPanningArea : kVolumeArea;
                dragSlider(x, y, buttons);
            }
    }
    scrollChannels();
}

void TesselOrderListUI::dragSlider(int32_t x, int32_t y, int32_t buttons)
{
    const int32_t row = channelCursor_ - firstChannel_;
    if (row < 0 || row >= kVisibleRows)
        return;
    const bool panning = area_ == kPanningArea;
    TesselSlider& slider = rowSlider(row, panning);
    const TesselChannel& channel = song->channels[static_cast<size_t>(channelCursor_)];
    const int32_t before = panning ? channel.panning : channel.volume;
    slider.value = before;
    // Beside the track the value stays; a drag keeps its row.
    const CRect* track = slider.getRect();
    const int32_t value = *slider.onMouse(buttons, CPoint(x, std::clamp(y, track->top, track->bottom)));
    if (value == before)
        return;
    if (panning)
        storeChannelPanning(owner(), song, channelCursor_, value);
    else
        storeChannelVolume(owner(), song, channelCursor_, value);
}
