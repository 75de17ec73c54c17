#include "patterneditor/grid/track_grid.h"

#include "model/song/pattern.h"
#include "patterneditor/grid/grid_colours.h"
#include "platform/graphics/font_catalog.h"
#include "platform/graphics/text.h"
#include "resources/palette.h"

#include <algorithm>

namespace {

// The five fields of a cell: text positions, and the selection-mark bit
// that tells whether the field is selected.
struct Field {
    int first;
    int count;
    uint8_t markBit;
};
constexpr Field kFields[5] = {{1, 4, 2}, {5, 2, 2}, {7, 4, 4}, {11, 1, 8}, {12, 2, 16}};

} // namespace

TesselTrackUI::TesselTrackUI(TesselModule& song, TesselEngine* engine, int rows)
    : TesselPatternUI(song, engine, 1), own_(std::make_unique<TesselPattern>())
{
    own_->index = -1;
    own_->setLength(std::clamp(rows, 1, kRowsCap));
    own_->tracks.getTrack(0);
    setPattern(own_.get(), nullptr, 0, 0, 0, 0);
}

TesselTrackUI::~TesselTrackUI() = default;

void TesselTrackUI::useKeyMapFont()
{
    platform::FontRequest request;
    request.face = "Quorbel";
    request.height = -8;
    request.width = 6;
    request.weight = 400;
    setGridFont(platform::FontCatalog::process().open(request));
    view.rowHeight = kKeyRowHeight;
    metrics_.rowHeight = kKeyRowHeight;
    layoutAgain();
}

void TesselTrackUI::layoutTrack(int left, int top, int right, int bottom)
{
    layoutGrid(left, top, right, bottom);
    view.visibleRows = std::max((bottom - top) / std::max(view.rowHeight, 1) + 1, 1);
    ensureCursorVisible();
}

uint8_t TesselTrackUI::dirtyFields(int row, const DrawnRow& want) const
{
    const DrawnRow& drawn = drawnRows_[size_t(row)];
    if (!drawn.drawn || drawn.colour != want.colour)
        return 0x1F;
    uint8_t dirty = 0;
    for (int f = 0; f < 5; ++f) {
        const Field& field = kFields[f];
        const bool textChanged = !std::equal(want.text.begin() + field.first,
                                             want.text.begin() + field.first + field.count,
                                             drawn.text.begin() + field.first);
        if (textChanged || ((want.mark ^ drawn.mark) & field.markBit))
            dirty = static_cast<uint8_t>(dirty | (1u << f));
    }
    return dirty;
}

void TesselTrackUI::drawTrack(CDrawContext* context)
{
    if (!pattern_ || !font_ || view.rowHeight <= 0 || !context)
        return;
    const int width = std::max(view.channelWidth - metrics_.own.positions[1], 1);
    const int height = kRowsCap * view.rowHeight;
    if (offscreen_ && (offscreen_->getFrame() != context->getFrame() || offscreen_->getWidth() != width ||
                       offscreen_->getHeight() != height))
        offscreen_.reset();
    if (!offscreen_) {
        const platform::Colour b = resources::palette::kBackground;
        offscreen_ = std::make_unique<COffscreenContext>(context->getFrame(), width, height, CColor{b.red, b.green, b.blue, 0});
        drawnRows_.fill(DrawnRow{});
    }
    platform::Canvas* paint = offscreen_->platformCanvas();
    if (!paint)
        return;
    updateSelectionMarks();
    const TesselColumnTable& table = metrics_.own;
    const int margin = table.positions[1];
    const int length = patternLength();
    const int last = std::min(view.firstRow + view.visibleRows, length - 1);

    // Pass 0 writes the unselected fields, pass 1 the selected ones.
    platform::Canvas& canvas = *paint;
    std::array<uint8_t, kRowsCap> dirty{};
    std::array<DrawnRow, kRowsCap> wanted{};
    for (int j = std::max(view.firstRow, 0); j <= last; ++j) {
        wanted[size_t(j)] = {cellText(0, j), highlightOf(j), selectionMark(0, j), true};
        dirty[size_t(j)] = dirtyFields(j, wanted[size_t(j)]);
    }
    for (int pass = 0; pass < 2; ++pass) {
        const platform::TextPaint paint{gridColour(pass == 0 ? kColourInk : kColourMarkedInk), true};
        for (int j = std::max(view.firstRow, 0); j <= last; ++j) {
            if (!dirty[size_t(j)])
                continue;
            const DrawnRow& want = wanted[size_t(j)];
            if (pass == 0 && dirty[size_t(j)] == 0x1F)
                canvas.fillRect(platform::rectOfSize(0, j * view.rowHeight, width, view.rowHeight),
                                gridColour(want.colour));
            platform::TextPaint fieldPaint = paint;
            fieldPaint.background = gridColour(want.colour);
            for (int f = 0; f < 5; ++f) {
                const Field& field = kFields[f];
                const bool selected = (want.mark & field.markBit) != 0;
                if (!(dirty[size_t(j)] & (1u << f)) || selected != (pass == 1))
                    continue;
                for (int p = field.first; p < field.first + field.count; ++p)
                    platform::drawText(canvas, *font_, std::string_view(&want.text[size_t(p)], 1),
                                       {table.positions[size_t(p)] - margin, j * view.rowHeight}, fieldPaint,
                                       table.widths[size_t(p)]);
            }
            if (pass == 1)
                drawnRows_[size_t(j)] = want;
        }
    }

    lines_.clear();
    for (int j = view.firstRow; j <= view.firstRow + view.visibleRows; ++j)
        lines_.push_back({j, 0, (j - view.firstRow) * view.rowHeight});

    const int bandTop = std::max(view.firstRow, 0) * view.rowHeight;
    const int bandHeight = std::min(area_.height(), height - bandTop);
    offscreen_->transfert(context,
                          CRect(area_.left, area_.top, area_.left + std::min(width, area_.width()), area_.top + bandHeight),
                          CPoint(0, bandTop));
}
