#pragma once
// The editor's side of playback: what the engine's link hands over from the
// audio thread (the playing order, pattern and row; the pattern editor whose
// note entry and pattern the engine reads) and, at each idle pass, the pages
// that follow it: the pattern editor's row and followed pattern, the
// toolbar's position, the info page's readouts and the order list; the
// tempo shown goes to the usage log when it changed. A song loaded on
// another thread asks for the pages' refresh, which the next idle does.
//
// Threads: the position, the pattern editor's link and the refresh request
// are atomics, handed over on any thread; follow() and the thread claim run
// on the GUI thread.

#include <atomic>
#include <cstdint>
#include <thread>

class TesselEngine;
class TesselInfoPage;
class TesselOrderListPage;
class TesselPatternEditorPage;
class TesselToolbarPage;
class TesselUsageLog;
struct TesselNoteEntry;

class TesselPlaybackFollower {
public:
    // The pages follow() updates; any may be null.
    struct Pages {
        TesselPatternEditorPage* patternEditor = nullptr;
        TesselToolbarPage* toolbar = nullptr;
        TesselInfoPage* info = nullptr;
        TesselOrderListPage* orderList = nullptr;
    };

    // Claims the calling thread as the GUI thread.
    TesselPlaybackFollower(TesselEngine& engine, TesselUsageLog& log);

    // The pattern editor the engine reads (null while there is none).
    void linkPatternEditor(TesselPatternEditorPage* page) { patternEditor_.store(page); }
    // The engine's link (audio thread).
    int32_t currentPattern() const;
    bool noteEntry(TesselNoteEntry& entry) const;
    void setPlaybackPosition(int32_t order, int32_t pattern, int32_t row)
    {
        playingOrder_.store(order, std::memory_order_relaxed);
        playingPattern_.store(pattern, std::memory_order_relaxed);
        playingRow_.store(row, std::memory_order_relaxed);
    }
    // What the audio thread last handed over; -1 when nothing plays.
    void playingPosition(int32_t& order, int32_t& pattern, int32_t& row) const
    {
        order = playingOrder_.load(std::memory_order_relaxed);
        pattern = playingPattern_.load(std::memory_order_relaxed);
        row = playingRow_.load(std::memory_order_relaxed);
    }
    int32_t playingPattern() const { return playingPattern_.load(std::memory_order_relaxed); }
    int32_t playingRow() const { return playingRow_.load(std::memory_order_relaxed); }

    // The thread the editor's windows run on (effEditOpen may come on
    // another one than the constructor).
    void claimGuiThread() { guiThread_.store(std::this_thread::get_id()); }
    bool onGuiThread() const { return std::this_thread::get_id() == guiThread_.load(); }
    // A load on another thread asks; the idle takes the request.
    void requestRefresh() { refreshRequested_.store(true); }
    bool takeRefreshRequest() { return refreshRequested_.exchange(false); }

    // One idle pass: the tempo shown, then what playback moved since the last.
    void follow(const Pages& pages);

private:
    TesselEngine& engine_;
    TesselUsageLog& log_;
    std::atomic<TesselPatternEditorPage*> patternEditor_{nullptr};
    std::atomic<int32_t> playingOrder_{-1};
    std::atomic<int32_t> playingPattern_{-1};
    std::atomic<int32_t> playingRow_{-1};
    std::atomic<bool> refreshRequested_{false};
    std::atomic<std::thread::id> guiThread_;

    // Last values a pass compared.
    double lastTempo_ = -1.0;
    int32_t lastRow_ = -1;
    int32_t lastOrder_ = -1;
    int32_t lastDisplay_ = -1;
};
