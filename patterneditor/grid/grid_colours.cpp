#include "patterneditor/grid/grid_colours.h"

#include "resources/palette.h"

const std::array<platform::Colour, kGridColourCount>& gridColours()
{
    using platform::rgb;
    namespace palette = resources::palette;
    static const std::array<platform::Colour, kGridColourCount> table = {
        rgb(16, 17, 20),           // plain row
        rgb(48, 52, 64),           // major step
        rgb(31, 34, 41),           // minor step
        palette::kHighlight,       // selection
        palette::kCursorBlock,     // cursor
        palette::kCursorInk,       // cursor ink
        rgb(88, 70, 30),           // playing row
        palette::kInkAmber,        // playing row underline
        palette::kPanel,           // guide face
        palette::kFrameLine,       // guide edge
        rgb(236, 196, 118),        // marked ink
        palette::kInkNormal,       // ink
        palette::kFrameLine,       // line
        palette::kInkWhite,        // guide ink
        palette::kInkMuted,        // muted ink
        palette::kBackground,
    };
    return table;
}
