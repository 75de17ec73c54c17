#include "engine/transport_release.h"

#include "engine/voice/voice.h"
#include "engine/voice/voice_midi.h"

#include "model/instrument/instrument.h"
#include "model/song/channel.h"

namespace {

void markReleased(TesselVoice& voice)
{
    for (TesselVoiceEvent* e = voice.events; e; e = e->following())
        if (e->state != 0)
            e->state |= voice_state::kReleased;
}

} // namespace

void silenceVoice(TesselVoice& voice, int blockFrames)
{
    voice.cut();
    voice.computeTick();
    // A bare released flag leaves a looping sample at full gain forever and
    // the transport never reaches its stopped state; the gain targets go
    // to 0 for the mixer's ramp, also for voices without an instrument
    // (which the tick update leaves alone).
    voice.current.gain0 = 0.0f;
    voice.current.gain1 = 0.0f;
    voice.leftGain = 0;
    voice.rightGain = 0;
    markReleased(voice);
    voice.recordEvent(eventSpan(blockFrames));
}

void releaseKey(TesselVoice& voice, int blockFrames)
{
    const int action = voice.instrument ? voice.instrument->newNoteAction : 0;
    switch (action) {
    case 0:
        silenceVoice(voice, blockFrames);
        break;
    case 2:
        voice.noteOff();
        break;
    case 3:
        voice.startFade();
        break;
    default:
        break;
    }
    if (voice.events)
        voice.events->state = voice.state();
    if ((voice.state() & voice_state::kMidi) && voice.liveChannel)
        sendVoiceMidi(voice, *voice.liveChannel, 0);
}
