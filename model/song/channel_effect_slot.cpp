#include "model/song/channel_effect_slot.h"

uint8_t TesselEffectMemory::apply(uint8_t parameter)
{
    if (!nibbleMode) {
        if (parameter != 0)
            value = parameter;
        return value;
    }
    if (parameter >= 16)
        value = static_cast<uint8_t>((parameter & 0xF0) | (value & 0x0F));
    if (parameter & 0x0F)
        value = static_cast<uint8_t>((value & 0xF0) | (parameter & 0x0F));
    return value;
}

TesselEffectMemory* TesselEffectSlot::memoryFor(char letter)
{
    if (letter < '0' || letter > 'Z')
        return nullptr;
    return &memory[static_cast<size_t>(letter - '0')];
}

void TesselEffectSlot::reset()
{
    command = '.';
    count = 0;
    hold = 0;
    for (TesselEffectMemory& m : memory)
        m = TesselEffectMemory{};
    for (char nibbleLetter : {'H', 'I', 'J', 'R', 'Y'})
        memoryFor(nibbleLetter)->nibbleMode = 1;
    portamentoTarget = -1;
    slideFactor = 1.0f;
    volumeSlideStep = 0;
    panSlideStep = 0;
    tremorOff = 0;
    vibratoSpeed = vibratoWaveform = vibratoDepth = 0;
    vibratoPosition = 0;
    tremoloSpeed = tremoloWaveform = tremoloDepth = 0;
    tremoloPosition = 0;
    panbrelloSpeed = panbrelloWaveform = panbrelloDepth = 0;
    panbrelloPosition = 0;
    portamentoSpeed = 0;
    loopPasses = 0;
    loopMark = 0;
}

void TesselEffectSlot::assignStored(const TesselEffectSlot& other)
{
    reset();
    const float keepVibrato = vibratoFactor;
    const float keepArpeggio = arpeggioFactor;
    const uint8_t keepPasses = loopPasses;
    const uint8_t keepMark = loopMark;
    *this = other;
    vibratoFactor = keepVibrato;
    arpeggioFactor = keepArpeggio;
    loopPasses = keepPasses;
    loopMark = keepMark;
}
