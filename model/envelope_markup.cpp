// Instrument envelopes in the song document.

#include "model/document_fields.h"
#include "model/envelope.h"

#include <algorithm>

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
    readByte(element, "enabled", "e", enabled);
    readByte(element, "carry", "c", carry);
    if (element.kind == kElementSelf)
        return true;
    const bool closed = readChildren(buffer, "envelope", "en", [&](const TesselElement& child) {
        if (child.is("node", "no", kElementAny)) {
            if (nodeCount >= kEnvelopeNodes)
                return;   // a 33rd node has no slot
            TesselEnvelopeNode& n = nodes[nodeCount++];
            n = TesselEnvelopeNode{};
            int16_t value = 0;
            if (child.getShort("tick", "x", value))
                n.tick = static_cast<uint16_t>(value);
            if (child.getShort("value", "y", value))
                n.value = static_cast<uint16_t>(value);
            if (child.getShort("value2", "z", value))
                n.value2 = static_cast<uint16_t>(value);
        } else if (child.is("loop", "lo", kElementAny)) {
            loop.readXml(child);
        } else if (child.is("sustain", "su", kElementAny)) {
            sustain.readXml(child);
        }
    });
    if (closed)
        computeSlopes();
    return closed;
}
