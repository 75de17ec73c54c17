#pragma once
// What MIDI note entry on the audio thread leaves for the editor's thread:
// the cells to write, cursor steps, channels to redraw and the last note
// entered. The audio thread only adds to these; the editor takes them in its
// idle pass, so the pattern editor page is never driven from the audio
// thread, and the song's cells have one writer, the editor's thread, whose
// own drawing then never meets a cell half written.

#include <array>
#include <atomic>
#include <cstdint>

// One note entered by MIDI input: where it goes and the fields it writes
// there; the cell's other fields stay as they are.
struct TesselMidiCellWrite {
    enum Fields : uint8_t {
        kInstrument = 1,
        kVolume = 2,   // with panning and depth
        kLetter = 4,
        kParameter = 8,
    };
    int32_t song = 0;   // songCounter when entered: a song loaded since takes none of it
    int16_t pattern = 0;
    int16_t channel = 0;
    int16_t row = 0;
    uint8_t fields = 0;   // the pitch is always written
    int16_t pitch = -1;
    int16_t instrument = 0;
    int16_t volume = -1;
    int16_t panning = -1;
    int16_t depth = -1;
    char letter = '.';
    int16_t parameter = 0;
};

// A fixed ring with one producer (the audio thread) and one consumer (the
// editor's thread): no allocation, no lock. A full ring drops the write; the
// note still sounds.
class TesselMidiCellQueue {
public:
    static constexpr uint32_t kCapacity = 512;

    bool push(const TesselMidiCellWrite& write)
    {
        const uint32_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kCapacity)
            return false;
        slots_[head % kCapacity] = write;
        head_.store(head + 1, std::memory_order_release);
        return true;
    }
    // Hands every waiting write to `apply`, oldest first.
    template <typename Apply>
    void drain(Apply apply)
    {
        uint32_t tail = tail_.load(std::memory_order_relaxed);
        const uint32_t head = head_.load(std::memory_order_acquire);
        for (; tail != head; ++tail)
            apply(slots_[tail % kCapacity]);
        tail_.store(tail, std::memory_order_release);
    }
    bool empty() const { return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire); }

private:
    std::array<TesselMidiCellWrite, kCapacity> slots_{};
    std::atomic<uint32_t> head_{0};
    std::atomic<uint32_t> tail_{0};
};

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

    // The notes to write into their cells (TesselEngine::enterMidiCells).
    TesselMidiCellQueue cells;
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
