#pragma once
// The pattern editor's checkpoints: copies of a pattern taken before each
// edit, eleven kept, newest in slot 0, each with a one-line label. A restore
// is itself recorded first, so an undo can be undone in turn.
//
// Editor thread. Pushes and restores wait 1000 ms for the song lock and do
// nothing, silently, when it stays busy.

#include "patterneditor/undo/undo_labels.h"

#include <array>
#include <cstdint>
#include <memory>

class TesselModule;
class TesselPattern;

class TesselUndoHistory {
public:
    static constexpr int kSlots = 11;
    static constexpr int kLines = 10;   // the slots the panel offers
    static constexpr const char* kEmptyLabel = "(empty)";

    // Records the song's pattern 0 as the first checkpoint. An unset clock
    // reads the system's local time.
    explicit TesselUndoHistory(TesselModule& song, TesselLocalClock clock = {});
    ~TesselUndoHistory();
    TesselUndoHistory(const TesselUndoHistory&) = delete;
    TesselUndoHistory& operator=(const TesselUndoHistory&) = delete;

    // A copy of the pattern into slot 0, the oldest dropped; false (nothing
    // changed) without the song lock or memory. Message null: a plain edit.
    bool pushCheckpoint(const TesselPattern& pattern, const char* message = nullptr);
    // Writes the checkpoint of line 0..9 back into the song's pattern of its
    // number, after recording that pattern as "Undo". Returns the pattern's
    // number, or -1 when nothing was restored. The caller rebuilds the
    // timing lists.
    int restoreCheckpoint(int line);
    // Every slot empty (its snapshot an empty pattern, its label "(empty)"):
    // after the song's patterns were renumbered, snapshots would name the
    // wrong patterns.
    void clear();

    // Slot 0..10.
    const char* label(int slot) const { return labels_[static_cast<size_t>(slot)].data(); }
    const TesselPattern& snapshot(int slot) const { return *slots_[static_cast<size_t>(slot)]; }
    bool isEmptySlot(int slot) const;
    // Checkpoints recorded so far (restores included): an edit that wants to
    // join the last checkpoint knows whether anything came in between.
    uint32_t pushCount() const { return pushes_; }

private:
    TesselModule& song_;
    TesselLocalClock clock_;
    // Only non-empty tracks and rows are kept, so the slots together hold at
    // most eleven patterns' content.
    std::array<std::unique_ptr<TesselPattern>, kSlots> slots_;
    std::array<TesselUndoLabel, kSlots> labels_;
    uint32_t pushes_ = 0;
};
