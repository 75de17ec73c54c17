#include "model/instrument/envelope.h"

#include <algorithm>

void TesselEnvelope::reset()
{
    enabled = 0;
    carry = 0;
    loop.reset();
    sustain.reset();
    for (TesselEnvelopeNode& n : nodes) {
        n.tick = 0;
        n.value = 0;
        n.value2 = 0;
    }
    nodeCount = 0;
}

void TesselEnvelope::assign(const TesselEnvelope& other)
{
    if (&other == this)
        return;
    enabled = other.enabled;
    carry = other.carry;
    loop.assign(other.loop);
    sustain.assign(other.sustain);
    for (size_t i = 0; i < nodes.size(); ++i) {
        nodes[i].tick = other.nodes[i].tick;
        nodes[i].value = other.nodes[i].value;
        nodes[i].value2 = other.nodes[i].value2;
    }
    nodeCount = other.nodeCount;
    computeSlopes();
}

void TesselEnvelope::computeSlopes()
{
    const uint32_t n = std::min<uint32_t>(nodeCount, kEnvelopeNodes);
    for (uint32_t i = 1; i < n; ++i) {
        TesselEnvelopeNode& node = nodes[i];
        const TesselEnvelopeNode& previous = nodes[i - 1];
        // Imported envelopes put two nodes on one tick: a step, not a slope.
        const float d = static_cast<float>(node.tick) - static_cast<float>(previous.tick);
        if (d <= 0.0f) {
            node.slope = 0.0f;
            node.slope2 = 0.0f;
            continue;
        }
        node.slope = (static_cast<float>(node.value) - static_cast<float>(previous.value)) / d;
        node.slope2 = (static_cast<float>(node.value2) - static_cast<float>(previous.value2)) / d;
    }
}

bool TesselEnvelope::isEmpty() const
{
    return enabled == 0 && carry == 0 && loop.isEmpty() && sustain.isEmpty() && nodeCount == 0;
}

int TesselEnvelope::insertNode(int tick, uint16_t value, uint16_t value2)
{
    const int n = count();
    if (n >= kEnvelopeNodes)
        return -1;
    tick = std::clamp(tick, 0, kMaxEnvelopeTick);
    if (n == 0)
        tick = 0;
    int at = 0;
    while (at < n && nodes[static_cast<size_t>(at)].tick < tick)
        ++at;
    TesselEnvelopeNode& existing = nodes[static_cast<size_t>(at)];
    if (at < n && existing.tick == tick) {
        existing.value = value;
        existing.value2 = value2;
    } else {
        for (int i = n; i > at; --i)
            nodes[static_cast<size_t>(i)] = nodes[static_cast<size_t>(i - 1)];
        existing = TesselEnvelopeNode{};
        existing.tick = static_cast<uint16_t>(tick);
        existing.value = value;
        existing.value2 = value2;
        ++nodeCount;
    }
    computeSlopes();
    return at;
}

bool TesselEnvelope::deleteNode(int index)
{
    const int n = count();
    if (index < 0 || index >= n)
        return false;
    for (int i = index; i + 1 < n; ++i)
        nodes[static_cast<size_t>(i)] = nodes[static_cast<size_t>(i + 1)];
    nodes[static_cast<size_t>(n - 1)] = TesselEnvelopeNode{};
    --nodeCount;
    computeSlopes();
    return true;
}

bool TesselEnvelope::moveNode(int index, int tick, int value, int value2)
{
    const int n = count();
    if (index < 0 || index >= n || tick > kMaxEnvelopeTick)
        return false;
    TesselEnvelopeNode& moved = nodes[static_cast<size_t>(index)];
    if (index == 0) {
        moved.tick = 0;
    } else {
        const int after = nodes[static_cast<size_t>(index - 1)].tick;
        const int before = index + 1 < n ? nodes[static_cast<size_t>(index + 1)].tick : kMaxEnvelopeTick + 1;
        if (tick > after && tick < before)
            moved.tick = static_cast<uint16_t>(tick);
    }
    if (value != -1)
        moved.value = static_cast<uint16_t>(value);
    if (value2 != -1)
        moved.value2 = static_cast<uint16_t>(value2);
    computeSlopes();
    return true;
}

void TesselEnvelope::clampValues()
{
    for (int i = 0; i < count(); ++i) {
        TesselEnvelopeNode& n = nodes[static_cast<size_t>(i)];
        n.value = std::min<uint16_t>(n.value, 64);
        n.value2 = std::min<uint16_t>(n.value2, 64);
    }
}
