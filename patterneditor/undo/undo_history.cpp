#include "patterneditor/undo/undo_history.h"

#include "engine/engine_actions.h"
#include "model/song/module.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// An empty pattern that then takes the index, label, steps and tracks.
// Allocates everything before it is handed on, so a failure changes nothing.
std::unique_ptr<TesselPattern> copyOf(const TesselPattern& source)
{
    auto copy = std::make_unique<TesselPattern>();
    copy->assign(source);
    copy->index = source.index;
    copy->tracks.freeEmptyTracks();
    return copy;
}

} // namespace

TesselUndoHistory::TesselUndoHistory(TesselModule& song, TesselLocalClock clock)
    : song_(song), clock_(clock ? std::move(clock) : TesselLocalClock(systemLocalTime))
{
    for (auto& slot : slots_)
        slot = std::make_unique<TesselPattern>();
    labels_.fill(makeUndoLabel(kEmptyLabel));
    pushCheckpoint(song_.patterns[0]);
}

TesselUndoHistory::~TesselUndoHistory() = default;

void TesselUndoHistory::clear()
{
    ++pushes_;   // an edit after a clear never joins what was before it
    for (auto& slot : slots_)
        slot = std::make_unique<TesselPattern>();
    labels_.fill(makeUndoLabel(kEmptyLabel));
}

bool TesselUndoHistory::isEmptySlot(int slot) const
{
    return std::strcmp(label(slot), kEmptyLabel) == 0;
}

bool TesselUndoHistory::pushCheckpoint(const TesselPattern& pattern, const char* message)
{
    platform::MutexLock lock(song_.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    std::unique_ptr<TesselPattern> copy;
    try {
        copy = copyOf(pattern);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Slot 10 goes; the others move down one place with their labels.
    std::move_backward(slots_.begin(), slots_.end() - 1, slots_.end());
    std::copy_backward(labels_.begin(), labels_.end() - 1, labels_.end());
    slots_[0] = std::move(copy);
    labels_[0] = checkpointLabel(pattern.index, message, clock_());
    ++pushes_;
    return true;
}

int TesselUndoHistory::restoreCheckpoint(int line)
{
    if (line < 0 || line >= kLines || isEmptySlot(line))
        return -1;
    const int index = slots_[static_cast<size_t>(line)]->index;
    if (index < 0 || index >= kPatterns)
        return -1;
    // One hold of the re-entrant lock across the push and the copy back.
    platform::MutexLock lock(song_.songLock(), editLockWaitMs);
    if (!lock)
        return -1;
    std::unique_ptr<TesselPattern> restored;
    try {
        restored = copyOf(*slots_[static_cast<size_t>(line)]);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    TesselPattern& target = song_.patterns[static_cast<size_t>(index)];
    if (!pushCheckpoint(target, "Undo"))
        return -1;
    // The chosen checkpoint is now one line further down.
    const size_t chosen = static_cast<size_t>(line) + 1;
    const TesselRestoredLabel relabel = restoredLabel(slots_[chosen]->index, labels_[chosen].data());
    labels_[0] = relabel.label;
    target.swap(*restored);
    logEngineAction(static_cast<TesselEngineAction>(relabel.action), line);
    return index;
}
