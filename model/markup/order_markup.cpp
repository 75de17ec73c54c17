// The order list in the song document.

#include "model/markup/document_fields.h"
#include "model/song/order_list.h"
#include "model/song/pattern.h"

void TesselOrderEntry::writeXml(FILE* file) const
{
    TesselElement element("entry", kElementSelf);
    element.addInt("index", index);
    element.addInt("pattern", pattern);
    writeElement(file, element, true, true);
}

bool TesselOrderList::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    reset();
    if (element.kind == kElementSelf)
        return true;
    const bool closed = readChildren(buffer, "order", "or", [&](const TesselElement& child) {
        if (!child.is("entry", "en", kElementAny))
            return;
        int32_t position = -1;
        int32_t value = kOrderEmpty;
        child.getInt("index", "i", position);
        child.getInt("pattern", "p", value);
        if (position < 0 || position >= kOrderEntries || value < kOrderEnd || value >= kPatterns)
            return;
        entries[static_cast<size_t>(position)].pattern = value;
    });
    updateLength();
    return closed;
}
