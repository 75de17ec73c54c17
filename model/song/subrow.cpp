#include "model/song/subrow.h"

void TesselSubrow::clear()
{
    const int16_t keep = index;
    static_cast<TesselSubrowData&>(*this) = TesselSubrowData{};
    index = keep;
}

bool TesselSubrow::matchesEffect(char letter, int high, int low) const
{
    if (effect.command != letter)
        return false;
    if (high != -1 && ((effect.parameter >> 4) & 0xFF) != high)
        return false;
    return low == -1 || (effect.parameter & 0xF) == low;
}

void TesselSubrow::merge(const TesselSubrow& other)
{
    if (pitch == -1) pitch = other.pitch;
    if (instrument == 0) instrument = other.instrument;
    if (volume == -1) volume = other.volume;
    if (panning == -1) panning = other.panning;
    if (depth == -1) depth = other.depth;
    if (effect.command == '.') effect.command = other.effect.command;
    if (effect.parameter == 0) effect.parameter = other.effect.parameter;
}

bool TesselSubrow::isEmpty() const
{
    return pitch == -1 && volume == -1 && panning == -1 && depth == -1 && instrument == 0 &&
           effect.command == '.' && effect.parameter == 0;
}

void TesselSubrow::assign(const TesselSubrowData& other)
{
    // Only the note data: a row's override would also drop its further subrows.
    TesselSubrow::clear();
    pitch = other.pitch;
    instrument = other.instrument;
    volume = other.volume;
    panning = other.panning;
    depth = other.depth;
    effect.command = other.effect.command;
    effect.parameter = other.effect.parameter;
}
