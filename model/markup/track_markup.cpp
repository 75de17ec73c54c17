// Pattern tracks in the song document.

#include "model/markup/document_fields.h"
#include "model/song/track.h"

void TesselTrack::writeRows(FILE* file) const
{
    for (int i = 0; i < length_; ++i) {
        const TesselRow* row = rows_[static_cast<size_t>(i)].get();
        if (row && !row->isEmpty())
            row->writeXml(file);
    }
}

void TesselTrack::writeXml(FILE* file) const
{
    const TesselIntAttribute attributes[] = {{"index", index}};
    writeIntElement(file, "track", kElementOpen, attributes, 1, true, true);
    writeRows(file);
    writeClose(file, "track");
}

bool TesselTrack::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    element.getInt("index", "i", index);
    clear();
    int32_t rowCount = 0;
    if (element.getInt("length", "l", rowCount) && rowCount >= 0 && rowCount <= kMaxRows)
        setLength(rowCount);
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "track", "tr", [&](const TesselElement& child) {
        if (!child.is("row", "ro", kElementAny))
            return;
        TesselRow scratch;
        scratch.readXml(buffer, child);
        if (scratch.index >= 0 && scratch.index < length_)
            getRow(scratch.index).assign(scratch);
    });
}
