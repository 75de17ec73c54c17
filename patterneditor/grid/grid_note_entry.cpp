// Note entry: notes at the note column, digits and letters in the other
// columns, each written under the song lock; the cursor steps after an
// entry as the cursor increment says.
#include "patterneditor/grid/pattern_grid.h"

#include "engine/engine.h"
#include "pagekit/page_operations.h"
#include "model/song/module.h"
#include "patterneditor/menus/amplify_prompt.h"
#include "patterneditor/grid/grid_checkpoint.h"
#include "patterneditor/menus/edit_commands.h"
#include "platform/key_event.h"
#include "platform/status_text.h"
#include "shell/command_scheme.h"

#include <algorithm>
#include <cstdio>

namespace {

using namespace edit_commands;

constexpr int kLastNote = 119;
constexpr int kNoteCutPitch = 254;
constexpr int kNoteOffPitch = 255;
constexpr int kMaxInstrument = 99;
constexpr int kMaxVolume = 64;
constexpr int kLiveTicks = 15;

bool isDigit(int32_t c)
{
    return c >= '0' && c <= '9';
}

bool isPrintable(int32_t c)
{
    return c > ' ' && c < 127;
}

// The flow effects the timing lists read: '@' to 'C' and the loop SBx.
bool isTimingEffect(const TesselEffect& effect)
{
    return (effect.command >= '@' && effect.command <= 'C') ||
           (effect.command == 'S' && effect.parameter >= 0xB0 && effect.parameter <= 0xBF);
}

// A two-digit field typed digit by digit; an empty field (-1) counts from 0.
int typedValue(int value, int digit, bool firstDigit, int maximum)
{
    const int from = std::max(value, 0);
    const int typed = firstDigit ? from % 10 + 10 * digit : 10 * (from / 10) + digit;
    return std::min(typed, maximum);
}

bool sameCell(const TesselSubrowData& a, const TesselSubrowData& b)
{
    return a.pitch == b.pitch && a.instrument == b.instrument && a.volume == b.volume && a.panning == b.panning &&
           a.depth == b.depth && a.effect.command == b.effect.command && a.effect.parameter == b.effect.parameter;
}

} // namespace

bool TesselPatternUI::amplifyPromptOpen() const
{
    return prompt_ && prompt_->isShown();
}

void TesselPatternUI::closeAmplifyPrompt()
{
    if (prompt_)
        prompt_->close();
}

void TesselPatternUI::previewCell(const TesselSubrow& cell)
{
    if (engine_ && !isSingleTrack())
        engine_->playNote(cell, view.cursorChannel);
}

void TesselPatternUI::enterNote(const TesselKeyEvent& key)
{
    if (!pattern_ || patternLength() <= 0 || key.keyUp)
        return;
    if (amplifyPromptOpen()) {
        if (prompt_->onKey(key) == TesselAmplifyPrompt::kAccepted) {
            lastPercent = prompt_->percent();
            checkpointed("Amplify volume.", [&] {
                selection.amplify(kFieldVolume, static_cast<float>(lastPercent * 0.01), song_.samples);
            });
        }
        return;
    }
    const uint8_t v = key.virtualKey;
    const bool shift = key.modifiers & kModShift;
    if (shift && v >= 9 && v <= 16 && (markingState == 0 || !selection.active)) {
        selection.begin(pattern_, cursorPosition());
        markingState = 2;
    }
    if ((key.modifiers & kModAlt) && !(key.modifiers & kModCtrl) && isDigit(key.character)) {
        view.cursorIncrement = key.character - '0' + (shift ? 10 : 0);
        platform::formatStatusText("Cursor Increment set to %d.", static_cast<int>(view.cursorIncrement));
        return;
    }

    ++keystrokes_;
    // A cursor moved by the mouse or a page command ends the run of typing.
    if (!(typingRun_.cursorAfter == cursorPosition()))
        typingRun_.pattern = -1;
    const TesselCommandScheme& scheme = defaultScheme();
    const int32_t noteId = scheme.findIdInContext(kNoteEntryContext, key, false);
    const TesselEffect before = cellAtCursor().effect;
    const int channel = view.cursorChannel;
    const int row = view.cursorRow;
    const int subrow = view.cursorSubrow;
    bool done = false;
    if (view.cursorColumn == 0) {
        platform::MutexLock lock(song_.songLock(), editLockWaitMs);
        if (!lock)
            return;
        TesselSubrow& cell = cellAt(view.cursorChannel, view.cursorRow, view.cursorSubrow);
        const TesselSubrowData was = cell;
        done = enterNoteColumn(noteId, cell);
        recordTyping(cell, was, {int16_t(channel), 0, int16_t(row), int16_t(subrow)});
    }
    if (!done && executeEdit(scheme.findIdInContext(kGridContext, key, false)))
        done = true;
    if (!done && !moveByKey(key)) {
        platform::MutexLock lock(song_.songLock(), editLockWaitMs);
        if (!lock)
            return;
        TesselSubrow& cell = cellAt(view.cursorChannel, view.cursorRow, view.cursorSubrow);
        const TesselSubrowData was = cell;
        enterInColumn(key, noteId, cell);
        recordTyping(cell, was, {int16_t(channel), 0, int16_t(row), int16_t(subrow)});
    }

    if (markingState != 0 && selection.marking) {
        if (shift)
            selection.extendTo(cursorPosition());
        else if (markingState == 2)
            markingState = 0;
    }
    if (typingRun_.keystroke == keystrokes_)
        typingRun_.cursorAfter = cursorPosition();
    markCellDirty(channel, row);
    const TesselEffect after = cellOrBlank(channel, row, subrow).effect;
    if ((after.command != before.command || after.parameter != before.parameter) &&
        (isTimingEffect(before) || isTimingEffect(after)))
        rebuildTiming();
}

void TesselPatternUI::recordTyping(TesselSubrow& cell, const TesselSubrowData& before, const TesselGridPosition& at)
{
    if (sameCell(cell, before))
        return;
    // A keystroke joining the run takes no checkpoint, yet changes the song.
    song_.markEdited();
    const TypingRun& run = typingRun_;
    const bool joins = run.pattern == pattern_->index && run.at == at && run.keystroke + 1 == keystrokes_ &&
                       run.checkpoints == host_->checkpointCount();
    if (!joins) {
        // The checkpoint must hold the cell as it was before this keystroke.
        const TesselSubrowData typed = cell;
        static_cast<TesselSubrowData&>(cell) = before;
        host_->pushCheckpoint(*pattern_, nullptr);
        static_cast<TesselSubrowData&>(cell) = typed;
    }
    typingRun_ = {pattern_->index, at, keystrokes_, host_->checkpointCount(), cursorPosition()};
}

// Note column: a note key, NoteClear, NoteOff, NoteCut or NoteAudition.
// The caller holds the song lock. False for any other key.
bool TesselPatternUI::enterNoteColumn(int32_t noteId, TesselSubrow& cell)
{
    const int octave = host_->octave();
    TesselSubrow& last = view.lastEntered;
    if (const int note = notePitch(noteId, octave); note >= 0) {
        if (note > kLastNote)
            return true;
        cell.pitch = last.pitch = static_cast<int16_t>(note);
        if (view.copyInstrument)
            cell.instrument = last.instrument = static_cast<int16_t>(host_->currentInstrument());
        if (view.copyVolume) {
            cell.volume = last.volume;
            cell.panning = last.panning;
            cell.depth = last.depth;
        }
        if (view.copyLetter)
            cell.effect.command = last.effect.command;
        if (view.copyParameter)
            cell.effect.parameter = last.effect.parameter;
        if (!isSingleTrack() && engine_ && engine_->preferences.followPattern && engine_->transport > 3 &&
            view.copyLetter && view.copyParameter) {
            const int tick = engine_->position().tick;
            if (tick >= 1 && tick <= kLiveTicks) {
                cell.effect.command = 'S';
                cell.effect.parameter = static_cast<int16_t>(0xD0 + tick);
            }
        }
        previewCell(cell);
        stepCursor();
        return true;
    }
    switch (noteId) {
    case kNoteClear:
        cell.pitch = last.pitch = -1;
        if (view.copyInstrument)
            cell.instrument = 0;
        if (view.copyVolume)
            cell.volume = cell.panning = cell.depth = -1;
        if (view.copyLetter && view.copyParameter) {
            cell.effect.command = '.';
            cell.effect.parameter = 0;
        }
        break;
    case kNoteOff:
        cell.pitch = kNoteOffPitch;
        cell.instrument = 0;
        cell.volume = -1;
        if (engine_ && !isSingleTrack() && (engine_->transport <= 1 || (engine_->transport >= 4 &&
                                                                         engine_->preferences.followPattern)))
            engine_->playNote(cell, view.cursorChannel);
        break;
    case kNoteCut:
        cell.pitch = kNoteCutPitch;
        cell.instrument = 0;
        cell.volume = -1;
        previewCell(cell);
        break;
    case kNoteAudition:
        previewCell(cell);
        break;
    default:
        return false;
    }
    stepCursor();
    return true;
}

// The columns after the note: octave digit, instrument, volume column,
// effect letter and parameter. The caller holds the song lock.
bool TesselPatternUI::enterInColumn(const TesselKeyEvent& key, int32_t noteId, TesselSubrow& cell)
{
    TesselSubrow& last = view.lastEntered;
    const int32_t c = key.character;
    const int column = view.cursorColumn;
    switch (column) {
    case 1:
        // Only a note takes an octave: not an empty cell, a note off or a cut.
        if (isDigit(c) && cell.pitch >= 0 && cell.pitch <= kLastNote) {
            cell.pitch = last.pitch = static_cast<int16_t>(cell.pitch % 12 + 12 * (c - '0'));
            stepCursor();
            return true;
        }
        return false;
    case 2:
    case 3:
        if (view.instrumentLabels && key.modifiers == 0 && noteId != kNoteClear && noteId != kNoteMask &&
            isPrintable(key.printable ? key.printable : c))
            return enterInstrumentLabel(key, cell);
        return enterDigits(key, noteId, cell);
    case 4:
    case 5:
        return enterDigits(key, noteId, cell);
    case 6:
        if (noteId == kNoteClear) {
            cell.effect.command = last.effect.command = '.';
        } else if (noteId == kNoteMask) {
            view.copyLetter = !view.copyLetter;
            return true;
        } else if (key.modifiers & (kModAlt | kModCtrl)) {
            return false;
        } else if (c >= 'a' && c <= 'z') {
            cell.effect.command = last.effect.command = static_cast<char>(c - 'a' + 'A');
        } else if (isDigit(c) || c == '@') {
            cell.effect.command = last.effect.command = static_cast<char>(c);
        } else {
            return false;
        }
        stepCursor();
        return true;
    case 7:
    case 8: {
        if (noteId == kNoteClear) {
            cell.effect.parameter = last.effect.parameter = 0;
            return true;
        }
        if (noteId == kNoteMask) {
            view.copyParameter = !view.copyParameter;
            return true;
        }
        if (key.modifiers & (kModAlt | kModCtrl))
            return false;
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            return false;
        const int p = cell.effect.parameter & 0xFF;
        cell.effect.parameter = last.effect.parameter =
            static_cast<int16_t>(column == 7 ? p % 16 + 16 * digit : 16 * (p / 16) + digit);
        view.cursorColumn = static_cast<int16_t>(column == 7 ? 8 : 7);
        if (column == 8)
            stepCursor();
        return true;
    }
    default:
        return false;
    }
}

// Instrument and volume-column digits, NoteClear and NoteMask there.
bool TesselPatternUI::enterDigits(const TesselKeyEvent& key, int32_t noteId, TesselSubrow& cell)
{
    const bool instrument = view.cursorColumn <= 3;
    TesselSubrow& last = view.lastEntered;
    int16_t* field = &cell.instrument;
    int16_t* lastField = &last.instrument;
    if (!instrument) {
        field = view.volumeMode == kShowPanning ? &cell.panning : view.volumeMode == kShowDepth ? &cell.depth
                                                                                                : &cell.volume;
        lastField = view.volumeMode == kShowPanning ? &last.panning : view.volumeMode == kShowDepth ? &last.depth
                                                                                                     : &last.volume;
    }
    if (noteId == kNoteClear) {
        *field = *lastField = static_cast<int16_t>(instrument ? 0 : -1);
        if (instrument)
            host_->setCurrentInstrument(0);
        return true;
    }
    if (noteId == kNoteMask) {
        uint8_t& mark = instrument ? view.copyInstrument : view.copyVolume;
        mark = !mark;
        return true;
    }
    if (!isDigit(key.character) || (key.modifiers & (kModAlt | kModCtrl)))
        return false;
    const bool firstDigit = view.cursorColumn == 2 || view.cursorColumn == 4;
    *field = *lastField =
        static_cast<int16_t>(typedValue(*field, key.character - '0', firstDigit, instrument ? kMaxInstrument : kMaxVolume));
    if (instrument)
        host_->setCurrentInstrument(cell.instrument);
    if (firstDigit) {
        ++view.cursorColumn;
    } else {
        --view.cursorColumn;
        stepCursor();
    }
    return true;
}

// Labels shown: the typed character replaces its place of the cell's label
// and the instrument whose label matches best (or the number the text
// reads as) becomes the cell's.
bool TesselPatternUI::enterInstrumentLabel(const TesselKeyEvent& key, TesselSubrow& cell)
{
    char typed[3] = {'0', '0', 0};
    const int current = cell.instrument;
    if (current >= 1 && current <= kMaxInstrument) {
        const char* label = song_.instruments[static_cast<size_t>(current - 1)].label;
        if (label[0])
            typed[0] = label[0];
        if (label[0] && label[1])
            typed[1] = label[1];
        else if (!label[0])
            std::snprintf(typed, sizeof typed, "%.2d", current);
    }
    const int place = view.cursorColumn - 2;
    typed[place] = static_cast<char>(key.printable ? key.printable : key.character);
    const int found = matchInstrument(song_.instruments, typed, place);
    if (found <= 0 && std::string_view(typed) != "00")
        return true;
    cell.instrument = view.lastEntered.instrument = static_cast<int16_t>(found);
    host_->setCurrentInstrument(found);
    if (place == 0) {
        ++view.cursorColumn;
    } else {
        --view.cursorColumn;
        stepCursor();
    }
    return true;
}
