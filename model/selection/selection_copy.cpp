// Whole-row copies of a region to another place (clipboard copy and paste)
// and the exchange of a region with the block at the cursor.
#include "model/selection/clipboard.h"
#include "model/selection/selection_cells.h"
#include "platform/status_text.h"

namespace {

const char* const kPasteLimits = " WARNING: Pasted data exceeds limits of pattern.";

void writeRow(TesselRow& target, const TesselRow& source, int mode)
{
    switch (mode) {
    case kPasteOverwrite: target.assign(source); break;
    case kPasteFillGaps: target.mergeRow(source); break;
    case kPasteMix:
        if (target.isEmpty())   // a lone further subrow counts as content
            target.assign(source);
        break;
    default: break;
    }
}

bool overlaps(int firstA, int lastA, int firstB, int lastB)
{
    return firstA <= lastB && firstB <= lastA;
}

} // namespace

TesselGridPosition TesselSelection::copyRowsTo(TesselPattern& target, TesselGridPosition at, bool insert,
                                               int mode) const
{
    TesselGridPosition reached{at.channel, kColumnsPerChannel, at.row, 0};
    bool firstWritten = true;
    region::forEachChannel(*this, [&](TesselTrack& track, int channel) {
        const int t = at.channel + (channel - start.channel);
        if (t > kLastChannel) {
            platform::setStatusText(kPasteLimits);
            return;
        }
        if (t < 0)
            return;
        // Copies first: the source may lie in the target track, where the
        // writes and an insert's lost last row would change it under us.
        std::vector<TesselRow> sources;
        const std::vector<TesselRow*> rows = region::rowList(*this, track);
        sources.reserve(rows.size());
        for (const TesselRow* row : rows)
            sources.emplace_back(*row);

        TesselTrack& to = target.tracks.getTrack(t);
        const int n = static_cast<int>(sources.size());
        if (insert)
            to.insertRows({at.row, at.subrow}, n);
        std::vector<TesselSubrow*> targets;
        to.collectRows(targets, at.row, n);
        for (size_t i = 0; i < sources.size(); ++i) {
            if (i < targets.size())
                writeRow(static_cast<TesselRow&>(*targets[i]), sources[i], mode);
            else
                platform::setStatusText(kPasteLimits);
        }
        if (firstWritten)
            reached.row = static_cast<int16_t>(to.stepRows(targets, at.row));
        firstWritten = false;
        reached.channel = static_cast<int16_t>(t);
    });
    return reached;
}

bool TesselSelection::swapWith(TesselPattern& target, TesselGridPosition at)
{
    if (!active || !pattern)
        return false;
    const int width = end.channel - start.channel + 1;
    const int height = end.row - start.row + 1;
    const int cells = region::cellCount(*this, pattern->length());
    const TesselSpeedAtRow speed = region::speedIn(*this, target);
    // Overlap is judged on the block's rows and on the rows its cells
    // really cover: where rows show fewer subrows than the region's, the
    // same number of cells reaches further down, and the two lists must
    // never share a cell.
    const TesselCellPosition lastTarget = region::lastCellFrom(speed, target.length(), {at.row, at.subrow}, cells);
    if (&target == pattern && overlaps(start.channel, end.channel, at.channel, at.channel + width - 1) &&
        overlaps(start.row, end.row, at.row, std::max(lastTarget.row, at.row + height - 1))) {
        platform::setStatusText("Error: Swap regions overlap.");
        return false;
    }
    if (at.row < 0 || at.channel < 0 || at.row + height - 1 >= target.length() ||
        at.channel + width - 1 > kLastChannel) {
        platform::setStatusText("Error: Swap region outside of pattern.");
        return false;
    }
    TesselCellPosition reached{at.row, at.subrow};
    region::forEachChannel(*this, [&](TesselTrack& track, int channel) {
        const std::vector<TesselSubrow*> source = region::cellList(*this, track).cells;
        TesselTrack& other = target.tracks.getTrack(at.channel + (channel - start.channel));
        std::vector<TesselSubrow*> block;
        other.collectSubrows(block, at.row, at.subrow, static_cast<int>(source.size()), speed);
        for (size_t i = 0; i < source.size() && i < block.size(); ++i) {
            const TesselSubrowData held = *source[i];
            source[i]->assign(*block[i]);
            block[i]->assign(held);
        }
        region::tidyChannel(track, region::rowSpan(*this, track.length()));
        reached = other.stepCells(block, at.row, at.subrow, speed);
    });
    start.channel = at.channel;
    start.row = at.row;
    start.subrow = at.subrow;
    end.channel = static_cast<int16_t>(at.channel + width - 1);
    end.row = static_cast<int16_t>(reached.row);
    end.subrow = static_cast<int16_t>(reached.subrow);
    return true;
}

void TesselSelection::cutTo(TesselClipboard& clipboard)
{
    if (!active || !pattern)
        return;
    clipboard.copyFrom(*this);
    clear(kFieldCell, false);
}
