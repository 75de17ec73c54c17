#pragma once
// A voice's parameter state for one span of the current block. Voices chain
// these per block (records from the event-node pool); the mixer renders the
// chain in order.

#include <cstdint>

struct TesselVoiceEvent {
    float gain0 = 0.0f;        // target gain of output channel 0
    float gain1 = 0.0f;
    float pitch = 1.0f;        // sample frames per output frame
    uint16_t start = 0;        // first frame of the block this event covers
    uint16_t end = 0;          // frame after the last one
    uint8_t state = 0;         // the voice's state byte
    uint8_t bus = 1;           // output bus (0 = main)
    TesselVoiceEvent* previous = nullptr;
    TesselVoiceEvent* next = nullptr;   // null, or the event itself, ends the chain

    // The values without the links.
    void copyValues(const TesselVoiceEvent& source);
    bool differs(const TesselVoiceEvent& other) const;

    TesselVoiceEvent* following() const { return next == this ? nullptr : next; }
    TesselVoiceEvent* last();
    int chainLength() const;
    void setFlags(uint8_t s);   // this event and every later one

    // Links a pool record holding the source's values after the last event.
    // False when the event-node pool is exhausted, busy or missing: the caller's
    // event is dropped.
    bool append(const TesselVoiceEvent& source);
    // Joins the neighbours to each other and clears both links.
    void unlink();
};
