#include "patterneditor/grid/font_metrics.h"

#include "engine/random.h"
#include "shell/preferences.h"

#include <cstring>
#include <string>

namespace {

TesselColumnTable runningPositions(std::array<int32_t, kCellColumns> widths)
{
    TesselColumnTable table;
    table.widths = widths;
    for (int i = 1; i < kCellColumns; ++i)
        table.positions[i] = table.positions[i - 1] + widths[i - 1];
    return table;
}

} // namespace

TesselFontMetrics TesselFontMetrics::measure(const platform::Font& font)
{
    TesselFontMetrics m;
    m.cellWidth = font.measure("G#00000000W00") + 8;
    m.rowHeight = font.metrics().height;
    m.characterWidth = font.metrics().averageCharWidth;
    const int32_t zero = font.advance('0');
    std::array<int32_t, kCellColumns> widths{8, font.advance('G'), font.advance('#')};
    for (int i = 3; i < 11; ++i)
        widths[i] = zero;
    widths[11] = font.advance('W');
    widths[12] = zero;
    widths[13] = zero;
    widths[14] = font.metrics().averageCharWidth;
    m.own = runningPositions(widths);
    widths[0] = 10;
    widths[2] -= 1;
    widths[4] -= 1;
    m.further = runningPositions(widths);
    return m;
}

platform::FontRequest gridFontRequest(const TesselFontRecord& description)
{
    platform::FontRequest request;
    request.face = std::string(description.faceName, strnlen(description.faceName, sizeof description.faceName));
    request.height = -mulDiv(description.height, 96, 72);
    request.width = description.width;
    request.weight = description.weight;
    request.italic = description.italic != 0;
    request.underline = description.underline != 0;
    request.strikeOut = description.strikeOut != 0;
    return request;
}

void settlePatternFontWidth(TesselFontRecord& description, int16_t fontWidth)
{
    if (fontWidth != -1)
        description.width = fontWidth;
    else
        description.width = std::strncmp(description.faceName, "Quorbel", sizeof description.faceName) == 0
                                ? description.height
                                : 0;
}
