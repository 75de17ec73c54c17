#include "engine/voice/voice.h"

#include "engine/pool.h"
#include "model/song/channel.h"

namespace {

void blankRow(TesselSubrow& row)
{
    row.clear();
    row.pitch = -1;
    row.instrument = 0;
    row.volume = -1;
    row.panning = -1;
    row.depth = -1;
    row.effect.command = '.';
    row.effect.parameter = 0;
}

} // namespace

TesselVoice::TesselVoice(TesselPositionTable* table) : positionTable(table)
{
    initState();
    blankRow(row);
    reset();
}

TesselVoice::~TesselVoice()
{
    freeEvents();
    current.unlink();
}

void TesselVoice::initState()
{
    position = 0;
    fraction = 0.0f;
    for (TesselEnvelopeState& e : envelopes)
        e = TesselEnvelopeState{};
    envelopes[kFilterEnvelope].running = 2;
    midi = TesselVoiceMidiState{};
    previousMidi = TesselVoiceMidiState{};
}

void TesselVoice::reset()
{
    current.copyValues(TesselVoiceEvent{});
    freeEvents();
    blankRow(row);
    static_cast<TesselVoiceFields&>(*this) = TesselVoiceFields{};
    initState();
    position = -1;
}

bool TesselVoice::channelMuted() const
{
    const TesselChannel* settings = channelSettings ? channelSettings : liveChannel;
    return settings && settings->mute != 0;
}

void TesselVoice::freeEvents()
{
    TesselEventNodePool* pool = TesselPools::events;
    for (TesselVoiceEvent* e = events; e;) {
        TesselVoiceEvent* next = e->following();
        if (pool)
            pool->release(e);
        e = next;
    }
    events = nullptr;
}

bool TesselVoice::appendEvent(const TesselVoiceEvent& source)
{
    if (events)
        return events->append(source);
    TesselEventNodePool* pool = TesselPools::events;
    events = pool ? pool->acquire(&source) : nullptr;
    return events != nullptr;
}

void TesselVoice::copyFrom(const TesselVoice& other)
{
    if (&other == this)
        return;
    assign(other);
    current.copyValues(other.current);
    freeEvents();
    for (const TesselVoiceEvent* e = other.events; e; e = e->following())
        if (!appendEvent(*e))
            break;
    row = other.row;
    subrowIndex = other.subrowIndex;
    positionTable = other.positionTable;
}
