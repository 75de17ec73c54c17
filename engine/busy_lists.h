#pragma once
// Which of the 65 voice lists may have work: a node waiting out a note
// delay, a voice that is not idle or has events, or past-note nodes. The
// block's mixing pass and each tick visit only these, in list order; a list
// is marked wherever a voice of it can start or gain an event, and unmarked
// by the mixing pass once it finds the list quiet. All marked is always
// right, only slower.
//
// Beside it, which lists are settled: the row step found their blank cell
// would leave them exactly as they are (TesselEngine::blankCellSettled),
// and nothing has marked them since. Whatever changes a list's voices marks
// the list (the row step, a tick, an audition, a key release) or all of them
// (a stop, a restart, a new song), so a settled list stays settled until
// then and the row step passes its blank cells without reading its voice.

#include <cstdint>

class TesselBusyLists {
public:
    static constexpr int kLists = 65;

    void mark(int list)
    {
        if (list >= 0 && list < kLists) {
            words_[list >> 6] |= uint64_t{1} << (list & 63);
            settled_[list >> 6] &= ~(uint64_t{1} << (list & 63));
        }
    }
    void markAll()
    {
        words_[0] = ~uint64_t{0};
        words_[1] = 1;
        forgetSettled();
    }
    void unmark(int list) { words_[list >> 6] &= ~(uint64_t{1} << (list & 63)); }
    bool marked(int list) const { return (words_[list >> 6] >> (list & 63)) & 1; }

    // Calls visit(list) for each list marked when the walk starts, in
    // ascending order; visit may unmark.
    template <class Visit>
    void forEach(Visit&& visit) const
    {
        for (int w = 0; w < 2; ++w)
            for (uint64_t bits = words_[w]; bits; bits &= bits - 1)
                visit(w * 64 + __builtin_ctzll(bits));
    }

    void settle(int list)
    {
        if (list >= 0 && list < kLists)
            settled_[list >> 6] |= uint64_t{1} << (list & 63);
    }
    bool settled(int list) const { return list >= 0 && list < kLists && ((settled_[list >> 6] >> (list & 63)) & 1); }
    void forgetSettled()
    {
        settled_[0] = 0;
        settled_[1] = 0;
    }

private:
    uint64_t words_[2] = {~uint64_t{0}, 1};
    uint64_t settled_[2] = {0, 0};
};
