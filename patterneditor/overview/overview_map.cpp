#include "patterneditor/overview/overview_map.h"

#include "model/song/pattern.h"
#include "patterneditor/grid/cell_text.h"
#include "patterneditor/grid/pattern_grid.h"
#include "platform/graphics/image.h"

#include <algorithm>

namespace {

using platform::rgb;

constexpr std::array<platform::Colour, kOverviewColourCount> kPalette = {
    rgb(14, 15, 18),    // plain row, background
    rgb(54, 60, 74),    // major row
    rgb(32, 35, 44),    // minor row
    rgb(34, 58, 92),    // selected plain
    rgb(64, 100, 146),  // selected major
    rgb(48, 80, 120),   // selected minor
    rgb(240, 240, 232), // note
    rgb(110, 208, 224), // instrument
    rgb(130, 210, 120), // volume column
    rgb(255, 190, 80),  // effect letter
    rgb(230, 120, 90),  // parameter
    rgb(200, 204, 214), // view frame
    rgb(96, 100, 112),  rgb(150, 72, 72), rgb(78, 82, 92), rgb(255, 255, 255),
};

// The five field pixels of a cell, lit or not.
std::array<bool, 5> litFields(const TesselSubrowData& cell, bool volumeColumnShowsPanning)
{
    const bool volumeColumn = volumeColumnShowsPanning ? (cell.panning != -1 || cell.depth != -1) : cell.volume != -1;
    return {cell.pitch != -1, cell.instrument != 0, volumeColumn, cell.effect.command != '.',
            cell.effect.parameter != 0};
}

bool inSelection(const TesselPatternUI& grid, int channel, int row)
{
    const TesselSelection& s = grid.selection;
    return s.active && s.pattern == grid.pattern() && grid.selectionMark(channel, row) != 0 &&
           channel >= s.start.channel && channel <= s.end.channel && row >= s.start.row && row <= s.end.row;
}

} // namespace

const std::array<platform::Colour, kOverviewColourCount>& overviewPalette()
{
    return kPalette;
}

void renderPatternMap(platform::Image& map, const TesselPatternUI& grid)
{
    if (map.empty())
        return;
    std::array<uint32_t, kOverviewColourCount> pixels{};
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = platform::toPixel(kPalette[i]);
    const int width = std::min(map.width(), kOverviewMapWidth);
    const int height = std::min(map.height(), kOverviewMapHeight);
    uint32_t* out = map.mutablePixels();
    const int stride = map.stride();
    // The whole image: the fill reaches past every edge.
    std::fill(out, out + size_t(stride) * size_t(map.height()), pixels[kOverviewPlainRow]);

    const TesselPattern* pattern = grid.pattern();
    if (!pattern)
        return;
    const bool panning = grid.view.volumeMode != kShowVolume;
    const int channels = std::min(kChannels, width / kOverviewChannelWidth);
    for (int channel = 0; channel < channels; ++channel) {
        const TesselTrack* track = pattern->tracks.trackAt(channel);
        if (!track)
            continue;
        // The track's rows may outlast the pattern's length for a moment.
        const int rows = std::min({track->length(), pattern->length(), height});
        for (int row = 0; row < rows; ++row) {
            const TesselRow* found = pattern->findRow(channel, row);
            const std::array<bool, 5> lit = litFields(found ? *found : TesselRow::blank(), panning);
            uint8_t background = std::min<uint8_t>(grid.highlightOf(row), kOverviewMinorRow);
            if (inSelection(grid, channel, row))
                background = static_cast<uint8_t>(background + kOverviewSelectedShift);
            uint32_t* line = out + size_t(row) * size_t(stride) + size_t(channel * kOverviewChannelWidth);
            for (size_t k = 0; k < lit.size(); ++k)
                line[k] = pixels[lit[k] ? kOverviewNote + k : background];
        }
    }
}
