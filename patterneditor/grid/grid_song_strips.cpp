// The song rows before and after the pattern, for a centralised view whose
// rows reach past the pattern's ends.
#include "patterneditor/grid/pattern_grid.h"

#include "engine/engine.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/glyph_run.h"

#include <algorithm>

namespace {

// Strip t's line k shows entry starts[t] + k of the song's timing list.
void writeStripLines(TesselPatternUI& grid, const TesselPlaylist& list, int start, int lines, platform::GlyphRun& run,
                     bool& filled)
{
    const TesselModule& song = grid.song();
    const TesselColumnTable& table = grid.metrics().own;
    for (int k = 0; k < lines; ++k) {
        const int e = start + k;
        if (e < 0 || e >= list.count)
            continue;
        const TesselPlaylistEntry& entry = list.entries()[e];
        if (entry.order < 0 || entry.order >= kOrderEntries)
            continue;
        const int number = song.orderList.entries[size_t(entry.order)].pattern;
        if (number < 0 || number >= kPatterns)
            continue;
        const TesselPattern& pattern = song.patterns[size_t(number)];
        if (entry.row >= pattern.length())
            break;
        for (int l = 0; l < grid.channelsShown(); ++l) {
            const TesselTrack* track = pattern.tracks.trackAt(l);
            const TesselRow& row = track ? track->rowOrBlank(entry.row) : TesselRow::blank();
            TesselCellText text{};
            grid.formatCell(text.data(), row);
            for (int p = 1; p < kCellTextLength; ++p)
                if (text[size_t(p)] != ' ')
                    run.add(*grid.gridFont(), static_cast<unsigned char>(text[size_t(p)]),
                            {l * grid.view.channelWidth + table.positions[size_t(p)], k * grid.view.rowHeight});
        }
        filled = true;
    }
}

} // namespace

void TesselPatternUI::fillSongStrips(int orderPosition)
{
    TesselSongStrips& strips = songStrips_;
    strips.position = orderPosition;
    ++strips.generation;
    strips.filled[0] = strips.filled[1] = false;
    if (!font_ || !pattern_ || view.channelWidth <= 0 || view.rowHeight <= 0 || song_.orderList.inPitchMode())
        return;
    strips.halfRows = view.visibleRows / 2;
    strips.patternLength = patternLength();
    const int width = channels_ * view.channelWidth;
    const int height = strips.lines() * view.rowHeight;
    // Strips are large (every channel by every visible line): a new one is
    // made in the blank rows' colour at once, an old one cleared to it.
    for (TesselBitmapHolder& strip : strips.bitmaps) {
        if (!hasSize(strip, width, height))
            strip = makeGridBitmap(width, height, gridColour(kColourPlainRow));
        else
            platform::Canvas(strip->image()).fillRect(strip->image().bounds(), gridColour(kColourPlainRow));
    }
    // Only order table 0 is consulted, and only when it holds this pattern there.
    if (!engine_ || orderPosition < 0 || orderPosition >= kOrderEntries ||
        song_.orderList.entries[size_t(orderPosition)].pattern != pattern_->index)
        return;
    const TesselPlaylist& list = engine_->songTiming;
    const int found = list.find(orderPosition, 0);
    if (found < 0)
        return;
    const int before = found - strips.halfRows - 1;
    const int starts[2] = {before, list.endOfRun(orderPosition, std::max(before, 0))};
    for (int t = 0; t < 2; ++t) {
        platform::GlyphRun run;
        writeStripLines(*this, list, starts[t], strips.lines(), run, strips.filled[t]);
        if (!strips.bitmaps[t])
            continue;
        COffscreenContext paint(nullptr, strips.bitmaps[t].get(), true);
        run.draw(*paint.platformCanvas(), *font_, gridColour(kColourMarkedInk));
    }
}
