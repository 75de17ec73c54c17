// The key map grid's own keys and mouse, as a one-channel pattern grid:
// cursor moves and marking, notes, octaves, sample, volume and effect
// digits, row insertion and deletion, and the region operations that make
// sense on one track. Samples are typed into the low byte of the sample
// field and leave the row unmarked. Nothing here records undo.
#include "editor/instrument_list/keymap_view.h"

#include "pagekit/editor_services.h"
#include "model/song/module.h"
#include "model/song/pattern.h"
#include "patterneditor/menus/edit_commands.h"
#include "platform/key_event.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

// The grid answers the pattern grid's commands, in its contexts.
using namespace edit_commands;

constexpr int kLastColumn = kColumnsPerChannel - 1;
constexpr int kLastNote = 119;
constexpr int kNoteCutValue = 254;
constexpr int kNoteOffValue = 255;
constexpr int kMaxVolume = 64;
constexpr int kMaxSample = 99;

int digitOf(const TesselKeyEvent& key)
{
    return key.character >= '0' && key.character <= '9' ? key.character - '0' : -1;
}

int hexOf(const TesselKeyEvent& key)
{
    if (key.character >= 'a' && key.character <= 'f')
        return key.character - 'a' + 10;
    return digitOf(key);
}

// A two-digit field: the first digit column sets the tens, the second the ones.
int typedValue(int value, int digit, bool tens, int maximum)
{
    const int base = std::max(value, 0);
    const int typed = tens ? base % 10 + 10 * digit : 10 * (base / 10) + digit;
    return std::min(typed, maximum);
}

} // namespace

bool TesselKeyMapUI::gridKey(const TesselKeyEvent& key)
{
    const uint8_t v = key.virtualKey;
    const bool shift = (key.modifiers & kModShift) != 0;
    const TesselGridPosition cursor{0, view.cursorColumn, view.cursorRow, 0};
    if (shift && v >= kVkEnd && v <= kVkPageDown && (markingState != 2 || !selection.active)) {
        selection.begin(&trackPattern(), cursor);
        markingState = 2;
    }
    bool changed = false;
    const int32_t id = defaultScheme().findIdInContext(kGridContext, key, false);
    if (gridCommand(id, changed)) {
    } else if (!gridMove(key)) {
        changed = gridEntry(key);
    }
    if (shift && markingState == 2 && selection.active)
        selection.extendTo({0, view.cursorColumn, view.cursorRow, 0});
    else if (!shift && markingState == 2)
        markingState = 0;
    markAllDirty();
    return changed;
}

bool TesselKeyMapUI::gridCommand(int32_t id, bool& changed)
{
    TesselPattern& own = trackPattern();
    const TesselGridPosition cursor{0, view.cursorColumn, view.cursorRow, 0};
    const TesselGridPosition last{0, kLastColumn, static_cast<int16_t>(kKeys - 1), 0};
    switch (id) {
    case kClear:
        changed = selection.active != 0;
        selection.clear(kFieldCell, false);
        return true;
    case kTransposeUp:
    case kTransposeDown:
    case kTransposeUpOctave:
    case kTransposeDownOctave: {
        const int amount = id == kTransposeUp ? 1 : id == kTransposeDown ? -1 : id == kTransposeUpOctave ? 12 : -12;
        if (selection.active) {
            selection.transpose(kFieldPitch, amount, song().samples);
        } else {
            TesselRow& row = track().getRow(view.cursorRow);
            if (row.pitch >= 0 && row.pitch <= kLastNote)
                row.pitch = static_cast<int16_t>(std::clamp(row.pitch + amount, 0, kLastNote));
        }
        changed = true;
        return true;
    }
    case kSelectChannel:
    case kSelectAll: selection.select(&own, {}, last); return true;
    case kSelectionStart:
        if (selection.active)
            selection.setStart(cursor);
        else
            selection.select(&own, cursor, cursor);
        return true;
    case kSelectionEnd:
        if (selection.active)
            selection.setEnd(cursor);
        else
            selection.select(&own, cursor, cursor);
        return true;
    case kSelectNone: selection.active = 0; return true;
    case kSelectionSwap: changed = selection.swapWith(own, cursor); return true;
    default: return false;
    }
}

bool TesselKeyMapUI::gridMove(const TesselKeyEvent& key)
{
    const bool alt = (key.modifiers & kModAlt) != 0;
    const int rows = alt ? 1 : std::max<int>(view.cursorIncrement, 1);
    switch (key.virtualKey) {
    case kVkUp: moveCursorBy(0, -rows); return true;
    case kVkDown: moveCursorBy(0, rows); return true;
    case kVkPageUp: moveCursorBy(0, -std::max<int>(view.majorStep, 1)); return true;
    case kVkPageDown: moveCursorBy(0, std::max<int>(view.majorStep, 1)); return true;
    case kVkLeft:
        if (view.cursorColumn > 0)
            moveCursorBy(-1, 0);
        return true;
    case kVkRight:
        if (view.cursorColumn < kLastColumn)
            moveCursorBy(1, 0);
        return true;
    case kVkHome:
        moveCursorTo(view.cursorColumn == 0 ? -1 : 0, view.cursorColumn == 0 ? 0 : -1);
        return true;
    case kVkEnd:
        moveCursorTo(view.cursorColumn == kLastColumn ? -1 : kLastColumn,
                     view.cursorColumn == kLastColumn ? kKeys - 1 : -1);
        return true;
    default: return false;
    }
}

// Entries at the cursor; true when the rows changed.
bool TesselKeyMapUI::gridEntry(const TesselKeyEvent& key)
{
    TesselTrack& rows = track();
    const uint8_t v = key.virtualKey;
    if (v == kVkBackspace || v == kVkDelete) {
        if (v == kVkBackspace) {
            if (view.cursorRow == 0)
                return false;
            moveCursorBy(0, -1);
        }
        rows.deleteRow({view.cursorRow, 0}, (key.modifiers & kModShift) != 0);
        return true;
    }
    if (v == kVkInsert) {
        rows.insertRows({view.cursorRow, 0}, 1);
        return true;
    }
    if (key.modifiers & (kModAlt | kModCtrl))
        return false;
    const int32_t id = defaultScheme().findIdInContext(kNoteEntryContext, key, false);
    TesselRow& row = rows.getRow(view.cursorRow);
    const int column = view.cursorColumn;
    const int octave = editor_ ? editor_->octave() : 4;
    if (column == 0) {
        if (const int32_t pitch = notePitch(id, octave); pitch >= 0)
            row.pitch = static_cast<int16_t>(pitch);
        else if (id == kNoteClear)
            row.pitch = -1;
        else if (id == kNoteOff)
            row.pitch = kNoteOffValue;
        else if (id == kNoteCut)
            row.pitch = kNoteCutValue;
        else
            return false;
        stepCursor();
        return true;
    }
    if (column == 1) {
        const int digit = digitOf(key);
        if (digit < 0 || row.pitch < 0 || row.pitch > kLastNote)
            return false;
        row.pitch = static_cast<int16_t>(std::min(row.pitch % 12 + 12 * digit, kLastNote));
        stepCursor();
        return true;
    }
    if (column <= 5) {
        const bool sample = column <= 3;
        const bool tens = column == 2 || column == 4;
        int16_t& field = sample ? row.instrument : row.volume;
        const int digit = digitOf(key);
        if (id == kNoteClear) {
            field = static_cast<int16_t>(sample ? 0 : -1);
            return true;
        }
        if (digit < 0)
            return false;
        // A typed sample drops the row's source mark: it was typed, not moved.
        const int value = sample ? field & 0xFF : field;
        field = static_cast<int16_t>(typedValue(value, digit, tens, sample ? kMaxSample : kMaxVolume));
        if (tens) {
            moveCursorBy(1, 0);
        } else {
            moveCursorBy(-1, 0);
            stepCursor();
        }
        return true;
    }
    if (column == 6) {
        const int32_t c = key.character;
        if (id == kNoteClear)
            row.effect.command = '.';
        else if (c >= 'a' && c <= 'z')
            row.effect.command = static_cast<char>(c - 'a' + 'A');
        else if ((c >= '0' && c <= '9') || c == '@')
            row.effect.command = static_cast<char>(c);
        else
            return false;
        stepCursor();
        return true;
    }
    const int digit = hexOf(key);
    if (id == kNoteClear) {
        row.effect.parameter = 0;
        return true;
    }
    if (digit < 0)
        return false;
    if (column == 7) {
        row.effect.parameter = static_cast<int16_t>(row.effect.parameter % 16 + 16 * digit);
        moveCursorBy(1, 0);
    } else {
        row.effect.parameter = static_cast<int16_t>(16 * (row.effect.parameter / 16) + digit);
        moveCursorBy(-1, 0);
        stepCursor();
    }
    return true;
}

// The pattern grid's mouse: a press places the cursor and starts a
// selection, a press inside the selection drags its block and the release
// drops it (Control copies, Shift inserts, Alt mixes). Rows keep their
// source marks on the way, so their keys' regions follow them on store.
// The point moves into the pattern grid's coordinates, where this grid's
// left edge is its one channel's note field; right of the grid counts as
// its last column.
void TesselKeyMapUI::gridMouse(const CPoint& point, int32_t buttons, bool fresh)
{
    regionMode_ = false;
    const platform::Point origin = gridOrigin();
    const int32_t x = std::min<int32_t>(point.h, grid_.right - 1) - grid_.left + metrics().own.positions[1];
    rebuildLines();
    dragSelection(x + origin.x, point.v - grid_.top + origin.y, buttons, fresh);
    markAllDirty();
}
