#include "engine/voice/voice_event.h"

#include "engine/pool.h"

void TesselVoiceEvent::copyValues(const TesselVoiceEvent& source)
{
    gain0 = source.gain0;
    gain1 = source.gain1;
    pitch = source.pitch;
    start = source.start;
    end = source.end;
    state = source.state;
    bus = source.bus;
}

bool TesselVoiceEvent::differs(const TesselVoiceEvent& other) const
{
    return gain0 != other.gain0 || gain1 != other.gain1 || pitch != other.pitch || state != other.state ||
           bus != other.bus;
}

TesselVoiceEvent* TesselVoiceEvent::last()
{
    TesselVoiceEvent* e = this;
    while (TesselVoiceEvent* n = e->following())
        e = n;
    return e;
}

int TesselVoiceEvent::chainLength() const
{
    int n = 1;
    for (const TesselVoiceEvent* e = following(); e; e = e->following())
        ++n;
    return n;
}

void TesselVoiceEvent::setFlags(uint8_t s)
{
    for (TesselVoiceEvent* e = this; e; e = e->following())
        e->state = s;
}

bool TesselVoiceEvent::append(const TesselVoiceEvent& source)
{
    TesselEventNodePool* pool = TesselPools::events;
    TesselVoiceEvent* record = pool ? pool->acquire(&source) : nullptr;
    if (!record)
        return false;
    TesselVoiceEvent* tail = last();
    tail->next = record;
    record->previous = tail;
    return true;
}

void TesselVoiceEvent::unlink()
{
    TesselVoiceEvent* n = following();
    if (previous && previous->next == this)
        previous->next = n;
    if (n && n->previous == this)
        n->previous = previous;
    previous = nullptr;
    next = nullptr;
}
