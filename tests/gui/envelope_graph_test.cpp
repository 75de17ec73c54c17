// The envelope graph: keys, mouse and wheel edit an envelope through its
// node operations; the face is probed for grid lines, node marks, the
// readout and the share bar, and written to screenshots/ for a look.
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "pagekit/envelope_graph.h"
#include "gui/offscreen_context.h"
#include "model/instrument/envelope.h"
#include "platform/system/folders.h"
#include "platform/key_event.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using platform::rgb;

constexpr uint8_t kLeft = 11, kRight = 13, kHome = 10, kEnd = 9, kInsert = 21;
constexpr int32_t kLeftButton = 1, kCtrlButton = 16;
constexpr CRect kGraph{20, 30, 420, 230};   // W 400, H 200

TesselKeyEvent shifted(uint8_t key)
{
    return namedKey(key, kModShift);
}
TesselKeyEvent ctrl(uint8_t key)
{
    return namedKey(key, kModCtrl);
}

std::vector<std::pair<int, int>> nodesOf(const TesselEnvelope& e)
{
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < e.count(); ++i)
        out.emplace_back(e.node(i).tick, e.node(i).value);
    return out;
}

// The bytes the graph may change: count and nodes.
std::vector<uint8_t> bytesOf(const TesselEnvelope& e)
{
    std::vector<uint8_t> bytes(sizeof e.nodes + sizeof e.nodeCount);
    std::memcpy(bytes.data(), e.nodes.data(), sizeof e.nodes);
    std::memcpy(bytes.data() + sizeof e.nodes, &e.nodeCount, sizeof e.nodeCount);
    return bytes;
}

class EnvelopeGraphTest : public ::testing::Test {
protected:
    void key(TesselKeyEvent event, int32_t kind = 0) { graph.onEnvelopeKey(event, envelope, kind); }
    int32_t mouse(CPoint at, int32_t buttons, int32_t kind = 0)
    {
        return graph.onEnvelopeMouse(at, buttons, envelope, kind);
    }
    void nodes(std::initializer_list<std::pair<int, int>> list)
    {
        envelope.reset();
        for (const auto& [tick, value] : list)
            envelope.insertNode(tick, static_cast<uint16_t>(value), 0);
    }
    platform::Colour pixel(int32_t x, int32_t y) const { return page.getImage()->pixelAt(x, y); }

    TesselEnvelopeGraph graph{kGraph};
    TesselEnvelope envelope;
    COffscreenContext page{nullptr, 520, 300, kBlackCColor};
};

} // namespace

TEST_F(EnvelopeGraphTest, InsertOnAnEmptyEnvelopeStartsByKind)
{
    for (int32_t kind : {0, 1, 2, 3}) {
        envelope.reset();
        graph.setSelection(-1);
        key(namedKey(kVkDown, kModShift), kind);
        EXPECT_EQ(envelope.count(), 0) << "only Insert adds a first node";
        key(namedKey(kInsert), kind);
        ASSERT_EQ(envelope.count(), 1);
        EXPECT_EQ(envelope.node(0).tick, 0);
        EXPECT_EQ(envelope.node(0).value, kind == 0 ? 64 : 32) << "kind " << kind;
        EXPECT_EQ(graph.getSelection(), 0);
    }
}

TEST_F(EnvelopeGraphTest, KeysMoveSelectAndClampThroughTheNodeOperations)
{
    struct Step {
        TesselKeyEvent key;
        int32_t selection;
        std::vector<std::pair<int, int>> nodes;
    };
    nodes({{0, 5}, {20, 30}, {25, 60}});
    graph.setSelection(0);
    const Step steps[] = {
        {shifted(kVkDown), 0, {{0, 0}, {20, 30}, {25, 60}}},      // 5 - 10 stops at 0
        {ctrl(kLeft), 0, {{0, 0}, {20, 30}, {25, 60}}},           // node 0 keeps tick 0
        {namedKey(kRight), 1, {{0, 0}, {20, 30}, {25, 60}}},
        {shifted(kRight), 1, {{0, 0}, {20, 30}, {25, 60}}},       // 5 ticks before the next
        {ctrl(kRight), 1, {{0, 0}, {21, 30}, {25, 60}}},
        {namedKey(kVkUp, kModCtrl | kModShift), 1, {{0, 0}, {21, 64}, {25, 60}}},
        {namedKey(kEnd), 2, {{0, 0}, {21, 64}, {25, 60}}},
        {namedKey(kRight), 2, {{0, 0}, {21, 64}, {25, 60}}},      // none after the last
        {namedKey(kInsert), 3, {{0, 0}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kHome), 0, {{0, 0}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kInsert), 1, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kLeft), 0, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kLeft), 0, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kEnd), 4, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kLeft), 3, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},
        {namedKey(kInsert), 3, {{0, 0}, {11, 32}, {21, 64}, {25, 60}, {26, 60}}},   // no free tick
        {namedKey(kVkDelete), 2, {{0, 0}, {11, 32}, {21, 64}, {26, 60}}},
        {namedKey(kHome), 0, {{0, 0}, {11, 32}, {21, 64}, {26, 60}}},
        {namedKey(kVkDelete), -1, {{11, 32}, {21, 64}, {26, 60}}},
    };
    int n = 0;
    for (const Step& step : steps) {
        key(step.key);
        EXPECT_EQ(graph.getSelection(), step.selection) << "step " << n;
        EXPECT_EQ(nodesOf(envelope), step.nodes) << "step " << n;
        ++n;
    }
}

TEST_F(EnvelopeGraphTest, SecondValuesAndAnotherEnvelopeFromThePage)
{
    envelope.insertNode(0, 40, 60);
    graph.setSelection(0);
    graph.secondLaneShown = true;
    key(ctrl(kVkUp), 1);
    EXPECT_EQ(envelope.node(0).value2, 59) << "kind 1 with the second lane: Up lowers the second value";
    key(shifted(kVkDown), 1);
    EXPECT_EQ(envelope.node(0).value2, 64) << "and Down raises it, clamped";
    key(ctrl(kVkUp), 0);
    EXPECT_EQ(envelope.node(0).value, 41) << "other kinds edit the value";

    // The page passes a shorter envelope while the selection is on node 5.
    TesselEnvelope longer;
    for (int i = 0; i < 6; ++i)
        longer.insertNode(i * 10, 10, 0);
    graph.onEnvelopeKey(namedKey(kEnd), longer, 0);
    ASSERT_EQ(graph.getSelection(), 5);
    TesselEnvelope shorter;
    shorter.insertNode(0, 10, 0);
    shorter.insertNode(10, 10, 0);
    graph.onEnvelopeKey(ctrl(kVkUp), shorter, 0);
    EXPECT_EQ(graph.getSelection(), 1);
    EXPECT_EQ(shorter.node(1).value, 11);
}

TEST_F(EnvelopeGraphTest, ThirtyThirdNodeIsRefusedByKeyAndByCtrlClick)
{
    envelope.reset();
    for (int i = 0; i < kEnvelopeNodes; ++i)
        envelope.insertNode(i * 2, 10, 0);
    graph.setSelection(31);
    key(namedKey(kInsert));
    EXPECT_EQ(envelope.count(), kEnvelopeNodes);
    graph.setSelection(4);
    const std::vector<uint8_t> before = bytesOf(envelope);
    EXPECT_EQ(mouse(CPoint(300, 100), kLeftButton | kCtrlButton), 1);
    EXPECT_EQ(bytesOf(envelope), before);
    EXPECT_EQ(graph.getSelection(), 4) << "a refused insert keeps the selection";
    EXPECT_FALSE(graph.isDragging()) << "and starts no drag";
    mouse(CPoint(310, 110), kLeftButton | kCtrlButton);
    EXPECT_EQ(bytesOf(envelope), before);
}

TEST_F(EnvelopeGraphTest, PressPicksTheNearestNodeAndMovesItOnlyOnceThePointerMoves)
{
    nodes({{0, 32}, {50, 32}, {80, 10}});
    graph.drawEnvelope(&page, envelope, 0, true);
    // Node 1 is drawn at x = round(50 * 399 / 100) + 1, y = 199 - 198 * 32 / 64.
    const CPoint node1(kGraph.left + 201, kGraph.top + 199 - 99);
    EXPECT_EQ(pixel(node1.h, node1.v), rgb(158, 98, 98));
    const std::vector<uint8_t> before = bytesOf(envelope);
    EXPECT_EQ(mouse(node1, kLeftButton), 1);
    EXPECT_EQ(graph.getSelection(), 1);
    EXPECT_TRUE(graph.isDragging());
    mouse(node1, kLeftButton);
    EXPECT_EQ(mouse(node1, 0), 0);
    EXPECT_EQ(bytesOf(envelope), before) << "a click on a drawn node changes no byte";

    mouse(CPoint(node1.h + 4, node1.v), kLeftButton);
    mouse(CPoint(node1.h + 40, kGraph.top), kLeftButton);
    EXPECT_EQ(envelope.node(1).value, 64) << "the top row is the value 64";
    EXPECT_EQ(envelope.node(1).tick, (201 + 40 + 1) * 100 / 399);
    mouse(CPoint(kGraph.right - 60, kGraph.bottom), kLeftButton);
    EXPECT_EQ(envelope.node(1).tick, (201 + 40 + 1) * 100 / 399) << "not past its successor";
    EXPECT_EQ(envelope.node(1).value, 1);
    mouse(CPoint(node1.h, node1.v), 0);
    EXPECT_FALSE(graph.isDragging());

    // Ctrl+press inserts at the pointer and drags the new node.
    mouse(CPoint(kGraph.left + 99, kGraph.top + 100), kLeftButton | kCtrlButton);
    EXPECT_EQ(envelope.count(), 4);
    EXPECT_EQ(envelope.node(1).tick, 100 * 100 / 399);
    EXPECT_EQ(envelope.node(1).value, 64 - 97 * 64 / 198);
    EXPECT_EQ(graph.getSelection(), 1);
}

TEST_F(EnvelopeGraphTest, LowerLaneOfASplitGraphEditsTheSecondValue)
{
    envelope.insertNode(0, 40, 20);
    envelope.insertNode(50, 40, 20);
    // Kind 3: lanes of 100 rows; the lower lane starts at top + 100.
    mouse(CPoint(kGraph.left + 201, kGraph.top + 150), kLeftButton, 3);
    mouse(CPoint(kGraph.left + 201, kGraph.top + 103), kLeftButton, 3);
    EXPECT_EQ(envelope.node(1).value, 40);
    EXPECT_EQ(envelope.node(1).value2, 64);
    mouse(CPoint(kGraph.left + 201, kGraph.top + 103), 0, 3);

    mouse(CPoint(kGraph.left + 300, kGraph.top + 180), kLeftButton | kCtrlButton, 3);
    ASSERT_EQ(envelope.count(), 3);
    EXPECT_EQ(envelope.node(2).value, 40) << "the other lane's value from the node before";
}

TEST_F(EnvelopeGraphTest, WheelAndRightEdgeZoomWithinTheirLimits)
{
    // From 10 on a 400-pixel graph one wheel-out gives 11; zooming in stops at 10.
    for (int i = 0; i < 40; ++i)
        graph.zoom(-1.0f);
    EXPECT_EQ(graph.getZoom(), 10u);
    graph.zoom(1.0f);
    EXPECT_EQ(graph.getZoom(), 11u);
    for (int i = 0; i < 200; ++i)
        graph.zoom(1.0f);
    EXPECT_EQ(graph.getZoom(), TesselEnvelopeGraph::kMaxZoom);
    nodes({{0, 64}, {60000, 64}});
    graph.drawEnvelope(&page, envelope, 0, false);
    EXPECT_EQ(pixel(kGraph.left + 1, kGraph.top + 1), rgb(158, 98, 98)) << "200 wheel-outs still draw";

    // A drag near the right edge widens the view.
    TesselEnvelopeGraph edge(kGraph);
    envelope.reset();
    envelope.insertNode(0, 10, 0);
    edge.onEnvelopeMouse(CPoint(kGraph.right - 10, kGraph.top + 50), kLeftButton, envelope, 0);
    EXPECT_EQ(edge.getZoom(), 450u * 100u / 400u);

    // Too small to map: mouse and wheel are ignored.
    for (const CRect& tiny : {CRect(0, 0, 1, 100), CRect(0, 0, 100, 2)}) {
        TesselEnvelopeGraph small(tiny);
        EXPECT_EQ(small.onEnvelopeMouse(CPoint(0, 0), kLeftButton | kCtrlButton, envelope, 0), 0);
        small.zoom(1.0f);
        EXPECT_EQ(small.getZoom(), TesselEnvelopeGraph::kStartZoom);
    }
    EXPECT_EQ(envelope.count(), 1);
}

TEST_F(EnvelopeGraphTest, FaceGridNodesReadoutAndShareBar)
{
    const platform::Colour background = rgb(79, 49, 49);
    const platform::Colour major = control_skin::fromPalette(resources::palette::kFrameLine).toPlatform();
    nodes({{0, 64}, {150, 0}});
    graph.drawEnvelope(&page, envelope, 0, true);
    EXPECT_EQ(graph.getSelection(), 0) << "drawing without a selection selects node 0";
    // Tick 0 is a major line at x 1, tick 10 a minor one at x round(39.9) + 1.
    EXPECT_EQ(pixel(kGraph.left + 1, kGraph.top + 60), major);
    EXPECT_EQ(pixel(kGraph.left + 41, kGraph.top + 60), rgb(64, 64, 64));
    EXPECT_EQ(pixel(kGraph.left + 45, kGraph.top + 60), background);
    EXPECT_EQ(pixel(kGraph.left + 41, kGraph.top), background) << "lines start at y 1";
    EXPECT_EQ(pixel(kGraph.left + 4, kGraph.top + 1), control_skin::kHighlight.toPlatform()) << "selection frame";
    // The share bar: zoom 100 of 150 ticks.
    EXPECT_EQ(pixel(kGraph.left + 400 * 100 / 150 - 1, 240), rgb(158, 98, 98));
    EXPECT_EQ(pixel(kGraph.left + 400 * 100 / 150, 240), rgb(0, 0, 0));

    // The readout matches the same texts drawn by hand.
    COffscreenContext expected{nullptr, 520, 300, kBlackCColor};
    TesselFont* font = controlFont(TesselControlFont::Normal, false);
    drawBitmapText(&expected, "00", 319, 283, font);
    drawBitmapText(&expected, "00000", 362, 283, font);
    drawBitmapText(&expected, "64   ", 427, 283, font);
    for (int32_t y = 283; y < 291; ++y)
        for (int32_t x = 319; x < 480; ++x)
            ASSERT_EQ(pixel(x, y), expected.getImage()->pixelAt(x, y)) << x << ", " << y;

    // Coarse grid: lines every 100 ticks only.
    envelope.enabled = TesselEnvelope::Milliseconds;
    graph.drawEnvelope(&page, envelope, 0, false);
    EXPECT_EQ(pixel(kGraph.left + 41, kGraph.top + 60), background);

    // Empty and focused: framed, no selection, the dashes.
    envelope.reset();
    COffscreenContext empty{nullptr, 520, 300, kBlackCColor};
    graph.drawEnvelope(&empty, envelope, 0, true);
    EXPECT_EQ(graph.getSelection(), -1);
    EXPECT_EQ(empty.getImage()->pixelAt(kGraph.left + 200, kGraph.top), control_skin::kHighlight.toPlatform());
    COffscreenContext dashes{nullptr, 520, 300, kBlackCColor};
    drawBitmapText(&dashes, "--", 319, 283, font);
    drawBitmapText(&dashes, "-----", 362, 283, font);
    drawBitmapText(&dashes, " --", 427, 283, font);
    for (int32_t x = 319; x < 460; ++x)
        ASSERT_EQ(empty.getImage()->pixelAt(x, 286), dashes.getImage()->pixelAt(x, 286)) << x;
}

TEST_F(EnvelopeGraphTest, ScreenshotOfBothGraphKinds)
{
    // Two pages one above the other: each graph writes its readout on its own.
    COffscreenContext shot{nullptr, 520, 600, CColor{38, 40, 45, 0}};
    TesselEnvelopeGraph volume(kGraph);
    nodes({{0, 64}, {12, 40}, {30, 52}, {55, 20}, {90, 0}});
    volume.setSelection(2);
    volume.drawEnvelope(&shot, envelope, 0, true);
    TesselEnvelopeGraph filter(kGraph);
    TesselEnvelope split;
    split.insertNode(0, 64, 10);
    split.insertNode(25, 20, 50);
    split.insertNode(70, 48, 30);
    split.insertNode(140, 10, 64);
    filter.setSelection(1);
    shot.setOffset(CPoint(0, 300));
    filter.drawEnvelope(&shot, split, 3, false);
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(shot.getImage()->writePng("screenshots/envelope_graph.png"));
}
