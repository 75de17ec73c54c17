#pragma once
// The six functions the library exports; everything else stays hidden.

#include "vst2/effect_record.h"

#include <cstdint>

#define QB_EXPORT __attribute__((visibility("default")))

struct TesselBusBuffer;
struct TesselOutputBus;

extern "C" {

// VST 2 entry: the plug-in's record, or null.
QB_EXPORT AEffect* quorbelMain(audioMasterCallback audioMaster) __asm__("main");

// Load "Ostra.so" and run its entry 2 (result passed on); 1 when already loaded.
QB_EXPORT int32_t QuorbelConnect();
// Run the sibling's entry 3 and unload it; always 1.
QB_EXPORT int32_t QuorbelDisconnect();

// The running instance's output block for bus 0; null for other buses or
// without a running instance.
QB_EXPORT TesselBusBuffer* QuorbelGetBus(int32_t bus);
// The output-bus record the block refers to; null without a running instance.
QB_EXPORT TesselOutputBus* QuorbelGetSetup();
// Renders one block of `frames` into the output block: 1 when rendered.
// Must not overlap the host's own process calls.
QB_EXPORT int32_t QuorbelPrepare(int32_t frames);
}
