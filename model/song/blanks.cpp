#include "model/song/blanks.h"

const TesselSubrow& blankSubrow()
{
    static const TesselSubrow subrow(0);
    return subrow;
}

const TesselTrack& blankTrack()
{
    static const TesselTrack track(-1, kGridChannels);
    return track;
}
