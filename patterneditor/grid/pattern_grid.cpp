// The grid's pattern, its cached cell texts, row highlights, selection marks
// and font.
#include "patterneditor/grid/pattern_grid.h"

#include "engine/engine.h"
#include "model/song/blanks.h"
#include "model/song/module.h"
#include "patterneditor/menus/amplify_prompt.h"
#include "patterneditor/grid/subrow_counts.h"
#include "platform/graphics/glyph_run.h"
#include "platform/graphics/font_catalog.h"
#include "shell/preferences.h"

#include <algorithm>

namespace {

size_t cellIndex(int channel, int row)
{
    return size_t(channel) * TesselPatternUI::kRowsCap + size_t(row);
}

bool insideGrid(int channel, int row, int channels)
{
    return channel >= 0 && channel < channels && row >= 0 && row < TesselPatternUI::kRowsCap;
}

} // namespace

bool TesselPatternView::sameView(const TesselPatternView& o) const
{
    return firstChannel == o.firstChannel && firstRow == o.firstRow && cursorChannel == o.cursorChannel &&
           cursorColumn == o.cursorColumn && cursorRow == o.cursorRow && cursorSubrow == o.cursorSubrow &&
           lastEntered.sameData(o.lastEntered) && copyInstrument == o.copyInstrument && copyVolume == o.copyVolume &&
           copyLetter == o.copyLetter && copyParameter == o.copyParameter && cursorIncrement == o.cursorIncrement &&
           centralised == o.centralised && volumeMode == o.volumeMode && visibleChannels == o.visibleChannels &&
           visibleRows == o.visibleRows && majorStep == o.majorStep && minorStep == o.minorStep &&
           instrumentLabels == o.instrumentLabels && zoomed == o.zoomed;
}

TesselPatternUI::TesselPatternUI(TesselModule& song, TesselEngine* engine, int channels)
    : song_(song), engine_(engine), channels_(std::clamp(channels, 1, kChannels))
{
    texts_.assign(size_t(channels_) * kRowsCap, emptyCellText());
    textDirty_.assign(texts_.size(), 1);
    marks_.assign(texts_.size(), 0);
    view.majorStep = patternDefaults().majorStep;
    view.minorStep = patternDefaults().minorStep;
    view.copyInstrument = 1;   // notes take the current instrument until the mark is cleared
    host_ = &defaultHost_;
    if (engine_)
        selection.speeds = editorSubrowCounts(*engine_);
}

TesselPatternUI::~TesselPatternUI() = default;

void TesselPatternUI::setPattern(TesselPattern* pattern, TesselGridHost* host, int x, int y, int width, int height)
{
    pattern_ = pattern;
    host_ = host ? host : &defaultHost_;
    area_ = platform::rectOfSize(x, y, width, height);
    if (pattern_) {
        view.majorStep = pattern_->majorStep;
        view.minorStep = pattern_->minorStep;
        setHighlights(pattern_->majorStep, pattern_->minorStep);
    }
    markAllDirty();
    rebuildLines();
}

int TesselPatternUI::patternLength() const
{
    return pattern_ ? std::clamp(pattern_->length(), 0, kRowsCap) : 0;
}

TesselCellFormat TesselPatternUI::cellFormat() const
{
    return {view.volumeMode, view.instrumentLabels != 0, song_.instruments};
}

void TesselPatternUI::formatCell(char* text, const TesselSubrowData& cell) const
{
    if (!isSingleTrack()) {
        formatCellText(text, cell, cellFormat());
        return;
    }
    // A key map row's sample field carries its source key in the high byte.
    TesselSubrowData shown = cell;
    shown.instrument = static_cast<int16_t>(cell.instrument & 0xFF);
    formatCellText(text, shown, cellFormat());
}

const TesselCellText& TesselPatternUI::cellText(int channel, int row)
{
    if (!insideGrid(channel, row, channels_))
        return emptyCellText();
    const size_t i = cellIndex(channel, row);
    if (textDirty_[i]) {
        TesselCellText& text = texts_[i];
        text[0] = ' ';
        formatCell(text.data(), cellOrBlank(channel, row, 0));
        textDirty_[i] = 0;
    }
    return texts_[i];
}

void TesselPatternUI::formatCells()
{
    const int length = patternLength();
    const int last = std::min(view.firstRow + view.visibleRows, length - 1);
    for (int c = 0; c < channels_; ++c)
        for (int r = std::max(view.firstRow, 0); r <= last; ++r)
            cellText(c, r);
}

void TesselPatternUI::markChannelDirty(int channel)
{
    if (channel < 0) {
        std::fill(textDirty_.begin(), textDirty_.end(), 1);
        picture_.forget();
        return;
    }
    if (channel < channels_)
        std::fill_n(textDirty_.begin() + std::ptrdiff_t(cellIndex(channel, 0)), kRowsCap, 1);
}

void TesselPatternUI::markCellDirty(int channel, int row)
{
    if (insideGrid(channel, row, channels_))
        textDirty_[cellIndex(channel, row)] = 1;
}

void TesselPatternUI::setHighlights(int majorStep, int minorStep)
{
    if (majorStep == highlightMajor_ && minorStep == highlightMinor_)
        return;
    highlightMajor_ = majorStep;
    highlightMinor_ = minorStep;
    highlights_.fill(0);
    // Steps below 1 mark nothing; major rows win over minor ones.
    if (minorStep > 0)
        for (int r = 0; r < kRowsCap; r += minorStep)
            highlights_[size_t(r)] = 2;
    if (majorStep > 0)
        for (int r = 0; r < kRowsCap; r += majorStep)
            highlights_[size_t(r)] = 1;
}

uint8_t TesselPatternUI::highlightOf(int row) const
{
    return row >= 0 && row < kRowsCap ? highlights_[size_t(row)] : 0;
}

bool TesselPatternUI::updateSelectionMarks()
{
    if (!pattern_ || selection.sameRegion(marked_))
        return false;
    const auto paint = [this](const TesselSelection& region, uint8_t mark) {
        if (!region.active)
            return;
        const int lastChannel = std::min<int>(region.end.channel, channels_ - 1);
        const int lastRow = std::min<int>(region.end.row, kRowsCap - 1);
        for (int c = std::max<int>(region.start.channel, 0); c <= lastChannel; ++c)
            for (int r = std::max<int>(region.start.row, 0); r <= lastRow; ++r)
                marks_[cellIndex(c, r)] = mark;
    };
    paint(marked_, 0);
    paint(selection, kMarkAllFields);
    marked_ = selection;
    return true;
}

uint8_t TesselPatternUI::selectionMark(int channel, int row) const
{
    return insideGrid(channel, row, channels_) ? marks_[cellIndex(channel, row)] : 0;
}

void TesselPatternUI::setFont(const TesselFontRecord* description)
{
    if (font_ || !description)
        return;
    setGridFont(platform::FontCatalog::process().open(gridFontRequest(*description)));
}

void TesselPatternUI::setGridFont(std::shared_ptr<const platform::Font> font)
{
    font_ = std::move(font);
    if (!font_)
        return;
    metrics_ = TesselFontMetrics::measure(*font_);
    view.channelWidth = metrics_.cellWidth;
    view.rowHeight = std::max(metrics_.rowHeight, 1);
    view.characterWidth = metrics_.characterWidth;
    layoutAgain();
}
