// Speaker arrangements are heap blocks sized for their channel count; the
// effect keeps the pointer and frees it through deallocateArrangement.
#include "vst2/audio_effect_x.h"

#include <cstdlib>
#include <cstring>

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 channels)
{
    if (!arrangement || channels < 0)
        return false;
    deallocateArrangement(arrangement);
    void* block = std::calloc(1, speakerArrangementBytes(channels));
    if (!block)
        return false;
    *arrangement = static_cast<VstSpeakerArrangement*>(block);
    (*arrangement)->numChannels = channels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement)
{
    if (arrangement) {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (!to || !from)
        return false;
    std::size_t n = strnlen(from->name, kVstSpeakerNameLength - 1);
    std::memcpy(to->name, from->name, n);
    std::memset(to->name + n, 0, kVstSpeakerNameLength - n);
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof to->future);
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (!to || !deallocateArrangement(to) || !from || !allocateArrangement(to, from->numChannels))
        return false;
    (*to)->type = from->type;
    for (VstInt32 i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(speakerAt(*to, i), speakerAt(from, i)))
            return false;
    return true;
}
