// Instrument key maps and key regions in the song document.

#include "model/instrument/keymap.h"
#include "model/markup/document_fields.h"

namespace {

bool isDefaultKeyRow(const TesselRow& row, int key, int instrumentIndex)
{
    return row.pitch == key && row.instrument == instrumentIndex + 1 && row.volume == -1 && row.panning == -1 &&
           row.depth == -1 && row.effect.command == '.' && row.effect.parameter == 0;
}

bool hasRegions(const TesselKeyRegions& regions)
{
    return !regions.regions[0].isZero();
}

} // namespace

void TesselKeymap::writeRegionXml(FILE* file, int key) const
{
    const TesselKeyRegions& list = regionsOf(key);
    const int n = list.count();
    for (int i = 0; i < n; ++i) {
        const TesselKeyRegion& region = list.regions[static_cast<size_t>(i)];
        TesselElement element("region", kElementSelf);
        element.addInt("key", key);
        element.addInt("from", region.from);
        element.addInt("to", region.to);
        element.addInt("value", region.value);
        writeElement(file, element, true, false);
    }
    if (n > 0)
        std::fputc('\n', file);
}

void TesselKeymap::writeMapXml(FILE* file) const
{
    writeElement(file, TesselElement("map", kElementOpen), true, true);
    for (int key = 0; key < kKeys; ++key)
        writeRegionXml(file, key);
    writeClose(file, "map");
}

void TesselKeymap::writeXml(FILE* file, int instrumentIndex) const
{
    writeElement(file, TesselElement("keymap", kElementOpen), true, true);
    bool anyRegions = false;
    for (int key = 0; key < kKeys; ++key) {
        anyRegions = anyRegions || hasRegions(regionsOf(key));
        const TesselRow* row = rowAt(key);
        if (row && !isDefaultKeyRow(*row, key, instrumentIndex)) {
            row->writeXml(file);
        } else if (!row && !isDefaultKeyRow(TesselRow::blank(), key, instrumentIndex)) {
            // A key without a row plays nothing: written as an empty row of its number.
            TesselRow empty(static_cast<int16_t>(key));
            empty.writeXml(file);
        }
    }
    if (anyRegions)
        writeMapXml(file);
    writeClose(file, "keymap");
}

bool TesselKeymap::readRegionsXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "map", "mp", [&](const TesselElement& child) {
        if (!child.is("region", "rg", kElementAny))
            return;
        int32_t key = 0;
        child.getInt("key", "k", key);
        if (key < 0 || key >= kKeys)
            return;
        int16_t value = 0;
        TesselKeyRegion region;
        if (child.getShort("from", "f", value))
            region.from = static_cast<uint8_t>(value);
        if (child.getShort("to", "t", value))
            region.to = static_cast<uint8_t>(value);
        child.getShort("value", "v", region.value);
        regionsOf(key).insert(region);   // a fifth region of a key is dropped
    });
}

bool TesselKeymap::readXml(TesselMemoryFile& buffer, const TesselElement& element, int instrumentIndex)
{
    reset(instrumentIndex);
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "keymap", "ke", [&](const TesselElement& child) {
        if (child.is("row", "ro", kElementAny)) {
            TesselRow scratch;
            scratch.readXml(buffer, child);
            if (scratch.index >= 0 && scratch.index < kKeys)
                getRow(scratch.index).assign(scratch);
        } else if (child.is("map", "mp", kElementAny)) {
            readRegionsXml(buffer, child);
        }
    });
}
