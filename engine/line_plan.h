#pragma once
// The memory lines the next audio block will read, noted by the mixing pass
// at the end of the block before. A block starts with cold caches (the host
// slept in between); fetched all at once as it starts, these lines arrive
// while the host sync and the frame loop run, and their misses overlap,
// instead of each one waiting in turn inside the render. Only a hint: a line
// that no longer holds what it did costs one wasted fetch. Audio thread,
// song lock held.

class TesselLinePlan {
public:
    // Enough for the voices of a busy block; the first noted are kept.
    static constexpr int kMost = 128;
    // Only short blocks (what hosts run at low latency) are planned: a
    // longer one spends long enough rendering that its cold start matters
    // little, and noting its longer stretches costs more than it saves.
    static constexpr int kMostFrames = 256;

    void note(const void* line)
    {
        if (count_ < kMost)
            lines_[count_++] = line;
    }
    // Starts fetching every noted line and forgets them.
    void fetchAndClear()
    {
        for (int i = 0; i < count_; ++i)
            __builtin_prefetch(lines_[i]);
        count_ = 0;
    }
    int count() const { return count_; }
    const void* line(int i) const { return lines_[i]; }

private:
    int count_ = 0;
    const void* lines_[kMost] = {};
};
