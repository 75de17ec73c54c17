#pragma once
// A host for the audio block: the plug-in side (time information, block
// size, instances) and an editor with a pattern editor page for MIDI input.

#include "engine/engine.h"
#include "platform/vst2_records.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace block_test {

struct BlockPlugin : TesselPluginLink {
    intptr_t canHostDo(const char* what) override { return sendsTime && std::strcmp(what, "sendVstTimeInfo") == 0; }
    const char* hostVendor() const override { return vendor; }
    const VstTimeInfo* hostTimeInfo(int32_t filter) override
    {
        lastFilter = filter;
        return withTime ? &time : nullptr;
    }
    int32_t hostBlockSize() const override { return blockSize; }
    void noteHostBlockSize(int32_t frames) override { blockSize = frames; }
    int32_t instanceCount() const override { return instances; }
    double hostPositionOffset() const override { return offset; }
    bool sendHostEvents(VstEvents* events) override
    {
        for (VstInt32 i = 0; i < events->numEvents; ++i)
            sentToHost.push_back(*reinterpret_cast<const VstMidiEvent*>(events->events[i]));
        return true;
    }

    // A host at 125 BPM and 44.1 kHz standing at quarter `ppq` with these flags.
    void at(double ppq, int32_t flags)
    {
        withTime = true;
        time = VstTimeInfo{};
        time.tempo = 125.0;
        time.sampleRate = 44100.0;
        time.ppqPos = ppq;
        time.samplePos = ppq * 60.0 / time.tempo * time.sampleRate;
        time.flags = flags;
    }
    // A host transport starting at `tempo` from ppq 0; advance() moves it on.
    void play(double bpm, double rate)
    {
        at(0.0, kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid);
        time.tempo = bpm;
        time.sampleRate = rate;
    }
    void advance(int frames)
    {
        time.samplePos += frames;
        time.ppqPos = time.samplePos / time.sampleRate * time.tempo / 60.0;
        time.flags &= ~kVstTransportChanged;
    }

    bool sendsTime = false;
    bool withTime = false;
    VstTimeInfo time{};
    int32_t lastFilter = 0;
    int32_t blockSize = 0;
    int32_t instances = 1;
    double offset = 0.0;
    const char* vendor = "";
    std::vector<VstMidiEvent> sentToHost;
};

struct BlockEditor : TesselEditorLink {
    int32_t currentPattern() const override { return pattern; }
    bool noteEntry(TesselNoteEntry& e) const override
    {
        e = entry;
        return hasPage;
    }

    int32_t pattern = 0;
    bool hasPage = true;
    TesselNoteEntry entry{.isCurrentPage = true};
};

// A list of MIDI events built from (status, data1, data2) triples.
struct MidiList {
    void add(int status, int data1, int data2)
    {
        VstMidiEvent e{};
        e.type = kVstMidiType;
        e.byteSize = kVstMidiEventByteSize;
        e.midiData[0] = static_cast<char>(status);
        e.midiData[1] = static_cast<char>(data1);
        e.midiData[2] = static_cast<char>(data2);
        events.push_back(e);
    }
    const VstEvents* get()
    {
        storage.assign(2 + std::max<size_t>(events.size(), 2), nullptr);
        pointers = reinterpret_cast<VstEvents*>(storage.data());
        pointers->numEvents = static_cast<VstInt32>(events.size());
        pointers->reserved = 0;
        for (size_t i = 0; i < events.size(); ++i)
            pointers->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
        return pointers;
    }

    std::vector<VstMidiEvent> events;
    std::vector<void*> storage;
    VstEvents* pointers = nullptr;
};

} // namespace block_test
