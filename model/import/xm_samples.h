#pragma once
// XM sample headers and their delta-coded 8- and 16-bit data.

#include <cstdint>

class TesselMemoryFile;
class TesselSample;

struct XmSampleSource {
    uint32_t bytes = 0;   // the data's length in the file
    bool sixteenBit = false;
    bool stereo = false;
    bool packed = false;  // 4-bit packed data, not supported
    bool kept = false;    // the slot exists
};

// Reads the 40-byte header at the position into the sample (none for a
// slot beyond 99: only the data's length is taken).
XmSampleSource readXmSampleHeader(TesselMemoryFile& file, TesselSample* sample);
// Decodes the data at the position into the sample and moves past them.
// False (and the status text set) when they had to be left out.
bool readXmSampleData(TesselMemoryFile& file, const XmSampleSource& source, TesselSample* sample);

// 8363 Hz moved by the relative note and finetune (1/128 semitones).
int32_t xmSampleSpeed(int relativeNote, int finetune);
