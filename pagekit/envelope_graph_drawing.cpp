// The envelope graph's face: the tick grid, the lane labels, the polyline
// with its node marks, and on the page the readout of the selected node and
// the bar that shows which share of the envelope is in view.
#include "pagekit/envelope_graph.h"

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "model/instrument/envelope.h"
#include "resources/palette.h"

#include <cmath>
#include <cstdio>

namespace {

using control_skin::fill;
using control_skin::kHighlight;
constexpr CColor kMajorGrid = control_skin::fromPalette(resources::palette::kFrameLine);

void line(VSTGUI::CDrawContext* context, CPoint from, CPoint to, const CColor& colour)
{
    context->setFrameColor(colour);
    context->moveTo(from);
    context->lineTo(to);
}

} // namespace

int32_t TesselEnvelopeGraph::xOfTick(int64_t tick) const
{
    const double exact = static_cast<double>(tick) * (width() - 1) / zoomTicks;
    return static_cast<int32_t>(std::lround(exact)) + 1;
}

void TesselEnvelopeGraph::drawEnvelope(VSTGUI::CDrawContext* context, TesselEnvelope& envelope, int32_t kind,
                                       bool focused)
{
    if (!context || rect.width() <= 0 || rect.height() <= 0)
        return;
    clampSelection(envelope);
    if (envelope.count() == 0)
        selection = -1;
    else if (selection < 0)
        selection = 0;
    if (!offscreen || offscreen->getWidth() != rect.width() || offscreen->getHeight() != rect.height())
        offscreen = std::make_unique<COffscreenContext>(context->getFrame(), rect.width(), rect.height(), kBackground);
    else
        fill(offscreen.get(), CRect(0, 0, rect.width(), rect.height()), kBackground);

    drawGrid(offscreen.get(), envelope);
    drawLabels(offscreen.get(), kind);
    drawNodes(offscreen.get(), envelope, kind, focused);
    drawReadout(context, envelope, kind);
    offscreen->transfert(context, rect);
    dirty = false;
    drawnFocus = focused;
}

void TesselEnvelopeGraph::drawGrid(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope)
{
    const int64_t step = envelope.enabled == TesselEnvelope::Milliseconds ? 100 : 10;
    const int32_t bottom = rect.height();
    for (int64_t tick = 0; tick <= zoomTicks; tick += step) {
        const int32_t x = xOfTick(tick);
        line(context, CPoint(x, 1), CPoint(x, bottom), tick % (step * 10) == 0 ? kMajorGrid : kMinorGrid);
    }
}

void TesselEnvelopeGraph::drawLabels(VSTGUI::CDrawContext* context, int32_t kind)
{
    auto place = [&](VSTGUI::CBitmap* label, int32_t top) {
        const int32_t left = rect.width() - label->getWidth() - 2;
        label->drawTransparent(context, CRect(left, top, left + label->getWidth(), top + label->getHeight()));
    };
    if (kind == 1)
        place(secondLaneShown ? secondLaneLabel : oneLaneLabel, 2);
    if (kind == 3) {
        place(upperLaneLabel, 2);
        place(lowerLaneLabel, laneHeight(kind) + 2);
    }
}

void TesselEnvelopeGraph::drawNodes(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope, int32_t kind,
                                    bool focused)
{
    const int32_t lane = laneHeight(kind);
    const int32_t lanes = kind == 3 ? 2 : 1;
    for (int32_t l = 0; l < lanes; ++l) {
        const int32_t laneBottom = l * lane + lane - 1;
        auto pointOf = [&](const TesselEnvelopeNode& node) {
            const int32_t v = l == 0 ? node.value : node.value2;
            return CPoint(xOfTick(node.tick), laneBottom - (lane - 2) * v / 64);
        };
        for (int32_t i = 1; i < envelope.count(); ++i)
            line(context, pointOf(envelope.node(i - 1)), pointOf(envelope.node(i)), kNodeColour);
        for (int32_t i = 0; i < envelope.count(); ++i) {
            const CPoint at = pointOf(envelope.node(i));
            fill(context, CRect(at.h - 1, at.v - 1, at.h + 2, at.v + 2), kNodeColour);
            if (focused && i == selection) {
                context->setFrameColor(kHighlight);
                context->drawRect(CRect(at.h - 3, at.v - 3, at.h + 3, at.v + 3));
            }
        }
    }
    if (focused && envelope.count() == 0) {
        context->setFrameColor(kHighlight);
        context->drawRect(CRect(0, 0, rect.width() - 1, rect.height() - 1));
    }
}

void TesselEnvelopeGraph::drawReadout(VSTGUI::CDrawContext* context, const TesselEnvelope& envelope, int32_t kind)
{
    TesselFont* font = controlFont(TesselControlFont::Normal, false);
    char index[16] = "--";
    char tick[16] = "-----";
    char value[24] = " --";
    if (selection >= 0) {
        const TesselEnvelopeNode& node = envelope.node(selection);
        std::snprintf(index, sizeof index, "%.2d", selection);
        std::snprintf(tick, sizeof tick, "%.5d", node.tick);
        if (kind == 3)
            std::snprintf(value, sizeof value, "%.2d,%.2d", node.value, node.value2);
        else
            std::snprintf(value, sizeof value, "%.2d   ", node.value);
    }
    drawBitmapText(context, index, kReadoutIndexX, kReadoutY, font);
    drawBitmapText(context, tick, kReadoutTickX, kReadoutY, font);
    drawBitmapText(context, value, kReadoutValueX, kReadoutY, font);

    const int32_t count = envelope.count();
    const int32_t lastTick = count > 0 ? envelope.node(count - 1).tick : 0;
    if (lastTick > 0 && zoomTicks < static_cast<uint32_t>(lastTick)) {
        const int32_t length = static_cast<int32_t>(static_cast<int64_t>(rect.width()) * zoomTicks / lastTick);
        fill(context, CRect(rect.left, kShareBarTop, rect.left + length, kShareBarBottom), kNodeColour);
    }
}
