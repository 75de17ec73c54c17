// The audio side of the plug-in: blocks from the engine's output block into
// the host's buffers, block size and rate, the host's MIDI, and the
// dispatcher's calls beyond the effect base's.
//
// The crash filter stays installed for the plug-in's whole life; unlike a
// structured-exception translator, a signal handler cannot resume the call,
// so nothing is installed around each block.
#include "plugin/plugin_object.h"
#include "shell/preferences.h"

#include "engine/midi/midi_out.h"
#include "engine/vector/vector.h"
#include "plugin/engine_calls.h"
#include "plugin/plugin_editor.h"
#include "plugin/plugin_globals.h"
#include "vst2/quit_question.h"

void TesselPlugin::process(float** /*inputs*/, float** outputs, VstInt32 sampleFrames)
{
    if (outputChannels_ < 0 || !outputs || sampleFrames <= 0)
        return;
    // The host gave buffers for its declared outputs only.
    int channels = outputChannels_;
    if (channels > cEffect.numOutputs)
        channels = cEffect.numOutputs;
    if (!engine.output.isReady(0)) {
        zeroAfter(outputs, channels, 0, sampleFrames, 0);
        return;
    }
    engine.output.applyClearRequest();   // a load's, before a stale block is copied
    // The output block holds 16384 frames: a longer host block is rendered in parts.
    bool render = !engine.output.pending;
    for (VstInt32 done = 0; done < sampleFrames;) {
        const VstInt32 left = sampleFrames - done;
        const VstInt32 part = left < TesselBusBuffer::kFrames ? left : TesselBusBuffer::kFrames;
        renderPart(outputs, channels, done, part, render);
        done += part;
        render = true;
    }
}

void TesselPlugin::renderPart(float** outputs, int channels, VstInt32 offset, VstInt32 frames, bool render)
{
    // Each frame of the host's buffers is stored once, the engine's block or
    // silence: a block paced at real time starts with those lines cold.
    int copied = 0;
    if ((!render || engine.process(frames)) && engine.output.pending) {
        float* at[TesselBusBuffer::kChannels] = {};
        for (int c = 0; c < channels && c < TesselBusBuffer::kChannels; ++c)
            at[c] = outputs[c] ? outputs[c] + offset : nullptr;
        copied = engine.blockFrames;
        if (copied > frames)
            copied = frames;
        if (copied < 0)
            copied = 0;
        engine.output.copyTo(at, channels, copied);
    }
    zeroAfter(outputs, channels, offset, frames, copied);
}

void TesselPlugin::zeroAfter(float** outputs, int channels, VstInt32 offset, VstInt32 frames, int copied)
{
    for (int c = 0; c < channels; ++c) {
        if (!outputs[c])
            continue;
        const int from = c < TesselBusBuffer::kChannels ? copied : 0;
        if (from < frames)
            vecZero(outputs[c] + offset + from, frames - from);
    }
}

void TesselPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    process(inputs, outputs, sampleFrames);
}

VstIntPtr TesselPlugin::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode == kOpcodeIsPlaying)
        return engine.isPlaying() ? 1 : 0;
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

VstIntPtr TesselPlugin::vendorSpecific(VstInt32 index, VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/)
{
    if (index == kVendorQuitQuestion && pluginEditor_)
        return pluginEditor_->answerQuitQuestion();
    return kQuitNotAnswered;
}

VstInt32 TesselPlugin::processEvents(VstEvents* events)
{
    if (events && events->numEvents >= 1)
        engineMidiInput(engine, events);
    return 1;
}

int32_t TesselPlugin::instanceCount() const
{
    return pluginInstances().count.load();
}

double TesselPlugin::hostPositionOffset() const
{
    return hostIdentity().positionOffset;
}

void TesselPlugin::setSampleRate(float rate)
{
    sampleRate = rate;
    // The engine first: the MIDI delay in frames comes from its rate.
    engine.setSampleRate(rate);
    setBlockSize(getBlockSize());
}

void TesselPlugin::setBlockSize(VstInt32 frames)
{
    blockSize = frames;
    if (engine.midiOut)
        engine.midiOut->setDelay(pluginPreferences().midiDelay);
    engine.output.pending = 0;
    engine.output.frames = frames < 0 ? 0 : (frames < TesselBusBuffer::kFrames ? frames : TesselBusBuffer::kFrames);
    engine.output.clear();
}

void TesselPlugin::resume()
{
    wantEvents(1);
}
