// The voice row step: defaults by the row flags, the mix columns, the effect
// set-up and the values the MIDI step and the mixer read.
#include "engine/voice/voice.h"
#include "engine/voice/voice_flags.h"
#include "engine/voice/voice_midi.h"

#include "model/song/channel.h"

#include <algorithm>

using namespace voice_flag;

namespace {

constexpr int32_t kClearHighBits = 8192;
constexpr uint16_t kHighBit = 0x80;

bool isPosition(int32_t v)
{
    return v >= 0 && v <= 64;
}

} // namespace

void TesselVoice::updateRow(int blockOffset, TesselRandom& random)
{
    if (flags & kNewPitch)
        takePitchDefaults();
    if (flags & kNewInstrument)
        takeInstrumentDefaults();
    if (flags & kNewNote) {
        setState(noteState());
        startNote();
        takeNoteDefaults(random);
    }
    if (flags & kNewPitch)
        takeSeparation();
    applyMixColumns();
    runEffectSlots();
    computeRowValues();
    if (liveChannel)
        sendVoiceMidi(*this, *liveChannel, blockOffset);
}

void TesselVoice::applyMixColumns()
{
    const int32_t v = row.volume;
    if (isPosition(v) && (newNoteAction != 0 || !(state() & voice_state::kReleased))) {
        if ((state() & voice_state::kMidi) && (flags & kNewNote))
            velocity = static_cast<uint8_t>(v);
        else
            setVolume(v);
        flags |= kVolumeSet;
    }

    const int32_t p = row.panning;
    if (isPosition(p)) {
        setPanning(p);
        flags |= kPanningSet;
    } else if (p == kClearHighBits) {
        panning &= static_cast<uint16_t>(~kHighBit);
        depth &= static_cast<uint8_t>(~kHighBit);
    } else if (p > 127) {
        panning = static_cast<uint16_t>((panning & 127) | p);
        flags |= kPanningSet;
    }

    const int32_t d = row.depth;
    if (isPosition(d)) {
        depth = effectiveDepth = static_cast<uint8_t>(d);
        panning &= static_cast<uint16_t>(~kHighBit);
        flags |= kPanningSet;
    } else if (d == kClearHighBits) {
        panning &= static_cast<uint16_t>(~kHighBit);
        depth &= static_cast<uint8_t>(~kHighBit);
    } else if (d > 127) {
        depth = static_cast<uint8_t>((depth & 127) | d);
        flags |= kPanningSet;
    }
}

void TesselVoice::computeRowValues()
{
    if (!instrument)
        return;
    updateEffectiveVolume();
    updateEffectivePanning();
    updateEffectiveDepth();
    tickPitch();
    updateEffectiveFilter();
    updateFilter();
}

void TesselVoice::recordEventAt(int offset, int blockFrames)
{
    const uint16_t end = static_cast<uint16_t>(std::clamp(blockFrames, 0, 0xFFFF));
    const uint16_t start = static_cast<uint16_t>(std::clamp<int>(offset, 0, end));
    TesselVoiceEvent* tail = events ? events->last() : nullptr;
    if (tail && !current.differs(*tail))
        return;
    current.start = start;
    current.end = end;
    if (tail && tail->start == start) {
        tail->copyValues(current);
        return;
    }
    const uint16_t tailEnd = tail ? tail->end : 0;
    if (tail && tail->start < start)
        tail->end = start;
    if (!appendEvent(current) && tail)
        tail->end = tailEnd;   // the pool ran dry: the last event goes on
}
