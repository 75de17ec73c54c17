#pragma once
// What the benchmarks that drive the plug-in through its VST 2 entry play as
// a host: one time record, handed out through the callback, which answers
// the plug-in at 44.1 kHz; the effect made with it; whole files read into
// memory.

#include "platform/vst2_records.h"
#include "vst2/effect_record.h"

#include <dlfcn.h>
#include <fstream>
#include <iterator>
#include <string>

namespace vst_bench {

constexpr int kRate = 44100;

inline VstTimeInfo hostTime{};

inline VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&hostTime);
    case audioMasterGetSampleRate:
        return kRate;
    default:
        return 0;
    }
}

// The effect that the library's entry makes with this host's callback; null
// when it makes none.
inline AEffect* makeEffect(void* library)
{
    using Main = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Main>(dlsym(library, "main"));
    return entry ? entry(&hostCallback) : nullptr;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vst_bench
