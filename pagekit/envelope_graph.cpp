#include "pagekit/envelope_graph.h"

#include "gui/bitmap.h"
#include "gui/controls/control_skin.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "model/instrument/envelope.h"
#include "platform/key_event.h"
#include "platform/window.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kLeftButton = 1;
constexpr int32_t kControlButton = 16;
constexpr int32_t kMaxValue = 64;

// A 16-bit node value below 0 would wrap, and -1 means "keep" to moveNode.
int32_t clampValue(int32_t value)
{
    return std::clamp(value, 0, kMaxValue);
}

int32_t keyStep(const TesselKeyEvent& key)
{
    const bool control = key.modifiers & kModCtrl;
    const bool shift = key.modifiers & kModShift;
    if (control)
        return shift ? 100 : 1;
    return shift ? 10 : 0;
}

// A first node starts at the top for volume and in the middle for the others.
uint16_t firstValue(int32_t kind)
{
    return kind == 0 ? 64 : 32;
}

} // namespace

TesselEnvelopeGraph::TesselEnvelopeGraph(const CRect& rect, TesselEditorServices* editor)
    : TesselControl(kClassId), rect(rect), editor(editor),
      oneLaneLabel(new VSTGUI::CBitmap(resources::kEnvelopeLabelOneLane)),
      upperLaneLabel(new VSTGUI::CBitmap(resources::kEnvelopeLabelUpperLane)),
      lowerLaneLabel(new VSTGUI::CBitmap(resources::kEnvelopeLabelLowerLane)),
      secondLaneLabel(new VSTGUI::CBitmap(resources::kEnvelopeLabelSecondLane))
{
}

TesselEnvelopeGraph::~TesselEnvelopeGraph()
{
    for (VSTGUI::CBitmap* label : {oneLaneLabel, upperLaneLabel, lowerLaneLabel, secondLaneLabel})
        label->forget();
}

int32_t* TesselEnvelopeGraph::onKey(const TesselKeyEvent& /*key*/)
{
    return nullptr;
}

int32_t* TesselEnvelopeGraph::onMouse(int32_t /*buttons*/, const CPoint& /*point*/)
{
    return nullptr;
}

void TesselEnvelopeGraph::clampSelection(const TesselEnvelope& envelope)
{
    selection = std::min(selection, envelope.count() - 1);
    if (draggedNode >= envelope.count()) {
        dragging = false;
        draggedNode = -1;
    }
}

void TesselEnvelopeGraph::onEnvelopeKey(const TesselKeyEvent& key, TesselEnvelope& envelope, int32_t kind)
{
    if (key.keyUp)
        return;
    clampSelection(envelope);
    const int32_t count = envelope.count();
    if (selection < 0) {
        if (count > 0) {
            selection = 0;
        } else {
            if (key.virtualKey == kVkInsert && envelope.insertNode(0, firstValue(kind), 0) >= 0)
                selection = 0;
            return;
        }
    }
    const int32_t step = keyStep(key);
    const TesselEnvelopeNode& node = envelope.node(selection);
    const int32_t tick = node.tick;
    const int32_t value = node.value;
    const int32_t value2 = node.value2;
    const bool editSecond = kind == 1 && secondLaneShown;
    auto moveTo = [&](int32_t newTick, int32_t newValue, int32_t newValue2) {
        envelope.moveNode(selection, newTick, clampValue(newValue), clampValue(newValue2));
    };
    switch (key.virtualKey) {
    case kVkEnd: selection = count - 1; break;
    case kVkHome: selection = 0; break;
    case kVkLeft:
        if (step)
            moveTo(tick - step, value, value2);
        else if (selection > 0)
            --selection;
        break;
    case kVkRight:
        if (step)
            moveTo(tick + step, value, value2);
        else if (selection + 1 < count)
            ++selection;
        break;
    case kVkUp:
        if (step && editSecond)
            moveTo(tick, value, value2 - step);
        else if (step)
            moveTo(tick, value + step, value2);
        break;
    case kVkDown:
        if (step && editSecond)
            moveTo(tick, value, value2 + step);
        else if (step)
            moveTo(tick, value - step, value2);
        break;
    case kVkInsert: insertByKey(envelope, kind); break;
    case kVkDelete: {
        const int32_t doomed = selection;
        selection = doomed - 1;
        envelope.deleteNode(doomed);
        break;
    }
    default: break;
    }
}

void TesselEnvelopeGraph::insertByKey(TesselEnvelope& envelope, int32_t /*kind*/)
{
    const TesselEnvelopeNode& node = envelope.node(selection);
    int32_t tick = node.tick + 1;
    int32_t value = node.value;
    int32_t value2 = node.value2;
    if (selection + 1 < envelope.count()) {
        const TesselEnvelopeNode& next = envelope.node(selection + 1);
        tick = (node.tick + next.tick + 1) / 2;
        if (tick == node.tick)
            ++tick;
        // No free tick before the next node: inserting would overwrite it.
        if (tick >= next.tick)
            return;
        value = (node.value + next.value + 1) / 2;
        value2 = (node.value2 + next.value2 + 1) / 2;
    } else if (tick > kMaxEnvelopeTick) {
        return;
    }
    const int32_t index =
        envelope.insertNode(tick, static_cast<uint16_t>(clampValue(value)), static_cast<uint16_t>(clampValue(value2)));
    if (index >= 0)
        selection = index;
}

void TesselEnvelopeGraph::widenBy(int32_t pixels)
{
    const int64_t w = width();
    if (w <= 0)
        return;
    const int64_t widened = (w + pixels) * static_cast<int64_t>(zoomTicks) / w;
    zoomTicks = static_cast<uint32_t>(std::clamp<int64_t>(widened, kMinZoom, kMaxZoom));
}

void TesselEnvelopeGraph::zoom(float distance)
{
    if (tooSmall() || distance == 0.0f)
        return;
    widenBy(distance > 0.0f ? kZoomStep : -kZoomStep);
}

void TesselEnvelopeGraph::movePointerLeft(int32_t pixels)
{
    CFrame2* frame = editor ? editor->frame2() : nullptr;
    platform::Window* window = frame ? frame->getSystemWindow() : nullptr;
    if (!window || !window->alive())
        return;
    const int32_t scale = editor->doubleSize() ? 2 : 1;
    const platform::Point at = window->system().cursorPosition();
    window->system().warpPointer({at.x - pixels * scale, at.y});
}

int32_t TesselEnvelopeGraph::nearestNode(const TesselEnvelope& envelope, const CPoint& local, int32_t kind) const
{
    const int32_t lane = laneHeight(kind);
    const int32_t laneBottom = (lowerLane ? lane : 0) + lane - 1;
    int32_t best = -1;
    int32_t bestDistance = 0;
    for (int32_t i = 0; i < envelope.count(); ++i) {
        const TesselEnvelopeNode& node = envelope.node(i);
        const int32_t v = lowerLane ? node.value2 : node.value;
        const int32_t y = laneBottom - (lane - 2) * v / 64;
        const int32_t distance = std::abs(xOfTick(node.tick) - local.h) + std::abs(y - local.v);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void TesselEnvelopeGraph::startPress(const CPoint& point, int32_t tick, int32_t value, TesselEnvelope& envelope,
                                     int32_t kind, bool insert)
{
    int32_t node = -1;
    if (insert) {
        int32_t other = 0;
        if (kind == 3) {
            for (int32_t i = 0; i < envelope.count() && envelope.node(i).tick < tick; ++i)
                other = lowerLane ? envelope.node(i).value : envelope.node(i).value2;
            other = clampValue(other);
        }
        const auto v = static_cast<uint16_t>(value);
        const auto o = static_cast<uint16_t>(other);
        node = lowerLane ? envelope.insertNode(tick, o, v) : envelope.insertNode(tick, v, o);
    } else {
        node = nearestNode(envelope, CPoint(point.h - rect.left, point.v - rect.top), kind);
    }
    if (node < 0)
        return;
    dragging = true;
    draggedNode = node;
    selection = node;
    pressPoint = point;
    pointerMoved = false;
}

int32_t TesselEnvelopeGraph::onEnvelopeMouse(const CPoint& point, int32_t buttons, TesselEnvelope& envelope,
                                             int32_t kind)
{
    clampSelection(envelope);
    if (!hitTest(point) || !(buttons & kLeftButton) || tooSmall()) {
        dragging = false;
        return 0;
    }
    const int32_t w = width();
    const int32_t lane = laneHeight(kind);
    if (lane < 3) {
        dragging = false;
        return 0;
    }
    if (!dragging)
        lowerLane = kind == 3 && point.v >= rect.top + lane;
    const int32_t laneTop = rect.top + (lowerLane ? lane : 0);
    const auto tick = static_cast<int32_t>(static_cast<int64_t>(point.h - rect.left + 1) * zoomTicks / (w - 1));
    const int32_t value = clampValue(64 - (point.v - laneTop - 3) * 64 / (lane - 2));
    if (point.h > rect.right - kZoomStep) {
        widenBy(kZoomStep);
        movePointerLeft(kZoomStep);
    }
    if (!dragging) {
        startPress(point, tick, value, envelope, kind, (buttons & kControlButton) != 0);
    } else {
        pointerMoved = pointerMoved || !(point == pressPoint);
        if (pointerMoved)
            envelope.moveNode(draggedNode, tick, lowerLane ? -1 : value, lowerLane ? value : -1);
    }
    envelope.clampValues();
    return 1;
}
