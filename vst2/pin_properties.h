#pragma once
// The description of one input or output pin the host asks for.

#include "platform/vst2_records.h"

enum : VstInt32 {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 2,
    kVstPinUseSpeaker = 4,
};

constexpr VstInt32 kSpeakerArrStereo = 1;
constexpr VstInt32 kSpeakerArrEmpty = -1;

struct VstPinProperties {
    char label[64];
    VstInt32 flags;
    VstInt32 arrangementType;
    char shortLabel[8];
    char future[48];
};

static_assert(sizeof(VstPinProperties) == 128);
