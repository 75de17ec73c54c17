// The envelope's node operations: insertion in tick order, the 32-node
// limit, moves kept between the neighbours and deletion; slopes follow
// every edit (the value clamp is the graph tests').
#include "model/instrument/envelope.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Nodes as (tick, value) pairs.
std::vector<std::pair<int, int>> nodesOf(const TesselEnvelope& e)
{
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < e.count(); ++i)
        out.emplace_back(e.node(i).tick, e.node(i).value);
    return out;
}

TesselEnvelope& threeNodes(TesselEnvelope& e)
{
    e.insertNode(0, 10, 0);
    e.insertNode(20, 30, 0);
    e.insertNode(40, 50, 0);
    return e;
}

} // namespace

TEST(EnvelopeNodes, InsertKeepsTickOrderAndTheLimits)
{
    TesselEnvelope e;
    EXPECT_EQ(e.insertNode(500, 7, 3), 0);
    EXPECT_EQ(e.node(0).tick, 0) << "the first node always starts at tick 0";
    EXPECT_EQ(e.insertNode(40, 20, 0), 1);
    EXPECT_EQ(e.insertNode(20, 10, 0), 1);
    EXPECT_EQ(e.insertNode(40000, 30, 0), 3);
    EXPECT_EQ(e.node(3).tick, kMaxEnvelopeTick);
    EXPECT_EQ(e.insertNode(20, 99, 5), 1) << "a node at that tick takes the values";
    EXPECT_EQ(nodesOf(e), (std::vector<std::pair<int, int>>{{0, 7}, {20, 99}, {40, 20}, {kMaxEnvelopeTick, 30}}));
    EXPECT_EQ(e.node(1).value2, 5);
    EXPECT_FLOAT_EQ(e.node(2).slope, (20.0f - 99.0f) / 20.0f);

    while (e.count() < kEnvelopeNodes)
        e.insertNode(100 + e.count(), 1, 1);
    EXPECT_EQ(e.insertNode(5, 1, 1), -1);
    EXPECT_EQ(e.insertNode(20, 1, 1), -1) << "refused even on an existing tick";
    EXPECT_EQ(e.count(), kEnvelopeNodes);
    EXPECT_EQ(e.node(1).value, 99);
}

TEST(EnvelopeNodes, MovesStayStrictlyBetweenTheNeighbours)
{
    struct Case {
        int index, tick, value, value2;
        bool accepted;
        int tickAfter, valueAfter;
    };
    const Case cases[] = {
        {0, 15, 12, -1, true, 0, 12},            // node 0 keeps tick 0
        {1, 25, -1, -1, true, 25, 30},           // -1 keeps the value
        {1, 40, 33, -1, true, 20, 33},           // onto the successor: tick kept
        {1, 0, 33, -1, true, 20, 33},            // onto the predecessor
        {1, -5, 33, -1, true, 20, 33},
        {2, 30000, 2, -1, true, 30000, 2},       // the last may go to the end
        {2, 30001, 2, -1, false, 40, 50},        // past the end: refused
        {3, 10, 2, -1, false, 0, 0},             // no such node
        {-1, 10, 2, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        TesselEnvelope e;
        threeNodes(e);
        EXPECT_EQ(e.moveNode(c.index, c.tick, c.value, c.value2), c.accepted) << c.index << " to " << c.tick;
        if (c.index >= 0 && c.index < e.count()) {
            EXPECT_EQ(e.node(c.index).tick, c.tickAfter) << c.index << " to " << c.tick;
            EXPECT_EQ(e.node(c.index).value, c.valueAfter) << c.index << " to " << c.tick;
        }
    }
    TesselEnvelope e;
    threeNodes(e);
    e.moveNode(1, 30, 40, 9);
    EXPECT_FLOAT_EQ(e.node(1).slope, 30.0f / 30.0f);
    EXPECT_FLOAT_EQ(e.node(2).slope, 10.0f / 10.0f);
    EXPECT_EQ(e.node(1).value2, 9);
    EXPECT_FALSE(e.deleteNode(3));
    EXPECT_TRUE(e.deleteNode(1));
    EXPECT_EQ(nodesOf(e), (std::vector<std::pair<int, int>>{{0, 10}, {40, 50}}));
    EXPECT_FLOAT_EQ(e.node(1).slope, 40.0f / 40.0f);
}
