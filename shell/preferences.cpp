#include "shell/preferences.h"

#include "model/markup/markup.h"

#include <cstring>
#include <string>
#include <unistd.h>

namespace {

template <size_t N>
void copyCut(char (&field)[N], const char* text)
{
    const size_t length = strnlen(text, N - 1);
    std::memcpy(field, text, length);
    field[length] = 0;
}

void setCurrentFolder(char (&field)[TesselPreferences::kFolderSize])
{
    char buffer[4096];
    std::string folder = getcwd(buffer, sizeof buffer) ? buffer : "";
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    copyCut(field, folder.c_str());
}

void readFlag(const TesselElement& e, const char* longName, const char* shortName, uint8_t& field)
{
    bool value;
    if (e.getBool(longName, shortName, value))
        field = value ? 1 : 0;
}

} // namespace

void TesselPreferences::setDefaults()
{
    midiDelay = -1;
    copyCut(midiSyncOutput, "(VST Host)");
    midiSyncType = 0;
    disableMidi = 0;
    keyboardMode = 1;
    alwaysOnTop = 1;
    linkWindows = 1;
    mergeWithHost = 1;
    graphicsPriority = 0;
    followPattern = 0;
    showGuide = 0;
    showHelp = 1;
    setCurrentFolder(modulePath);
    setCurrentFolder(samplePath);
    setCurrentFolder(instrumentPath);
    midiInMode = 2;
    positionX1 = positionY1 = positionX2 = positionY2 = 0;
    windowState = 1;
    doubleSize = 0;
    std::memset(&font, 0, sizeof font);
    font.height = 6;
    font.weight = 400;
    copyCut(font.faceName, "Quorbel");
    fontWidth = -1;
    timingMode = 0;
    defaultTempo = 120.0;
    defaultResolution = 6;
    defaultRowsPerBeat = 4;
    std::memset(pagePosition, 0, sizeof pagePosition);
    showDependencies = 0;
}

bool TesselPreferences::read(const TesselElement& e)
{
    setDefaults();
    e.getInt("mididelay", "m", midiDelay);
    e.getString("midisyncoutput", "so", midiSyncOutput);
    e.getInt("midisynctype", "st", midiSyncType);
    readFlag(e, "disablemidi", "md", disableMidi);
    int32_t mode;
    if (e.getInt("keyboardmode", "k", mode))
        keyboardMode = static_cast<uint8_t>(mode & 0xff);
    readFlag(e, "alwaysontop", "t", alwaysOnTop);
    readFlag(e, "linkwindows", "l", linkWindows);
    readFlag(e, "mergewithhost", "h", mergeWithHost);
    readFlag(e, "graphicspriority", "g", graphicsPriority);
    readFlag(e, "followpattern", "f", followPattern);
    readFlag(e, "showguide", "G", showGuide);
    readFlag(e, "showhelp", "H", showHelp);
    e.getString("modulepath", "M", modulePath);
    e.getString("samplepath", "S", samplePath);
    e.getString("instrumentpath", "I", instrumentPath);
    e.getInt("midiinmode", "i", midiInMode);
    e.getInt("positionx1", "x1", positionX1);
    e.getInt("positiony1", "y1", positionY1);
    e.getInt("positionx2", "x2", positionX2);
    e.getInt("positiony2", "y2", positionY2);
    e.getInt("windowstate", "ws", windowState);
    readFlag(e, "doublesize", "d", doubleSize);
    e.getInt("fontsize", "fs", font.height);
    e.getInt("fontweight", "fw", font.weight);
    e.getString("fontname", "fn", font.faceName);
    e.getShort("fontwidth", "fx", fontWidth);
    e.getChar("timingmode", "tm", timingMode);
    e.getDouble("defaulttempo", "T", defaultTempo);
    e.getInt("defaultresolution", "r", defaultResolution);
    e.getInt("defaultrowsperbeat", "R", defaultRowsPerBeat);
    readFlag(e, "showdependencies", "dp", showDependencies);
    return true;
}

bool TesselPreferences::write(FILE* stream) const
{
    TesselElement e("preferences", kElementSelf);
    e.addInt("graphicspriority", graphicsPriority);
    e.addInt("followpattern", followPattern);
    e.addInt("showguide", showGuide);
    e.addInt("showhelp", showHelp);
    e.addInt("midiinmode", midiInMode);
    e.addInt("mididelay", midiDelay);
    e.add("midisyncoutput", midiSyncOutput);
    e.addInt("midisynctype", midiSyncType);
    e.addInt("disablemidi", disableMidi);
    e.add("modulepath", modulePath);
    e.add("instrumentpath", instrumentPath);
    e.add("samplepath", samplePath);
    e.addInt("timingmode", static_cast<uint8_t>(timingMode));
    char tempo[64];
    snprintf(tempo, sizeof tempo, "%f", defaultTempo);
    e.add("defaulttempo", tempo);
    e.addInt("defaultresolution", defaultResolution);
    e.addInt("defaultrowsperbeat", defaultRowsPerBeat);
    e.addInt("keyboardmode", keyboardMode);
    e.addInt("alwaysontop", alwaysOnTop);
    e.addInt("linkwindows", linkWindows);
    e.addInt("mergewithhost", mergeWithHost);
    e.add("fontname", font.faceName);
    e.addInt("fontsize", font.height);
    e.addInt("fontweight", font.weight);
    e.addInt("fontwidth", fontWidth, fontWidth != -1);
    e.addInt("positionx1", positionX1);
    e.addInt("positiony1", positionY1);
    e.addInt("positionx2", positionX2);
    e.addInt("positiony2", positionY2);
    e.addInt("doublesize", doubleSize, doubleSize != 0);
    e.addInt("windowstate", windowState);
    e.addInt("showdependencies", showDependencies, showDependencies != 0);
    writeElement(stream, e, true, true);
    return !ferror(stream);
}

TesselSongTiming TesselPreferences::songDefaults() const
{
    return {defaultTempo, static_cast<double>(defaultResolution), defaultRowsPerBeat};
}

