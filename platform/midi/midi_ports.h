#pragma once
// The machine's MIDI output ports: a fixed list taken when the object is
// made (ports added later are not seen). Backends: alsa_midi_ports.cpp;
// tests use a recording fake.

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class MidiPorts {
public:
    virtual ~MidiPorts() = default;

    // Number of ports; 0 on a machine without a MIDI system.
    virtual int count() const = 0;
    // The port's display name; empty for an index out of range.
    virtual std::string name(int port) const = 0;
    // Engine's thread. False when the port cannot be opened.
    virtual bool open(int port) = 0;
    virtual void close(int port) = 0;
    // Any thread (the timer thread in practice): one channel message, status
    // in the low byte, then data 1 and data 2. False when not sent.
    virtual bool send(int port, uint32_t shortMessage) = 0;
};

// The system's writable MIDI ports (the ALSA sequencer's writable,
// subscribable ports of other clients). Never null.
std::unique_ptr<MidiPorts> openSystemMidiPorts();

} // namespace platform
