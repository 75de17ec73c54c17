#include "patterneditor/overview/overview_ui.h"

#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "patterneditor/grid/grid_colours.h"
#include "patterneditor/grid/pattern_grid.h"
#include "patterneditor/overview/overview_map.h"
#include "patterneditor/pattern_editor_link.h"
#include "platform/key_event.h"

#include <algorithm>

namespace {

// The play line runs across the whole map.
constexpr int32_t kPlayLineLeft = 8;
constexpr int32_t kPlayLineRight = TesselOverviewUI::kMapLeft + kOverviewMapWidth;
constexpr int32_t kLastChannelSlot = 64;

} // namespace

TesselOverviewUI::TesselOverviewUI(TesselEditorServices* editor)
    : TesselUI(CRect(), 0, nullptr, editor, kClassId)
{
    auto* skin = new CBitmap(kBackgroundBitmap);
    setBackground(skin);
    setViewSize(CRect(kLeft, kTop, kLeft + skin->getWidth(), kTop + skin->getHeight()));
    initialSize = size;
    skin->forget();
    std::array<CColor, kOverviewColourCount> table{};
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = control_skin::fromPalette(overviewPalette()[i]);
    map_ = new CBitmap2(4, kOverviewMapWidth, kOverviewMapHeight, table.data());
}

TesselOverviewUI::~TesselOverviewUI()
{
    map_->forget();
}

void TesselOverviewUI::attach(TesselPatternUI& grid, const TesselPatternEditorLink& link)
{
    grid_ = &grid;
    link_ = &link;
}

void TesselOverviewUI::drawPatternMap()
{
    if (grid_)
        renderPatternMap(map_->image(), *grid_);
}

void TesselOverviewUI::draw(CDrawContext* context)
{
    if (!context)
        return;
    if (background)
        background->draw(context, size);
    // Every draw: an edit, another pattern or a new selection never shows a stale map.
    drawPatternMap();
    const CRect mapArea(size.left + kMapLeft, size.top + kMapTop, size.left + kMapLeft + kOverviewMapWidth,
                        size.top + kMapTop + kOverviewMapHeight);
    map_->draw(context, mapArea);

    const int32_t playLine = playLineY();
    if (playLine >= 0) {
        context->setLineStyle(kLineSolid);
        context->setLineWidth(1);
        context->setFrameColor(control_skin::fromPalette(gridColour(kColourPlayLine)));
        context->moveTo(CPoint(size.left + kPlayLineLeft, size.top + playLine));
        context->lineTo(CPoint(size.left + kPlayLineRight, size.top + playLine));
    }
    if (grid_ && grid_->pattern()) {
        CRect frame = viewFrame();
        frame.offset(size.left, size.top);
        context->setLineStyle(kLineSolid);
        context->setLineWidth(1);
        context->setFrameColor(control_skin::fromPalette(overviewPalette()[kOverviewFrame]));
        context->drawRect(frame);
    }
    TesselUI::draw(context);
    setDirty(false);
}

CRect TesselOverviewUI::viewFrame() const
{
    if (!grid_)
        return CRect();
    const TesselPatternView& view = grid_->view;
    const int32_t first = view.firstChannel;
    const int32_t last = first + view.visibleChannels >= kLastChannelSlot + 2 ? kLastChannelSlot
                                                                            : first + view.visibleChannels - 1;
    const int32_t bottom = std::min(view.firstRow + view.visibleRows, kOverviewMapHeight);
    const int32_t top = view.firstRow < 0 ? kMapTop - 1 : view.firstRow + kMapTop - 1;
    return CRect(first * kOverviewChannelWidth + kMapLeft - 1, top, last * kOverviewChannelWidth + kMapLeft - 1,
                 bottom + kMapTop);
}

int32_t TesselOverviewUI::playLineY() const
{
    if (!grid_ || !link_ || !grid_->pattern() || !engine || engine->transport < kPlayingSong)
        return -1;
    int32_t order = -1;
    int32_t pattern = -1;
    int32_t row = -1;
    link_->playingPosition(order, pattern, row);
    if (pattern != grid_->pattern()->index || row < 0 || row >= kOverviewMapHeight)
        return -1;
    return row + kMapTop;
}

bool TesselOverviewUI::keepsOpen(const TesselKeyEvent& key)
{
    switch (key.virtualKey) {
    case kVkEnd:
    case kVkHome:
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
    case kVkPageUp:
    case kVkPageDown:
    case kVkAdd:
    case kVkSubtract:
    case kVkTab:
    case kVkShift:
    case kVkControl:
    case kVkAlt:
        return true;
    default:
        return key.modifiers == kModCtrl && (key.character == 'c' || key.character == 'C');
    }
}

int32_t TesselOverviewUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (!keepsOpen(key))
        shown = false;
    setDirty();
    return 0;
}

int32_t TesselOverviewUI::onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons)
{
    // The base handler calls back here for a click inside the panel: nothing
    // more to do, the panel has no controls.
    if (inMouse_)
        return 0;
    inMouse_ = true;
    CPoint where(size.left + x, size.top + y);
    mouse(context, where, buttons);
    inMouse_ = false;
    // The page passes on presses, and releases only while a drag runs: the
    // next press is a fresh one.
    if (!dragging)
        lastButtons = 0;
    return 0;
}
