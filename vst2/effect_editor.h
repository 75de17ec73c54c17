#pragma once
// The editor side of the VST 2 boundary as the effect's dispatcher sees it:
// every operation answers "nothing here" until a subclass provides a window.
// The toolkit's editor base derives from it; the effect knows only this.

#include "vst2/effect_record.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual bool getRect(ERect** rect)
    {
        *rect = nullptr;
        return false;
    }
    virtual bool open(void* window)
    {
        systemWindow = window;
        return false;
    }
    virtual void close() {}
    virtual void idle()
    {
        if (updateFlag) {
            updateFlag = 0;
            update();
        }
    }
    virtual void update() {}
    virtual void postUpdate() { updateFlag = 1; }
    virtual VstInt32 onKeyDown(VstKeyCode& /*key*/) { return -1; }
    virtual VstInt32 onKeyUp(VstKeyCode& /*key*/) { return -1; }
    virtual VstInt32 setKnobMode(VstInt32 /*mode*/) { return 0; }
    virtual bool onWheel(float /*distance*/) { return false; }

    AudioEffect* getEffect() const { return effect; }
    void* getSystemWindow() const { return systemWindow; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    VstInt32 updateFlag = 0;
};
