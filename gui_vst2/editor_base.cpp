#include "gui_vst2/editor_base.h"

#include "gui/frame/frame.h"
#include "platform/system/clock.h"
#include "vst2/audio_effect_x.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect)
{
    if (effect) {
        effect->getAeffect()->flags |= effFlagsHasEditor;
        effect->setEditor(this);
    }
    nextIdle_ = platform::milliseconds();   // tickCount is not yet the subclass's here
}

bool AEffGUIEditor::getRect(ERect** out)
{
    *out = &rect;
    return true;
}

bool AEffGUIEditor::open(void* window)
{
    postUpdate();
    return AEffEditor::open(window);
}

void AEffGUIEditor::idle()
{
    if (inIdle_)
        return;
    AEffEditor::idle();
    if (frame)
        frame->idle();
    // No one else reads the window system's events: every idle drains them,
    // paints, fires due timers and presents, without blocking.
    if (platform::WindowSystem* windows = frame ? frame->getWindowSystem() : nullptr)
        windows->pump();
}

VstInt32 AEffGUIEditor::onKeyDown(VstKeyCode& key)
{
    return frame ? frame->onKeyDown(key) : -1;
}

VstInt32 AEffGUIEditor::onKeyUp(VstKeyCode& key)
{
    return frame ? frame->onKeyUp(key) : -1;
}

bool AEffGUIEditor::onWheel(float distance)
{
    return frame ? frame->onWheel(nullptr, CPoint{}, distance) : false;
}

void AEffGUIEditor::draw(ERect* /*rect*/)
{
    if (frame)
        frame->draw(static_cast<CDrawContext*>(nullptr));
}

void AEffGUIEditor::doIdleStuff()
{
    uint32_t now = tickCount();
    if (static_cast<int32_t>(nextIdle_ - now) > 0) {
        sleepTicks(4);
        now += 4;
        if (static_cast<int32_t>(nextIdle_ - now) > 50)
            return;
    }
    idle();
    nextIdle_ = now + 100;
    inIdle_ = true;
    if (effect)
        effect->masterIdle();
    inIdle_ = false;
}

void AEffGUIEditor::beginEdit(VstInt32 index)
{
    if (auto* x = dynamic_cast<AudioEffectX*>(effect))
        x->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index)
{
    if (auto* x = dynamic_cast<AudioEffectX*>(effect))
        x->endEdit(index);
}

uint32_t AEffGUIEditor::tickCount()
{
    return platform::milliseconds();
}

void AEffGUIEditor::sleepTicks(uint32_t ms)
{
    platform::sleepMilliseconds(ms);
}
