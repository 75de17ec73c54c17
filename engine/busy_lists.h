#pragma once
// Which of the 65 voice lists may have work: a node waiting out a note
// delay, a voice that is not idle or has events, or past-note nodes. The
// block's mixing pass and each tick visit only these, in list order; a list
// is marked wherever a voice of it can start or gain an event, and unmarked
// by the mixing pass once it finds the list quiet. All marked is always
// right, only slower.

#include <cstdint>

class TesselBusyLists {
public:
    static constexpr int kLists = 65;

    void mark(int list)
    {
        if (list >= 0 && list < kLists)
            words_[list >> 6] |= uint64_t{1} << (list & 63);
    }
    void markAll()
    {
        words_[0] = ~uint64_t{0};
        words_[1] = 1;
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

private:
    uint64_t words_[2] = {~uint64_t{0}, 1};
};
