#include "model/song/channel.h"

#include <algorithm>
#include <cstdio>

void TesselChannel::reset()
{
    panning = 32;
    volume = 64;
    cutoff = 127;
    resonance = 0;
    mute = 0;
    solo = 0;
    char text[32];
    std::snprintf(text, sizeof text, "Channel %-2d    ", index + 1);
    setName(text);
    colour = 0xFFFFFF;
    outputBus = 1;
    unused = 0;
    depth = 0;
    rotation = 0;
    highOffset = 0;
    for (TesselEffectSlot& slot : effectSlots)
        slot.reset();
}

void TesselChannel::assign(const TesselChannel& other)
{
    if (&other == this)
        return;
    index = other.index;
    panning = other.panning;
    volume = other.volume;
    cutoff = other.cutoff;
    resonance = other.resonance;
    mute = other.mute;
    solo = other.solo;
    std::copy(std::begin(other.name), std::end(other.name), name);
    colour = other.colour;
    outputBus = other.outputBus;
    unused = other.unused;
    depth = other.depth;
    rotation = other.rotation;
    highOffset = other.highOffset;
    midiOut = other.midiOut;
    for (size_t i = 0; i < effectSlots.size(); ++i)
        effectSlots[i].assignStored(other.effectSlots[i]);
}

int32_t TesselChannel::setVolume(int32_t v)
{
    volume = std::clamp(v, 0, 64);
    return volume;
}

int32_t TesselChannel::setPanning(int32_t v)
{
    panning = std::clamp(v, 0, 64);
    return panning;
}

void TesselChannel::setName(const char* text)
{
    std::snprintf(name, sizeof name, "%.14s", text ? text : "");
}
