// A tiny VST 2 synth for the host's tests: it plays a known signal, follows
// the host's transport like the real plug-in and exports only "main".

#include "test_synth.h"

#include <cstring>

namespace {

struct Synth {
    AEffect effect;
    audioMasterCallback host;
    testsynth::Probe probe;
    int64_t songFrames;
    int64_t position;
};

Synth g_synth;

VstIntPtr dispatcher(AEffect*, int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt)
{
    Synth& s = g_synth;
    switch (opcode) {
    case effOpen: s.probe.opened++; return 0;
    case effClose: s.probe.closed++; return 0;
    case effSetBlockSize: s.probe.blockSize = static_cast<int32_t>(value); return 0;
    case effSetSampleRate: s.probe.sampleRate = opt; return 0;
    case effGetEffectName: std::strcpy(static_cast<char*>(ptr), "TestSynth"); return 1;
    case effGetVendorString: std::strcpy(static_cast<char*>(ptr), "Test Vendor"); return 1;
    case effGetProductString: std::strcpy(static_cast<char*>(ptr), "Test Product"); return 1;
    case effCanDo: {
        const char* what = static_cast<const char*>(ptr);
        if (std::strcmp(what, "receiveVstEvents") == 0)
            return 1;
        if (std::strcmp(what, "receiveVstMidiEvent") == 0)
            return -1;
        return 2;
    }
    case effVendorSpecific:
        if (index == testsynth::kProbe && ptr) {
            std::memcpy(ptr, &s.probe, sizeof s.probe);
            return 1;
        }
        if (index == testsynth::kSetSongFrames) {
            s.songFrames = value;
            return 1;
        }
        return 0;
    case -1:
        return s.probe.playing && s.position < s.songFrames ? 1 : 0;
    default:
        return 0;
    }
}

void process(AEffect*, float**, float** outputs, int32_t frames)
{
    Synth& s = g_synth;
    s.probe.processCalls++;
    if (frames > s.probe.largestProcess)
        s.probe.largestProcess = frames;
    const auto* time = reinterpret_cast<const VstTimeInfo*>(s.host(&s.effect, audioMasterGetTime, 0, 0, nullptr, 0));
    if (time && (time->flags & kVstTransportChanged)) {
        s.probe.playing = (time->flags & kVstTransportPlaying) != 0;
        s.position = static_cast<int64_t>(time->samplePos);
    }
    // After the song's end the transport still plays, in silence.
    for (int32_t i = 0; i < frames; ++i) {
        const bool sounding = s.probe.playing && s.position < s.songFrames;
        for (int bus = 0; bus < 6; ++bus)
            outputs[bus][i] = s.probe.playing ? (sounding ? testsynth::songSample(bus, s.position) : 0.0f)
                                              : testsynth::idleSample(bus);
        if (sounding)
            ++s.position;
    }
}

float getParameter(AEffect*, int32_t) { return 0.0f; }

AEffect* createSynth(audioMasterCallback host)
{
    Synth& s = g_synth;
    std::memset(&s, 0, sizeof s);
    s.host = host;
    s.songFrames = testsynth::kDefaultSongFrames;
    s.probe.versionDuringEntry = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0);
    host(nullptr, audioMasterGetProductString, 0, 0, s.probe.productDuringEntry, 0);
    AEffect& e = s.effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.process = process;
    e.processReplacing = process;
    e.getParameter = getParameter;
    e.numOutputs = 6;
    e.flags = effFlagsIsSynth | effFlagsCanReplacing;
    e.uniqueID = 0x51625473;
    e.version = 1;
    return &e;
}

} // namespace

// The entry's C name cannot be declared as a C++ function called main.
extern "C" __attribute__((visibility("default"))) AEffect* testSynthEntry(audioMasterCallback host) __asm__("main");
AEffect* testSynthEntry(audioMasterCallback host) { return createSynth(host); }
