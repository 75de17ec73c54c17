#pragma once
// The entries that the sample and instrument lists show for a slot: number
// and name, an icon, and a detail column with the sample format or what the
// instrument plays. Beside the toolkit's list box, which knows no song.

#include "gui/lists/list_box.h"

class TesselInstrument;
class TesselSample;

TesselListItem sampleListEntry(const TesselSample& sample);
TesselListItem instrumentListEntry(const TesselInstrument& instrument);
