#include "library/test_host.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <mutex>

namespace {

void receiveEvents(TestHost& host, const VstEvents* events)
{
    for (VstInt32 i = 0; events && i < events->numEvents; ++i) {
        const VstEvent* e = events->events[i];
        EXPECT_EQ(e->type, kVstMidiType);
        EXPECT_EQ(e->byteSize, kVstMidiEventByteSize);
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(e);
        host.midiReceived.push_back({host.blocksRendered.load(), midi->deltaFrames,
                                     {static_cast<uint8_t>(midi->midiData[0]), static_cast<uint8_t>(midi->midiData[1]),
                                      static_cast<uint8_t>(midi->midiData[2])}});
    }
}

bool hostCanDo(const char* what)
{
    return what && (std::strcmp(what, "receiveVstEvents") == 0 || std::strcmp(what, "receiveVstMidiEvent") == 0);
}

} // namespace

TestHost& TestHost::get()
{
    static TestHost host;
    return host;
}

VstIntPtr TestHost::callback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                             void* ptr, float /*opt*/)
{
    TestHost& host = get();
    // Tests that load while they play call in from two threads.
    static std::mutex calls;
    const std::lock_guard<std::mutex> hold(calls);
    host.requests.push_back(opcode);
    switch (opcode) {
    case audioMasterVersion:
        return host.version;
    case audioMasterGetTime:
        return host.giveTime ? reinterpret_cast<VstIntPtr>(&host.time) : 0;
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(host.time.sampleRate);
    case audioMasterGetVendorString:
        snprintf(static_cast<char*>(ptr), 64, "%s", "Test Vendor");
        return 1;
    case audioMasterGetProductString:
        snprintf(static_cast<char*>(ptr), 64, "%s", "Test Host");
        return 1;
    case audioMasterGetVendorVersion:
        return 7;
    case audioMasterCanDo:
        return hostCanDo(static_cast<const char*>(ptr)) ? 1 : 0;
    case audioMasterProcessEvents:
        receiveEvents(host, static_cast<const VstEvents*>(ptr));
        return 1;
    default:
        return 0;
    }
}

bool TestHost::load(std::string& error)
{
    library = dlopen(QB_PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        error = dlerror();
    return library != nullptr;
}

void TestHost::unload()
{
    close();
    if (library)
        dlclose(library);
    library = nullptr;
}

void* TestHost::symbol(const char* name) const
{
    return library ? dlsym(library, name) : nullptr;
}

AEffect* TestHost::create()
{
    using Main = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Main>(symbol("main"));
    if (!entry)
        return nullptr;
    AEffect* made = entry(&TestHost::callback);
    if (made)
        effect = made;
    return made;
}

void TestHost::close()
{
    if (effect)
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

VstIntPtr TestHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void TestHost::start(float rate, VstInt32 block)
{
    time = VstTimeInfo{};
    midiReceived.clear();
    blocksRendered = 0;
    time.sampleRate = rate;
    time.tempo = 120.0;
    time.flags = kVstTempoValid;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, block);
    dispatch(effMainsChanged, 0, 1);
}

void TestHost::render(VstInt32 frames)
{
    left.assign(static_cast<size_t>(frames), NAN);
    right.assign(static_cast<size_t>(frames), NAN);
    float* outputs[2] = {left.data(), right.data()};
    effect->processReplacing(effect, nullptr, outputs, frames);
    ++blocksRendered;
}

void TestHost::advance(VstInt32 frames)
{
    time.flags &= ~kVstTransportChanged;
    if (time.flags & kVstTransportPlaying) {
        time.samplePos += frames;
        time.ppqPos = time.samplePos / time.sampleRate * time.tempo / 60.0;
    }
}

void TestHost::sendMidi(uint8_t status, uint8_t data1, uint8_t data2)
{
    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    midi.byteSize = kVstMidiEventByteSize;
    midi.midiData[0] = static_cast<char>(status);
    midi.midiData[1] = static_cast<char>(data1);
    midi.midiData[2] = static_cast<char>(data2);
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&midi);
    dispatch(effProcessEvents, 0, 0, &events);
}

void StartedPluginTest::SetUp()
{
    std::string error;
    ASSERT_TRUE(host().load(error)) << error;
    ASSERT_NE(host().create(), nullptr);
    host().start(44100.0f, 512);
}

int threadCount()
{
    int n = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks))
            if (entry->d_name[0] != '.')
                ++n;
        closedir(tasks);
    }
    return n;
}

float peakOf(const std::vector<float>& buffer)
{
    float peak = 0.0f;
    for (float v : buffer)
        peak = std::fabs(v) > peak || std::isnan(v) ? (std::isnan(v) ? INFINITY : std::fabs(v)) : peak;
    return peak;
}

std::string TestHost::chunk()
{
    void* data = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &data);
    return size > 0 && data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

VstIntPtr TestHost::setChunk(std::string bytes)
{
    return dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

// The process's peak resident size in KiB, first reset to the present size when asked.
long residentPeakKiB(bool reset)
{
    if (reset) {
        FILE* refs = std::fopen("/proc/self/clear_refs", "w");
        if (refs) {
            std::fputs("5", refs);
            std::fclose(refs);
        }
    }
    long peak = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld", &peak) == 1)
                break;
        std::fclose(status);
    }
    return peak;
}
