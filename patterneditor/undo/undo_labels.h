#pragma once
// The one-line labels of undo checkpoints: 53 characters at most.

#include <array>
#include <ctime>
#include <functional>

constexpr int kUndoLabelSize = 54;   // 53 characters and the terminator
using TesselUndoLabel = std::array<char, kUndoLabelSize>;

struct TesselClockTime {
    int hour = 0;
    int minute = 0;
};
// The local time of day; tests set one of their own.
using TesselLocalClock = std::function<TesselClockTime()>;
TesselClockTime systemLocalTime();

TesselUndoLabel makeUndoLabel(const char* text);
// "%.3d: Misc. Editing (hh:mm)" without a message, "%.3d: User Checkpoint
// (hh:mm)" for that message, else "%.3d: <message>".
TesselUndoLabel checkpointLabel(int patternIndex, const char* message, TesselClockTime time);

// The label of a restore, made from the label of the checkpoint restored:
// its Undo becomes Redo and back, any other edit is quoted as undone.
struct TesselRestoredLabel {
    TesselUndoLabel label;
    int action = 0;   // usage log action: 21 undo, 22 redo, 23 undo of a redo
};
TesselRestoredLabel restoredLabel(int patternIndex, const char* restored);
