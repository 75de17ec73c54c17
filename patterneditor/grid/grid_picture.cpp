#include "patterneditor/grid/grid_picture.h"

#include <algorithm>
#include <cstdlib>

void TesselGridPicture::prepare(int lines, int channels, int cellWidth, int rowHeight)
{
    lines = std::max(lines, 1);
    channels = std::max(channels, 1);
    if (ready() && lines == lines_ && channels == channels_ && cellWidth == cellWidth_ && rowHeight == rowHeight_)
        return;
    lines_ = lines;
    channels_ = channels;
    cellWidth_ = cellWidth;
    rowHeight_ = rowHeight;
    bitmap_ = makeGridBitmap(channels * cellWidth, lines * rowHeight, {});
    slots_.assign(size_t(lines) * size_t(channels), TesselGridSlot{});
}

void TesselGridPicture::scroll(int lineDelta, int channelDelta)
{
    if (lineDelta == 0 && channelDelta == 0)
        return;
    if (!ready() || image().empty() || std::abs(lineDelta) >= lines_ || std::abs(channelDelta) >= channels_) {
        forget();
        return;
    }
    // Pixels: the kept block moves to its new place in one copy.
    const int keptLines = lines_ - std::abs(lineDelta);
    const int keptChannels = channels_ - std::abs(channelDelta);
    const int fromLine = std::max(lineDelta, 0);
    const int toLine = std::max(-lineDelta, 0);
    const int fromChannel = std::max(channelDelta, 0);
    const int toChannel = std::max(-channelDelta, 0);
    platform::Canvas canvas(image());
    canvas.copy(image(),
                platform::rectOfSize(toChannel * cellWidth_, toLine * rowHeight_, keptChannels * cellWidth_,
                                     keptLines * rowHeight_),
                {fromChannel * cellWidth_, fromLine * rowHeight_});

    std::vector<TesselGridSlot> moved(slots_.size());
    for (int l = 0; l < keptLines; ++l)
        for (int c = 0; c < keptChannels; ++c)
            moved[size_t(toLine + l) * size_t(channels_) + size_t(toChannel + c)] =
                slots_[size_t(fromLine + l) * size_t(channels_) + size_t(fromChannel + c)];
    slots_.swap(moved);
}

void TesselGridPicture::forget()
{
    std::fill(slots_.begin(), slots_.end(), TesselGridSlot{});
}

void TesselGridPicture::release()
{
    bitmap_.reset();
    slots_.clear();
    lines_ = channels_ = cellWidth_ = rowHeight_ = 0;
}
