#include "engine/midi/engine_midi.h"

#include "engine/bus_buffer.h"
#include "engine/engine.h"
#include "engine/voice/voice.h"

#include <algorithm>

int32_t TesselEngineMidiHost::blockFrames()
{
    // The plug-in's block size follows every rendered block; the engine's
    // own count is 0 until the first one.
    if (!engine_.plugin)
        return engine_.blockFrames;
    return std::clamp<int32_t>(engine_.plugin->hostBlockSize(), 0, TesselBusBuffer::kFrames);
}

double TesselEngineMidiHost::sampleRate()
{
    return engine_.sampleRate;
}

void TesselEngineMidiHost::idleMidiVoices()
{
    for (TesselChannelVoiceList& list : engine_.voiceLists)
        for (TesselVoiceListNode* node = list.head; node; node = node->next)
            if (node->voice && (node->voice->state() & voice_state::kMidi))
                node->voice->setState(voice_state::kIdle);
}

bool TesselEngineMidiHost::sendVstEventsToHost(VstEvents* events)
{
    return engine_.plugin && engine_.plugin->sendHostEvents(events);
}
