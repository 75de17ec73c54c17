#pragma once
// What MIDI note entry on the audio thread leaves for the editor's thread:
// cursor steps, channels to redraw and the last note entered. The audio
// thread only adds to these; the editor takes them in its idle pass, so the
// pattern editor page is never driven from the audio thread.

#include <atomic>
#include <cstdint>

struct TesselMidiInputRequests {
    struct Taken {
        int32_t cursorSteps = 0;
        uint64_t redrawChannels = 0;   // bit c: channel c
        int32_t lastNote = -1;         // -1 = no note since the last take
    };

    // Audio thread; lock-free.
    void stepCursor() { cursorSteps.fetch_add(1, std::memory_order_relaxed); }
    void redraw(int channel)
    {
        if (channel >= 0 && channel < 64)
            redrawChannels.fetch_or(uint64_t{1} << channel, std::memory_order_relaxed);
    }
    void enteredNote(int note) { lastNote.store(note, std::memory_order_release); }

    // Editor thread: everything asked since the last take.
    Taken take()
    {
        Taken t;
        t.cursorSteps = cursorSteps.exchange(0, std::memory_order_acq_rel);
        t.redrawChannels = redrawChannels.exchange(0, std::memory_order_acq_rel);
        t.lastNote = lastNote.exchange(-1, std::memory_order_acq_rel);
        return t;
    }

    std::atomic<int32_t> cursorSteps{0};
    std::atomic<uint64_t> redrawChannels{0};
    std::atomic<int32_t> lastNote{-1};
};

// The MIDI modes of the "midiinmode" preference.
enum TesselMidiInMode : int32_t {
    kMidiInOff = 0,
    kMidiInOneChannel = 1,
    kMidiInSpread = 2,
};
