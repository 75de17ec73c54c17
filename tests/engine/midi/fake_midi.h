#pragma once
// Recording stand-ins for the MIDI output's surroundings: ports that log
// what reaches them and when, a timer queue on a clock the test moves, and
// a host that keeps every event list it is sent.

#include "engine/midi/midi_out.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct SentMessage {
    int port;
    uint32_t message;
    uint32_t at; // fake timer clock
    std::chrono::steady_clock::time_point when;
};

class FakeTimerQueue : public platform::TimerQueue {
public:
    struct Timer {
        uint32_t due;
        uint32_t delay;
        Callback callback;
        void* context;
    };

    uint32_t now() override { return clock; }
    bool schedule(uint32_t delayMs, Callback callback, void* context) override
    {
        timers.push_back({clock + delayMs, delayMs, callback, context});
        scheduledDelays.push_back(delayMs);
        return true;
    }
    void cancel(void* context) override
    {
        std::erase_if(timers, [&](const Timer& t) { return t.context == context; });
    }
    // Moves the clock forward, firing each timer at its own time.
    void advance(uint32_t ms)
    {
        const uint32_t end = clock + ms;
        for (;;) {
            auto next = std::min_element(timers.begin(), timers.end(),
                                         [](const Timer& a, const Timer& b) { return a.due < b.due; });
            if (next == timers.end() || next->due > end)
                break;
            Timer t = *next;
            timers.erase(next);
            clock = t.due;
            t.callback(t.context);
        }
        clock = end;
    }

    uint32_t clock = 1000;
    std::vector<Timer> timers;
    std::vector<uint32_t> scheduledDelays;
};

class FakeMidiPorts : public platform::MidiPorts {
public:
    explicit FakeMidiPorts(std::vector<std::string> names) : names_(std::move(names)) {}

    int count() const override { return static_cast<int>(names_.size()); }
    std::string name(int port) const override { return port >= 0 && port < count() ? names_[port] : ""; }
    bool open(int port) override { return port >= 0 && port < count() && names_[port] != "broken"; }
    void close(int port) override { closed.push_back(port); }
    bool send(int port, uint32_t message) override
    {
        std::lock_guard<std::mutex> guard(lock);
        sent.push_back({port, message, timers ? timers->clock : 0, std::chrono::steady_clock::now()});
        return true;
    }
    std::vector<SentMessage> sentSoFar()
    {
        std::lock_guard<std::mutex> guard(lock);
        return sent;
    }

    std::vector<SentMessage> sent;
    std::vector<int> closed;
    const FakeTimerQueue* timers = nullptr;

private:
    std::mutex lock; // the real timer thread sends while the test reads
    std::vector<std::string> names_;
};

struct HostEvent {
    int32_t deltaFrames;
    uint8_t status, data1, data2;
};

// An event's status and data bytes, so a test compares a whole message at once.
using MidiBytes = std::array<int, 3>;
inline MidiBytes bytesOf(const HostEvent& e) { return {e.status, e.data1, e.data2}; }

class FakeMidiHost : public TesselMidiHost {
public:
    int32_t blockFrames() override { return block; }
    double sampleRate() override { return rate; }
    void idleMidiVoices() override { ++idled; }
    bool sendVstEventsToHost(VstEvents* events) override
    {
        std::vector<HostEvent> list;
        for (int i = 0; i < events->numEvents; ++i) {
            auto* e = reinterpret_cast<VstMidiEvent*>(events->events[i]);
            EXPECT_EQ(e->type, kVstMidiType);
            EXPECT_EQ(e->byteSize, 24);
            list.push_back({e->deltaFrames, static_cast<uint8_t>(e->midiData[0]), static_cast<uint8_t>(e->midiData[1]),
                            static_cast<uint8_t>(e->midiData[2])});
        }
        blocks.push_back(list);
        return true;
    }

    int32_t block = 512;
    double rate = 44100.0;
    int idled = 0;
    std::vector<std::vector<HostEvent>> blocks;
};

// A MIDI output on fake ports and a fake timer clock, attached to a fake host.
struct MidiRig {
    explicit MidiRig(std::vector<std::string> names = {"Synth A", "Synth B"})
    {
        auto fakePorts = std::make_unique<FakeMidiPorts>(std::move(names));
        ports = fakePorts.get();
        out = std::make_unique<TesselMidiOut>(std::move(fakePorts), [this] {
            auto t = std::make_unique<FakeTimerQueue>();
            timers = t.get();
            ports->timers = timers;
            return t;
        });
        out->attach(&host);
    }
    FakeMidiHost host;
    FakeMidiPorts* ports = nullptr;
    FakeTimerQueue* timers = nullptr;
    std::unique_ptr<TesselMidiOut> out;
};
