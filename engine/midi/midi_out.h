#pragma once
// MIDI output of one engine: messages queued with a frame time inside the
// current block go to the host as VST events with each block (port 0,
// "(VST host)") or to the machine's MIDI ports through one timer thread.
// Queues and the hardware schedule have fixed capacities: nothing here
// allocates after construction except open(), which starts the timer thread.

#include "engine/midi/midi_queue.h"
#include "platform/midi/midi_ports.h"
#include "platform/system/timer_queue.h"
#include "platform/vst2_records.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TesselModule;

// What the MIDI output needs of its engine and plug-in.
class TesselMidiHost {
public:
    virtual ~TesselMidiHost() = default;
    virtual int32_t blockFrames() = 0;
    virtual double sampleRate() = 0;
    // Every voice that plays a MIDI note goes idle (stop and reset).
    virtual void idleMidiVoices() = 0;
    // The plug-in's sendVstEventsToHost.
    virtual bool sendVstEventsToHost(VstEvents* events) = 0;
};

constexpr int kMidiChannels = 16;
constexpr int kMidiNotes = 128;
constexpr uint8_t kMidiNoneSent = 255;

// Per port: note-on counts and the last values sent per MIDI channel.
struct TesselMidiPortState {
    int32_t noteOn[kMidiChannels][kMidiNotes];
    uint8_t lastProgram[kMidiChannels];
    uint8_t lastBankMsb[kMidiChannels];
    uint8_t lastBankLsb[kMidiChannels];
    uint8_t lastVolume[kMidiChannels];
    uint8_t lastPanning[kMidiChannels];
    uint8_t lastBend[kMidiChannels];
};

struct TesselMidiPortEntry {
    char name[256];
    bool open;
    TesselMidiPortState state;
};

inline uint32_t midiMessage(int status, int data1, int data2)
{
    return static_cast<uint32_t>(status & 0xFF) | static_cast<uint32_t>(data1 & 0x7F) << 8 |
           static_cast<uint32_t>(data2 & 0x7F) << 16;
}

class TesselMidiOut {
public:
    using TimerFactory = std::function<std::unique_ptr<platform::TimerQueue>()>;

    static constexpr int kMaxHostEvents = 256;

    // The machine's ports and a timer thread.
    TesselMidiOut();
    TesselMidiOut(std::unique_ptr<platform::MidiPorts> ports, TimerFactory makeTimers);
    ~TesselMidiOut();
    TesselMidiOut(const TesselMidiOut&) = delete;
    TesselMidiOut& operator=(const TesselMidiOut&) = delete;

    // Engine's thread.
    void attach(TesselMidiHost* host) { host_ = host; }
    void open();
    void close();
    // -1 means one block. Returns the delay in frames.
    int32_t setDelay(int32_t milliseconds);
    int32_t delay() const { return delayMs_; }
    int32_t delayFrames() const { return delayFrames_; }
    // Index of the port called name (case ignored), -1 when none.
    int32_t portIndex(const char* name) const;
    // Each instrument's port number from its port name; -1 for a name that
    // is not in the table. After a song is loaded or made.
    void resolveInstrumentPorts(TesselModule& song) const;

    int32_t portCount() const { return static_cast<int32_t>(ports_.size()); }
    const char* portName(int32_t port) const { return ports_[port].name; }
    bool portOpen(int32_t port) const { return ports_[port].open; }
    TesselMidiPortState& portState(int32_t port) { return ports_[port].state; }
    static void resetPortState(TesselMidiPortState& state);

    // Audio or editor thread; false when the message was dropped (no such
    // port, queue full or its lock not obtained in 500 ms).
    bool queueMessage(uint32_t message, int32_t port, int32_t time, bool beforeEqual = false);
    void notesOff();
    void resetControllers();
    // Audio thread, at the end of each block. Returns the messages handled.
    int processBlock(bool immediate);
    void setHardwareTimeOffset(double milliseconds) { hardwareTimeOffset_ = milliseconds; }
    // Refreshes the two queue counts.
    void countQueued();
    int hostQueued() const { return hostCount_; }
    int hardwareQueued() const { return hardwareCount_; }

    // Timer thread: sends the hardware messages that are due.
    void timerCallback();

private:
    void buildPortTable();
    void silenceVoices();
    int sendHostEvents();
    int scheduleHardware();
    void sendDue(bool frontNow, bool fromTimer);
    int32_t hardwareMilliseconds(int32_t frames) const;

    // What every block reads, side by side at the start (both queues'
    // published sizes included), so that with no MIDI going out a block
    // touches a line or two here.
    TesselMidiHost* host_ = nullptr;
    double hardwareTimeOffset_ = 0.0;
    // Set by the editor's thread, read by the audio thread.
    std::atomic<int32_t> delayMs_{0};
    std::atomic<int32_t> delayFrames_{0};
    TesselMidiQueue hostQueue_;
    TesselMidiQueue hardwareQueue_;
    int hostCount_ = 0;
    int hardwareCount_ = 0;

    std::unique_ptr<platform::MidiPorts> system_;
    TimerFactory makeTimers_;
    std::unique_ptr<platform::TimerQueue> timers_;
    std::vector<TesselMidiPortEntry> ports_;

    // Hardware messages waiting for their time, in milliseconds after
    // scheduleEpoch_ on the timer clock; the timer thread sends them.
    TesselMidiQueue schedule_;
    uint32_t scheduleEpoch_ = 0;
    bool timerPending_ = false;
    uint32_t timerDue_ = 0;

    VstMidiEvent hostEvents_[kMaxHostEvents];
    VstEventList<kMaxHostEvents> eventList_;
};
