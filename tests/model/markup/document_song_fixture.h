#pragma once
// A song that sets every field the document carries, and the checks of it
// that a round trip must keep.

#include "model/song/module.h"

void fillEverything(TesselModule& song);
// The engine turns the port name into a port number after a load; tests stand in for it.
void resolveMidiPorts(TesselModule& song);
void checkEverything(const TesselModule& song);

// The same song's text with short element and attribute names.
std::string toShortNames(const std::string& longText);
