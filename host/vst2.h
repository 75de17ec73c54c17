#pragma once
// The VST 2 declarations the host talks to the plug-in with: the shared
// records (header only; the host links none of the plug-in's code) and the
// few host-side extras.

#include "vst2/effect_record.h"

using VstPluginMainProc = AEffect* (*)(audioMasterCallback host);

constexpr size_t kVstMaxVendorStrLen = 64;
constexpr size_t kVstMaxProductStrLen = 64;
