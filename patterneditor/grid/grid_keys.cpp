// The grid's named keys: cursor moves, row inserts and deletes, and the
// repeat of the last entry with Space.
#include "patterneditor/grid/pattern_grid.h"

#include "model/song/module.h"
#include "platform/key_event.h"

#include <algorithm>

namespace {

constexpr int kLastColumn = kColumnsPerChannel - 1;

} // namespace

// False when the key is none of the table's.
bool TesselPatternUI::moveByKey(const TesselKeyEvent& key)
{
    const uint8_t mods = key.modifiers;
    const bool shift = mods & kModShift;
    const bool alt = mods & kModAlt;
    const bool control = mods & kModCtrl;
    TesselPatternView& v = view;
    const int length = patternLength();
    const TesselTrack* track = pattern_->tracks.trackAt(v.cursorChannel);
    const int trackRows = track ? track->length() : length;
    const auto rowChange = [&](bool deleting) {
        if (deleting && !alt && control)
            return;
        platform::MutexLock lock(song_.songLock(), editLockWaitMs);
        if (!lock)
            return;
        host_->pushCheckpoint(*pattern_, nullptr);
        const TesselCellPosition at{v.cursorRow, v.cursorSubrow};
        if (deleting) {
            if (alt)
                pattern_->deleteRow(at, shift);
            else
                pattern_->tracks.getTrack(v.cursorChannel).deleteRow(at, shift);
        } else if (alt) {
            pattern_->insertRow(at);
        } else {
            pattern_->tracks.getTrack(v.cursorChannel).insertRows(at, 1);
        }
        markAllDirty();
    };

    switch (key.virtualKey) {
    case kVkBack:
        if (v.cursorRow > 0) {
            --v.cursorRow;
            ensureCursorVisible();
            rowChange(true);
        }
        return true;
    case kVkDelete:
        rowChange(true);
        return true;
    case kVkInsert:
        rowChange(false);
        return true;
    case kVkTab:
        if (shift) {
            if (v.cursorColumn > 0)
                v.cursorColumn = 0;
            else
                --v.cursorChannel;
        } else if (mods == 0) {
            ++v.cursorChannel;
            v.cursorColumn = 0;
        }
        ensureCursorVisible();
        return true;
    case kVkSpace: {
        platform::MutexLock lock(song_.songLock(), editLockWaitMs);
        if (lock) {
            const TesselGridPosition at{v.cursorChannel, 0, v.cursorRow, v.cursorSubrow};
            TesselSubrow& cell = cellAt(v.cursorChannel, v.cursorRow, v.cursorSubrow);
            const TesselSubrowData was = cell;
            repeatLastEntry(cell);
            recordTyping(cell, was, at);
        }
        return true;
    }
    case kVkEnd:
        if (control)
            moveCursorBy(0, 1);
        else if (v.cursorColumn < kLastColumn)
            moveCursorTo(v.cursorChannel * kColumnsPerChannel + kLastColumn, -1);
        else if (v.cursorChannel < channels_ - 1)
            moveCursorTo((channels_ - 1) * kColumnsPerChannel + kLastColumn, -1);
        else
            moveCursorTo(-1, trackRows - 1);
        return true;
    case kVkHome:
        if (control)
            moveCursorBy(0, -1);
        else if (v.cursorColumn > 0)
            moveCursorTo(v.cursorChannel * kColumnsPerChannel, -1);
        else if (v.cursorChannel > 0)
            moveCursorTo(0, -1);
        else
            moveCursorTo(-1, 0);
        return true;
    case kVkLeft:
    case kVkRight: {
        const int step = key.virtualKey == kVkLeft ? -1 : 1;
        if (shift || alt) {
            v.cursorChannel = static_cast<int16_t>(v.cursorChannel + step);
            ensureCursorVisible();
        } else {
            moveCursorBy(step, 0);
        }
        return true;
    }
    case kVkUp:
    case kVkDown: {
        const int rows = alt ? 1 : std::max<int>(v.cursorIncrement, 1);
        moveCursorBy(0, key.virtualKey == kVkUp ? -rows : rows);
        return true;
    }
    case kVkPageUp:
    case kVkPageDown: {
        const bool up = key.virtualKey == kVkPageUp;
        if (alt) {
            if (up)
                v.firstRow = std::max(v.firstRow - 1, 0);
            else if (v.firstRow < trackRows - v.visibleRows)
                ++v.firstRow;
            rebuildLines();
            return true;
        }
        int rows = std::max<int>(v.majorStep, 1);
        if (up && v.cursorRow == trackRows - 1)
            rows = std::max(rows - 1, 1);
        moveCursorBy(0, up ? -rows : rows);
        return true;
    }
    default:
        return false;
    }
}

// Space: the last entry again in the cursor's field.
void TesselPatternUI::repeatLastEntry(TesselSubrow& cell)
{
    const TesselSubrow& last = view.lastEntered;
    switch (view.cursorColumn) {
    case 0:
    case 1:
        cell.pitch = last.pitch;
        if (view.copyInstrument && cell.instrument == 0)
            cell.instrument = last.instrument;
        if (view.copyVolume && cell.volume < 0)
            cell.volume = last.volume;
        if (view.copyLetter && cell.effect.command == '.')
            cell.effect.command = last.effect.command;
        break;
    case 2:
    case 3:
        cell.instrument = last.instrument;
        break;
    case 4:
    case 5:
        cell.volume = last.volume;
        cell.panning = last.panning;
        cell.depth = last.depth;
        break;
    case 6:
        cell.effect.command = last.effect.command;
        break;
    default:
        cell.effect.parameter = last.effect.parameter;
        break;
    }
    // On a field's second digit the cursor goes back to its first.
    if (view.cursorColumn == 1 || view.cursorColumn == 3 || view.cursorColumn == 5 || view.cursorColumn == 8)
        --view.cursorColumn;
    markCellDirty(view.cursorChannel, view.cursorRow);
    stepCursor();
}
