#pragma once
// The editor side of the VST 2 boundary as the effect's dispatcher sees it:
// every operation answers "nothing here" until a subclass provides a window.

#include "vst2/effect_record.h"

#include <cstdint>

class AudioEffect;
namespace VSTGUI {
class CFrame;
}
using VSTGUI::CFrame;

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

// The editor with a toolkit frame and a paced idle. The subclass fills `rect`
// at construction and makes `frame` in its `open`. User-interface thread only.
class AEffGUIEditor : public AEffEditor {
public:
    // Registers itself as the effect's editor and sets effFlagsHasEditor.
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override = default;

    bool getRect(ERect** rect) override;
    bool open(void* window) override;
    void idle() override;
    VstInt32 onKeyDown(VstKeyCode& key) override;
    VstInt32 onKeyUp(VstKeyCode& key) override;
    VstInt32 setKnobMode(VstInt32 /*mode*/) override { return 1; }
    bool onWheel(float distance) override;

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) { postUpdate(); }
    virtual void draw(ERect* rect);
    // At most one pass per 100 ms, never sooner than 46 ms after the last;
    // an early caller sleeps 4 ms at most. A pass is the idle (which pumps
    // the frame's window system) and the host's idle.
    virtual void doIdleStuff();
    virtual void beginEdit(VstInt32 index);
    virtual void endEdit(VstInt32 index);

    CFrame* getFrame() const { return frame; }

protected:
    // The clock of the paced idle; tests replace it.
    virtual uint32_t tickCount();
    virtual void sleepTicks(uint32_t ms);
    // The next pass may run at once; the constructor starts from here.
    void restartIdleClock() { nextIdle_ = tickCount(); }

    ERect rect{};
    CFrame* frame = nullptr;

private:
    uint32_t nextIdle_ = 0;
    bool inIdle_ = false;
};
