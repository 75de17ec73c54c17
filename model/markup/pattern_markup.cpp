// Patterns in the song document.

#include "model/markup/document_fields.h"
#include "model/song/pattern.h"

bool TesselPattern::isLeftOutOfDocument() const
{
    return tracks.isEmpty() && length() == 64 && majorStep == 16 && minorStep == 4 && label[0] == '\0';
}

void TesselPattern::writeXml(FILE* file) const
{
    TesselElement element("pattern", kElementOpen);
    element.addInt("index", index);
    element.add("label", label, label[0] != '\0');
    element.addInt("majorStep", majorStep);
    element.addInt("minorStep", minorStep);
    element.addInt("length", length());
    writeElement(file, element, true, true);
    for (int i = 0; i < kChannels; ++i) {
        const TesselTrack* track = tracks.trackAt(i);
        if (track && !track->isEmpty())
            track->writeXml(file);
    }
    writeClose(file, "pattern");
}

bool TesselPattern::readXml(TesselMemoryFile& buffer, const TesselElement& element)
{
    int32_t number = -1;
    element.getInt("index", "i", number);
    index = (number >= 0 && number < kPatterns) ? number : -1;
    reset(patternDefaults().length);
    element.getInt("majorStep", "p", majorStep);
    element.getInt("minorStep", "v", minorStep);
    char text[kMarkupValueSize] = {};
    if (element.getString("label", "lb", text))
        setLabel(text);
    int32_t rows = 0;
    // A length the row table cannot hold is dropped; the default stays.
    if (element.getInt("length", "l", rows) && rows >= 1 && rows <= kMaxRows)
        setLength(rows);
    if (element.kind == kElementSelf)
        return true;
    return readChildren(buffer, "pattern", "pa", [&](const TesselElement& child) {
        if (!child.is("track", "tr", kElementAny))
            return;
        TesselTrack scratch(0, length());
        scratch.readXml(buffer, child);
        if (scratch.index < 0 || scratch.index >= kChannels)
            return;
        TesselTrack& track = tracks.getTrack(scratch.index);
        track.assign(scratch);
        track.setLength(length());   // a track never runs past its pattern
    });
}
