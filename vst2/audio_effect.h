#pragma once
// The plug-in side of the VST 2 boundary: the AEffect record the host holds
// and the class that turns its opcodes into virtual operations. Subclasses
// override what they implement; every other operation keeps a neutral default.
// Threads: process and processReplacing on the host's audio thread, the
// dispatcher on the host's dispatcher thread; no lock is taken here.

#include "vst2/effect_record.h"

class AEffEditor;

constexpr VstInt32 kDefaultUniqueId = 0x4E6F4566;  // 'NoEf'
constexpr VstIntPtr kEffectIdentity = 0x4E764566;  // 'NvEf'

// The five plain entry functions stored in the record.
VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);
void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void setParameterClass(AEffect* e, VstInt32 index, float value);
float getParameterClass(AEffect* e, VstInt32 index);

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    virtual void setParameterAutomated(VstInt32 index, float value);
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    virtual void open() {}
    virtual void close() {}
    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual void setProgramName(char* name) { clearText(name); }
    virtual void getProgramName(char* name) { clearText(name); }
    virtual void getParameterLabel(VstInt32 /*index*/, char* label) { clearText(label); }
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { clearText(text); }
    virtual void getParameterName(VstInt32 /*index*/, char* text) { clearText(text); }
    virtual float getVu() { return 0.0f; }
    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/ = false) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/ = false) { return 0; }
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(VstInt32 frames) { blockSize = frames; }
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
    virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
    virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
    virtual void setRealtimeQualities(VstInt32 qualities) { cEffect.realQualities = qualities; }
    virtual void setOfflineQualities(VstInt32 qualities) { cEffect.offQualities = qualities; }
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
    virtual float getSampleRate() { return sampleRate; }
    virtual VstInt32 getBlockSize() { return blockSize; }
    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);
    virtual void dB2string(float value, char* text);
    virtual void Hz2string(float samples, char* text);
    virtual void ms2string(float samples, char* text);
    virtual void float2string(float value, char* text);
    virtual void long2string(VstInt32 value, char* text);

    AEffect* getAeffect() { return &cEffect; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }
    // Takes ownership; the editor registers itself through this.
    void setEditor(AEffEditor* e) { editor = e; }

protected:
    // Calls the host with this effect; 0 without a callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    void setFlag(VstInt32 flag, bool state);
    static void clearText(char* text)
    {
        if (text)
            *text = 0;
    }

    float sampleRate = 44100.0f;
    AEffEditor* editor = nullptr;
    audioMasterCallback audioMaster;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram = 0;
    VstInt32 blockSize = 1024;
    AEffect cEffect;
};
