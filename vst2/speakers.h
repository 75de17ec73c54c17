#pragma once
// Speaker arrangement records. An arrangement is one heap block of 8 bytes
// of head and 112 bytes per speaker; only the speakers it was sized for may
// be touched, so reach them through speakerAt.

#include "platform/vst2_records.h"

#include <cstddef>

constexpr int kVstSpeakerNameLength = 64;

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[kVstSpeakerNameLength];
    VstInt32 type;
    char future[28];
};

struct VstSpeakerArrangement {
    VstInt32 type;
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8]; // as published; the block holds numChannels
};

constexpr std::size_t kSpeakerArrangementHead = offsetof(VstSpeakerArrangement, speakers);

static_assert(sizeof(VstSpeakerProperties) == 112);
static_assert(kSpeakerArrangementHead == 8);

inline std::size_t speakerArrangementBytes(int channels)
{
    return kSpeakerArrangementHead + sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
}

inline VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, int i)
{
    return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) +
                                                   speakerArrangementBytes(i));
}
