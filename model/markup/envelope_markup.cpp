// Instrument envelopes in the song document.

#include "model/instrument/envelope.h"
#include "model/markup/document_fields.h"

#include <algorithm>

namespace {

// Node values: 0..64 on the envelope graph, 32 the centre of panning and pitch.
constexpr int32_t kMaxNodeValue = 64;

uint16_t nodeValueWithin(int32_t value)
{
    return static_cast<uint16_t>(std::clamp(value, 0, kMaxNodeValue));
}

} // namespace

void TesselEnvelope::writeNodeXml(FILE* file, int i) const
{
    const TesselEnvelopeNode& n = node(i);
    TesselElement element("node", kElementSelf);
    element.addInt("tick", n.tick);
    element.addInt("value", n.value);
    element.addInt("value2", n.value2);
    writeElement(file, element, false, false);
}

void TesselEnvelope::writeXml(FILE* file) const
{
    TesselElement element("envelope", kElementOpen);
    element.addInt("enabled", enabled, enabled != 0);
    element.addInt("carry", carry, carry != 0);
    writeElement(file, element, true, true);
    if (!loop.isEmpty())
        loop.writeXml(file, false);
    if (!sustain.isEmpty())
        sustain.writeXml(file, true);
    const int n = static_cast<int>(std::min<uint32_t>(nodeCount, kEnvelopeNodes));
    for (int i = 0; i < n; ++i)
        writeNodeXml(file, i);
    writeClose(file, "envelope");
}

bool TesselEnvelope::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    reset();
    readByteWithin(element, "enabled", "e", enabled, Off, Milliseconds);
    readByteWithin(element, "carry", "c", carry, 0, 1);
    if (element.kind == kElementSelf)
        return true;
    const bool closed = readChildren(buffer, "envelope", "en", [&](const TesselElement& child) {
        if (child.is("node", "no", kElementAny)) {
            if (nodeCount >= kEnvelopeNodes)
                return;   // a 33rd node has no slot
            TesselEnvelopeNode& n = nodes[nodeCount++];
            n = TesselEnvelopeNode{};
            // Ticks in order, none before the node ahead nor past the
            // graph's end, as the editor keeps them.
            const int32_t earliest = nodeCount > 1 ? nodes[nodeCount - 2].tick : 0;
            int32_t value = earliest;
            child.getInt("tick", "x", value);
            n.tick = static_cast<uint16_t>(std::clamp(value, earliest, std::max(earliest, kMaxEnvelopeTick)));
            if (child.getInt("value", "y", value))
                n.value = nodeValueWithin(value);
            if (child.getInt("value2", "z", value))
                n.value2 = nodeValueWithin(value);
        } else if (child.is("loop", "lo", kElementAny)) {
            loop.readXml(child);
        } else if (child.is("sustain", "su", kElementAny)) {
            sustain.readXml(child);
        }
    });
    // Loop points are node numbers: they name nodes that are there.
    const int32_t lastNode = static_cast<int32_t>(nodeCount) - 1;
    loop.keepWithin(lastNode);
    sustain.keepWithin(lastNode);
    if (closed)
        computeSlopes();
    return closed;
}
