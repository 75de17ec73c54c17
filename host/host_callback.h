#pragma once
#include "host/vst2.h"

namespace host {

constexpr VstIntPtr kHostVstVersion = 2300;
extern const char kHostVendor[];
extern const char kHostProduct[];   // the plug-in knows its own host by this

// The audioMasterCallback handed to the plug-in. Any thread; keeps no lock.
// Answers the version before the host state exists (the plug-in asks during
// its entry function); everything else that needs the state answers 0 then.
VstIntPtr hostCallback(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                       float opt);

} // namespace host
