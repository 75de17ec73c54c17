#pragma once
// The grid's visible cells, kept drawn between draws: one slot per visible
// line and channel, each remembering what it shows. A draw paints only the
// slots whose wanted state differs; a scroll moves the pixels and the slots
// it keeps, so that only the lines that came into view are painted.

#include "patterneditor/grid/cell_text.h"
#include "patterneditor/grid/grid_bitmap.h"
#include "platform/graphics/canvas.h"

#include <cstdint>
#include <vector>

enum TesselSlotKind : uint8_t {
    kSlotUndrawn = 0,
    kSlotCell = 1,
    kSlotBlank = 2,       // a row outside the pattern with nothing to show
    kSlotSongRow = 3,     // a song row around the pattern, from a song strip
    kSlotNoChannel = 4,   // right of the last channel
};

struct TesselGridSlot {
    TesselCellText text{};
    uint8_t kind = kSlotUndrawn;
    uint8_t background = 0;   // colour entries
    uint8_t ink = 0;
    uint8_t further = 0;      // a further subrow: its own column positions
    int8_t cursor = -1;       // text position under the cursor block; -1 none
    uint8_t strip = 0;        // song rows: which strip, line and fill
    int16_t stripLine = 0;
    uint32_t stripGeneration = 0;

    bool operator==(const TesselGridSlot&) const = default;
};

class TesselGridPicture {
public:
    // lines x channels slots of cellWidth x rowHeight pixels; any change of
    // size forgets what was drawn.
    void prepare(int lines, int channels, int cellWidth, int rowHeight);
    // The view moved by whole lines and channels (positive: later ones are
    // now first): pixels and slots that stay in view move with it.
    void scroll(int lineDelta, int channelDelta);
    // Every slot is painted again on the next draw.
    void forget();
    void release();

    bool ready() const { return bitmap_ != nullptr; }
    CBitmap2* bitmap() const { return bitmap_.get(); }
    platform::Image& image() { return bitmap_->image(); }
    int lines() const { return lines_; }
    int channels() const { return channels_; }
    int cellWidth() const { return cellWidth_; }
    int rowHeight() const { return rowHeight_; }
    TesselGridSlot& slot(int line, int channel) { return slots_[size_t(line) * size_t(channels_) + size_t(channel)]; }
    platform::Rect slotRect(int line, int channel) const
    {
        return platform::rectOfSize(channel * cellWidth_, line * rowHeight_, cellWidth_, rowHeight_);
    }

    // What the slots show: the view's first row and channel when drawn.
    int32_t firstRow = 0;
    int32_t firstChannel = 0;
    bool zoomed = false;

private:
    TesselBitmapHolder bitmap_;
    std::vector<TesselGridSlot> slots_;
    int lines_ = 0;
    int channels_ = 0;
    int cellWidth_ = 0;
    int rowHeight_ = 0;
};
