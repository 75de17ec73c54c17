#include "model/envelope.h"

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
