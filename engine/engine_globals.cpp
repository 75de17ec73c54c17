#include "engine/engine_globals.h"

std::array<TesselChannel, kLiveChannels>& liveChannels()
{
    static std::array<TesselChannel, kLiveChannels> channels;
    return channels;
}
