// The pattern grid of 64 channels in a 1920 x 1200 editor window, every
// cell holding a note, an instrument, a volume and an effect:
//  - GridAllCellsDirty: every cell formatted and painted again;
//  - GridOneRowScroll: the view moved by one row (the kept lines move, the
//    new one is painted);
//  - GridUnchanged: a draw with nothing changed;
//  - GridHeaders: the visible channel header strips copied;
//  - WindowCopy, the reference: one 1:1 copy of the whole window.
// The page's whole redraw must fit one 25 ms idle pass; the grid's share
// should be well under that.

#include "bench/window_copy_reference.h"
#include "gui/frame/frame.h"
#include "gui/offscreen_context.h"
#include "model/song/module.h"
#include "patterneditor/grid/pattern_grid.h"
#include "platform/system/folders.h"
#include "platform/graphics/font_catalog.h"
#include "shell/preferences.h"
#include "resources/product_font.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1200;

struct Rig {
    std::unique_ptr<TesselModule> song = std::make_unique<TesselModule>();
    TesselPatternUI grid{*song, nullptr};
    COffscreenContext window{static_cast<CFrame*>(nullptr), kWidth, kHeight};

    Rig()
    {
        static const std::string font =
            resources::registerProductFont(platform::FontCatalog::process(), platform::temporaryFolder());
        TesselPattern& pattern = song->patterns[0];
        pattern.setLength(256);
        for (int c = 0; c < kChannels; ++c)
            for (int r = 0; r < 256; ++r) {
                TesselRow& cell = pattern.tracks.getTrack(c).getRow(r);
                cell.pitch = int16_t((c + r) % 120);
                cell.instrument = int16_t(1 + (c + r) % 99);
                cell.volume = int16_t(r % 65);
                cell.effect.command = char('A' + r % 26);
                cell.effect.parameter = int16_t((c * 7 + r) & 0xFF);
            }
        grid.setPattern(&pattern, nullptr, 0, 0, kWidth, kHeight);
        TesselPreferences preferences;
        TesselFontRecord record = preferences.font;
        settlePatternFontWidth(record, preferences.fontWidth);
        grid.setFont(&record);
        grid.layoutGrid(0, 0, kWidth, kHeight);
        grid.moveCursorTo(9 * 3, 40);
        draw();
    }
    void draw()
    {
        const platform::Point origin = grid.gridOrigin();
        grid.drawCells(&window, origin.x, origin.y);
    }
};

void GridAllCellsDirty(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        rig.grid.markAllDirty();
        rig.draw();
    }
    state.counters["channels"] = rig.grid.view.visibleChannels;
    state.counters["rows"] = rig.grid.view.visibleRows;
}

void GridOneRowScroll(benchmark::State& state)
{
    Rig rig;
    float distance = 1.0f;
    for (auto _ : state) {
        rig.grid.scrollRows(0, 0, distance);
        distance = -distance;
        rig.draw();
    }
}

void GridUnchanged(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state)
        rig.draw();
}

void GridHeaders(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state)
        rig.grid.drawChannelHeaders(&rig.window, 23, 24);
}

void WindowCopy(benchmark::State& state)
{
    copyWholeWindow(state, kWidth, kHeight);
}

} // namespace

BENCHMARK(WindowCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(GridAllCellsDirty)->Unit(benchmark::kMillisecond);
BENCHMARK(GridOneRowScroll)->Unit(benchmark::kMillisecond);
BENCHMARK(GridUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(GridHeaders)->Unit(benchmark::kMillisecond);
