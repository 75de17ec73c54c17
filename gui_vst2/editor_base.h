#pragma once
// The VST 2 editor that holds a toolkit frame; the plug-in's editor derives from it.

#include "vst2/effect_editor.h"

#include <cstdint>

class AudioEffect;
namespace VSTGUI {
class CFrame;
}
using VSTGUI::CFrame;

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
