#pragma once
// A small VST 2 host for the library's tests: loads Quorbel.so with dlopen,
// finds "main", answers the host callback with a transport the test moves,
// and drives the dispatcher, processReplacing and processEvents.

#include "vst2/effect_record.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// One MIDI event the plug-in sent, with the block that carried it.
struct ReceivedMidi {
    int block;
    VstInt32 deltaFrames;
    std::array<int, 3> bytes;
};

struct TestHost {
    // The answers of the callback; one host per process.
    VstIntPtr version = 2400;
    VstTimeInfo time{};
    bool giveTime = true;
    std::vector<VstInt32> requests;
    // What audioMasterProcessEvents received, and the blocks rendered so far
    // (counted on the thread that renders, read on any that sends MIDI).
    std::vector<ReceivedMidi> midiReceived;
    std::atomic<int> blocksRendered{0};

    static TestHost& get();
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);

    // Loads the library; false with the loader's message when it fails.
    bool load(std::string& error);
    // effClose when an effect is open, then dlclose.
    void unload();
    // Calls main; the effect or null.
    AEffect* create();
    void close();
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // effOpen, rate, block size, resume, as hosts do before processing.
    void start(float rate, VstInt32 block);
    // One block into the two output buffers, which are resized to `frames`.
    void render(VstInt32 frames);
    // Advances the host's transport by one block of `frames` while playing.
    void advance(VstInt32 frames);
    void sendMidi(uint8_t status, uint8_t data1, uint8_t data2);
    // The song through effGetChunk (empty when refused) and effSetChunk (its answer).
    std::string chunk();
    VstIntPtr setChunk(std::string bytes);

    void* symbol(const char* name) const;

    void* library = nullptr;
    AEffect* effect = nullptr;
    std::vector<float> left;
    std::vector<float> right;
};

// A test with the library loaded and one plug-in started at 44.1 kHz, 512 frames.
class StartedPluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { host().unload(); }
    static TestHost& host() { return TestHost::get(); }
};

int threadCount();
// The process's peak resident size in KiB, first reset to the present size when asked.
long residentPeakKiB(bool reset);
float peakOf(const std::vector<float>& buffer);
