#pragma once
// The one plug-in object of the process: the VST 2 effect that embeds the
// replay engine, owns the editor, moves the engine's blocks into the host's
// buffers, passes the host's MIDI on and hands the song over as a chunk.
// Threads: process, processReplacing and processEvents on the host's audio
// thread; everything else on its dispatcher thread. No lock of its own.

#include "engine/engine.h"
#include "vst2/audio_effect_x.h"

#include <cstdint>

class TesselPluginEditor;

constexpr VstInt32 kQuorbelUniqueId = 0x33323638;   // '3268'
constexpr VstInt32 kOpcodeIsPlaying = -1;           // private: 1 while the song plays
constexpr const char* kProductName = "Quorbel";
constexpr const char* kVendorName = "Quorbel Audio";

class TesselPlugin : public AudioEffectX, public TesselPluginLink {
public:
    // Sets pluginInstances().constructionFailed when the editor cannot be made.
    explicit TesselPlugin(audioMasterCallback audioMaster);
    ~TesselPlugin() override;

    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    VstInt32 getChunk(void** data, bool isPreset = false) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;
    void setSampleRate(float rate) override;
    void setBlockSize(VstInt32 frames) override;
    void resume() override;
    VstInt32 processEvents(VstEvents* events) override;
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
    VstPlugCategory getPlugCategory() override { return kPlugCategSynth; }
    VstInt32 canHostDo(char* text) override;
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    bool getVendorString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 canDo(char* text) override;
    bool keysRequired() override { return true; }

    // TesselPluginLink, for the engine.
    intptr_t canHostDo(const char* what) override;
    const char* hostVendor() const override;
    const VstTimeInfo* hostTimeInfo(int32_t filter) override { return getTimeInfo(filter); }
    int32_t hostBlockSize() const override { return blockSize; }
    void noteHostBlockSize(int32_t frames) override { blockSize = frames; }
    int32_t instanceCount() const override;
    double hostPositionOffset() const override;
    bool sendHostEvents(VstEvents* events) override { return sendVstEventsToHost(events); }

    TesselEngine& getEngine() { return engine; }
    TesselPluginEditor* pluginEditor() const { return pluginEditor_; }

private:
    void askHostIdentity();
    void makeEditor(audioMasterCallback audioMaster);
    // Renders (unless a block is pending) and copies at most one output block.
    void renderPart(float** outputs, int channels, VstInt32 offset, VstInt32 frames, bool render);
    // Silence in the part's frames from `copied` on (all of them past the engine's channels).
    static void zeroAfter(float** outputs, int channels, VstInt32 offset, VstInt32 frames, int copied);
    void freeChunk();
    // The status line after a chunk loaded, naming samples it could not read.
    void reportUnreadSamples();

    // Refreshes outputChannels_ after the output arrangement changed.
    void noteOutputArrangement();

    VstSpeakerArrangement* outputArrangement = nullptr;
    VstSpeakerArrangement* inputArrangement = nullptr;
    // The output arrangement's channel count (-1 without one), kept here so
    // that a block does not reach into the arrangement's own allocation.
    int outputChannels_ = -1;
    TesselPluginEditor* pluginEditor_ = nullptr;
    bool crashFilterInstalled_ = false;
    // The last block handed to the host by getChunk; ours until the next call.
    void* chunk_ = nullptr;
    // Last, so that the fields above share the first lines a block reads with
    // the start of the engine, whose block fields come first.
    TesselEngine engine;
};
