// The cursor guide: its text, and the box composed offscreen and blended
// over the grid.
#include "patterneditor/grid/cursor_guide.h"

#include "engine/random.h"
#include "model/song/module.h"
#include "patterneditor/effect_table.h"
#include "patterneditor/grid/cell_text.h"
#include "patterneditor/grid/draw_target.h"
#include "patterneditor/grid/grid_colours.h"
#include "patterneditor/grid/pattern_grid.h"
#include "platform/graphics/text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kGuidePadding = 4;
constexpr uint8_t kDarkening = 16;
constexpr int kFullFade = 30;

std::string trimmed(const char* text, size_t size)
{
    std::string s(text, strnlen(text, size));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string twoDigits(int value)
{
    if (value < 0)
        return "--";
    char text[12];
    std::snprintf(text, sizeof text, "%.2d", std::min(value, 99));
    return text;
}

std::string instrumentText(const TesselModule& song, const TesselSubrowData& cell, bool keyMap)
{
    const int n = cell.instrument;
    const int slots = keyMap ? kSamples : kInstruments;
    if (n < 1 || n > slots)
        return "(no instrument)     ";
    const std::string name = keyMap ? trimmed(song.samples[size_t(n - 1)].name, kSampleNameLength)
                                    : trimmed(song.instruments[size_t(n - 1)].name, kInstrumentNameLength);
    std::string text = twoDigits(n) + (name.empty() ? " (unnamed instrument)" : " " + name);
    if (keyMap)
        return text;
    const TesselInstrument& instrument = song.instruments[size_t(n - 1)];
    if (instrument.midiOut)
        return text + " (MIDI)";
    const int sample = instrument.sampleForNote(cell);
    if (sample < 0 || sample >= kSamples || song.samples[size_t(sample)].bits == 0)
        text += " (--)";
    return text;
}

} // namespace

uint8_t cursorGuideAlpha(int fadeStep)
{
    const int t = std::clamp(fadeStep, 0, kFullFade);
    return static_cast<uint8_t>(mulDiv(t * t, 255, kFullFade * kFullFade));
}

std::vector<std::string> cursorGuideLines(const TesselModule& song, const TesselSubrowData& cell, int channel,
                                          const TesselEffectTable* effects, bool keyMap)
{
    TesselCellText text{};
    formatCellText(text.data(), cell, {});
    std::vector<std::string> lines;
    lines.push_back(std::string(text.data() + 1, 3) + " " + instrumentText(song, cell, keyMap));

    const int volume = cell.volume != -1 || keyMap ? cell.volume : song.cellVolume(cell, channel);
    const int panning = cell.panning != -1 || keyMap ? cell.panning : song.cellPanning(cell, channel);
    lines.push_back("Vol " + twoDigits(volume) + "  Pan " + twoDigits(panning));

    const std::string key = effectKey(cell.effect.command, cell.effect.parameter);
    const TesselEffectDescription* description = effects ? effects->find(key) : nullptr;
    lines.push_back(description ? key + " " + description->text : key);
    return lines;
}

void TesselPatternUI::drawCursorGuide(CDrawContext* context, int x, int y, const TesselSubrow& cell, int fadeStep)
{
    const TesselDrawTarget target(context);
    if (!font_ || !target.usable() || view.rowHeight <= 0)
        return;
    const std::vector<std::string> lines =
        cursorGuideLines(song_, cell, view.cursorChannel, effects_, isSingleTrack());
    size_t longest = 0;
    for (const std::string& line : lines)
        longest = std::max(longest, line.size());
    const int step = std::max(view.characterWidth, 1);
    const int width = int(longest) * step + 2 * kGuidePadding;
    const int height = int(lines.size()) * view.rowHeight + 2 * kGuidePadding;

    platform::Image box(width, height, gridColour(kColourGuideFace));
    {
        platform::Canvas canvas(box);
        const platform::Colour edge = gridColour(kColourGuideEdge);
        canvas.fillRect({0, 0, width, 1}, edge);
        canvas.fillRect({0, height - 1, width, height}, edge);
        canvas.fillRect({0, 0, 1, height}, edge);
        canvas.fillRect({width - 1, 0, width, height}, edge);
        for (size_t i = 0; i < lines.size(); ++i)
            platform::drawText(canvas, *font_, lines[i], {kGuidePadding, kGuidePadding + int(i) * view.rowHeight},
                               {gridColour(kColourGuideInk)}, step);
    }

    // Beside the cursor's channel, under its line; flipped left or up when
    // it would leave the grid.
    const int channelLeft = x + (view.cursorChannel - view.firstChannel) * view.channelWidth;
    const int gridRight = x + std::max(view.visibleChannels, 1) * view.channelWidth;
    const int gridBottom = y + view.visibleRows * view.rowHeight;
    int left = channelLeft + view.channelWidth + 2;
    if (left + width > gridRight)
        left = std::max(channelLeft - width - 2, x);
    int top = y + rowY(view.cursorRow, view.cursorSubrow, true);
    if (top + height > gridBottom)
        top = std::max(y + rowY(view.cursorRow, view.cursorSubrow, false) - height, y);

    const platform::Point at = target.shifted({left, top});
    const platform::Rect destination = platform::rectOfSize(at.x, at.y, width, height);
    platform::Canvas& canvas = *target.canvas;
    const platform::Image black(1, 1);
    canvas.blend(black, black.bounds(), destination, kDarkening);
    if (const uint8_t alpha = cursorGuideAlpha(fadeStep); alpha > 0)
        canvas.blend(box, box.bounds(), destination, alpha);
}
