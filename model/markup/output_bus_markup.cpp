// The song's output bus in the song document.

#include "model/markup/document_fields.h"
#include "model/song/output_bus.h"

void TesselOutputBus::writeXml(FILE* file) const
{
    if (isDefault())
        return;
    TesselElement element("bus", kElementSelf);
    element.addInt("index", index);
    element.add("name", name);
    element.addInt("type", type);
    writeElement(file, element, true, true);
}

bool TesselOutputBus::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    index = 0;
    reset();
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "outputs", "ou", [&](const TesselElement& child) {
        if (!child.is("bus", "b", kElementAny))
            return;
        int32_t number = 0;
        child.getInt("index", "i", number);
        if (number != 0)
            return;   // the song has bus 0 only
        reset();
        char text[kStoredOutputBusName + 1] = {};
        if (child.getString("name", "n", text, sizeof text, false))
            setName(text);
        readIntWithin(child, "type", "t", type, 0, kMaxOutputBusType);
    });
}
