// Rows, their further subrows and effect cells in the song document.

#include "model/markup/document_fields.h"
#include "model/song/row.h"

namespace {

void writeEffect(FILE* file, const TesselEffect& effect)
{
    if (effect.command == '.' && effect.parameter == 0)
        return;
    // The command travels as its character code, signed like the reader takes it.
    const TesselIntAttribute attributes[] = {{"index", effect.cellIndex, effect.cellIndex != 0},
                                             {"command", static_cast<int8_t>(effect.command), effect.command != '.'},
                                             {"parameter", effect.parameter, effect.parameter != 0}};
    writeIntElement(file, "effect", kElementSelf, attributes, 3, false, false);
}

void readEffect(const TesselElement& element, TesselEffect& effect)
{
    int8_t command = '.';
    int16_t parameter = 0;
    readSignedByte(element, "command", "c", command);
    element.getShort("parameter", "p", parameter);
    effect.command = static_cast<char>(command);
    effect.parameter = parameter;
}

} // namespace

void TesselSubrow::writeOpen(FILE* file) const
{
    const TesselIntAttribute attributes[] = {{"index", index},
                                             {"pitch", pitch, pitch != -1},
                                             {"volume", volume, volume != -1},
                                             {"panning", panning, panning != -1},
                                             {"instrument", instrument, instrument != 0}};
    writeIntElement(file, "row", kElementOpen, attributes, 5, true, false);
    writeEffect(file, effect);
}

void TesselSubrow::readAttributes(const TesselElement& element, const char* panningShortName)
{
    element.getShort("index", "i", index);
    clear();
    element.getShort("pitch", "p", pitch);
    element.getShort("instrument", "s", instrument);
    element.getShort("volume", "v", volume);
    element.getShort("panning", panningShortName, panning);
}

void TesselSubrow::writeXml(FILE* file) const
{
    if (index == -1)
        return;
    writeOpen(file);
    writeClose(file, "row", false, true);
}

bool TesselSubrow::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    readAttributes(element, "x");
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "row", "ro", [&](const TesselElement& child) {
        if (child.is("effect", "ef", kElementAny))
            readEffect(child, effect);
    });
}

void TesselRow::writeXml(FILE* file) const
{
    writeOpen(file);
    if (subrows_)
        for (const TesselSubrow& subrow : *subrows_)
            subrow.writeXml(file);
    writeClose(file, "row", false, true);
}

bool TesselRow::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    readAttributes(element, "b");
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "row", "ro", [&](const TesselElement& child) {
        if (child.is("row", "ro", kElementOpen)) {
            TesselSubrow subrow;
            subrow.readXml(buffer, child);
            // A negative tick number is a removed subrow; 0 is the row's own.
            if (subrow.index >= 0)
                setSubrow(subrow.index, subrow);
        } else if (child.is("effect", "ef", kElementAny)) {
            readEffect(child, effect);
        }
    });
}
