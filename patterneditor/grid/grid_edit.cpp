// The grid's edit executor: the commands of the context
// "PatternEditor.Pattern" on the selection or the cell under the cursor,
// each recording its checkpoint and editing under one hold of the song lock.
#include "patterneditor/grid/pattern_grid.h"

#include "common/help_pages.h"
#include "engine/engine.h"
#include "model/song/module.h"
#include "patterneditor/grid/grid_checkpoint.h"
#include "patterneditor/menus/amplify_prompt.h"
#include "patterneditor/menus/edit_commands.h"
#include "platform/status_text.h"

#include <algorithm>

namespace {

// The repeat counter: the last id run and how many times in a row.
int32_t lastEditId = 0;
int32_t editRepeats = 0;

constexpr int kLastNote = 119;

} // namespace

int32_t TesselPatternUI::repeatCount()
{
    return editRepeats;
}

void TesselPatternUI::resetRepeatCounter()
{
    lastEditId = 0;
    editRepeats = 0;
}

TesselGridPosition TesselPatternUI::cursorPosition() const
{
    return {view.cursorChannel, view.cursorColumn, view.cursorRow, view.cursorSubrow};
}

TesselSubrow& TesselPatternUI::cellAt(int channel, int row, int subrow)
{
    TesselRow& found = pattern_->tracks.getTrack(std::clamp(channel, 0, channels_ - 1)).getRow(row);
    return subrow > 0 ? found.subrowAt(subrow) : found;
}

void TesselPatternUI::rebuildTiming()
{
    if (!engine_ || !pattern_ || pattern_->index < 0 || pattern_->index >= kPatterns)
        return;
    engine_->rebuildPatternPlaylist(pattern_->index, true);
    if (song_.orderList.contains(pattern_->index))
        engine_->rebuildSongPlaylist(nullptr, true);
}

bool TesselPatternUI::executeEdit(int32_t id)
{
    editRepeats = id == lastEditId ? editRepeats + 1 : 0;
    lastEditId = id;
    if (id == 0 || !pattern_ || patternLength() <= 0)
        return false;
    using namespace edit_commands;
    TesselSelection& sel = selection;
    const std::span<const TesselSample> samples(song_.samples);
    const uint8_t volumeMask = view.volumeMode == kShowPanning ? kFieldPanning
                             : view.volumeMode == kShowDepth  ? kFieldDepth
                                                              : kFieldVolume;
    switch (id) {
    case kHelpContext: {
        const TesselSubrow& cell = cellAtCursor();
        const char* page = help::cellHelpPage(view.cursorColumn, static_cast<unsigned char>(cell.effect.command),
                                              cell.effect.parameter);
        const platform::Point origin = gridOrigin();
        host_->showCellHelp(page, {origin.x + columnX(view.cursorChannel, view.cursorColumn) + view.characterWidth * 2,
                                   origin.y + rowY(view.cursorRow, view.cursorSubrow, false) + view.rowHeight});
        return true;
    }
    case kCopy:
        if (sel.active)
            clipboard.copyFrom(sel);
        return true;
    case kCut:
        return regionEdit("Cut to clipboard.", [&] {
            sel.cutTo(clipboard);
            rebuildTiming();
        });
    case kPaste:
    case kOverwite:
    case kOverwiteHighlights:
    case kMix:
        return pasteCommand(id, editRepeats);
    case kClear:
        return regionEdit("Clear selection.", [&] {
            sel.clear(kFieldCell, false);
            rebuildTiming();
        });
    case kTransposeUp:
    case kTransposeUpOctave:
    case kTransposeDown:
    case kTransposeDownOctave: {
        const int step = id == kTransposeUpOctave || id == kTransposeDownOctave ? 12 : 1;
        const bool up = id == kTransposeUp || id == kTransposeUpOctave;
        if (sel.active)
            return regionEdit(up ? "Transpose selection up." : "Transpose selection down.",
                              [&] { sel.transpose(kFieldPitch, up ? step : -step, samples); });
        checkpointed(nullptr, [&] {
            transposeCell(cellAt(view.cursorChannel, view.cursorRow, view.cursorSubrow), up ? step : -step);
        });
        return true;
    }
    case kSelectChannel:
    case kSelectAll:
    case kSelectionStart:
    case kSelectionEnd:
    case kSelectBlock:
    case kSelectNone:
        return selectionCommand(id, editRepeats);
    case kSelectionSwap:
        return regionEdit("Swap selection with data at cursor.", [&] {
            sel.swapWith(*pattern_, cursorPosition());
            rebuildTiming();
        });
    case kPickUpNote:
        static_cast<TesselSubrowData&>(view.lastEntered) = cellAtCursor();
        return true;
    case kSetInstrument: {
        const int32_t instrument = host_->currentInstrument();
        if (sel.active)
            return regionEdit("Set selection instrument.", [&] { sel.setField(kFieldInstrument, instrument, false); });
        checkpointed(nullptr, [&] {
            cellAt(view.cursorChannel, view.cursorRow, view.cursorSubrow).instrument = static_cast<int16_t>(instrument);
        });
        return true;
    }
    case kGoToInstrument: {
        const int instrument = cellAtCursor().instrument;
        if (instrument > 0)
            host_->goToInstrument(instrument);
        return true;
    }
    case kSetVolumePan:
        if (view.volumeMode == kShowVolume)
            return regionEdit("Set selection volume.",
                              [&] { sel.setField(kFieldVolume, view.lastEntered.volume, false); });
        if (view.volumeMode == kShowPanning)
            return regionEdit("Set selection panning.",
                              [&] { sel.setField(kFieldPanning, view.lastEntered.panning, false); });
        return true;
    case kInterpolateVolumePan:
        return regionEdit("Interpolate volume.", [&] { sel.interpolate(volumeMask); });
    case kClearVolumePan:
        return regionEdit("Clear volume.", [&] { sel.clear(volumeMask, false); });
    case kClearOrphanedVolumePan:
        if (view.volumeMode == kShowVolume)
            return regionEdit("Clear orphaned volumes.", [&] { sel.clear(kFieldVolume, true); });
        if (view.volumeMode == kShowPanning)
            return regionEdit("Clear orphaned pannings.", [&] { sel.clear(kFieldPanning, true); });
        return true;
    case kAmplifyVolume:
        if (sel.active) {
            if (!prompt_)
                prompt_ = std::make_unique<TesselAmplifyPrompt>();
            const platform::Point client = host_->clientSize();
            prompt_->open(client.x, client.y);
        }
        return true;
    case kRepeatAmplifyVolume:
        return regionEdit("Amplify volume.",
                          [&] { sel.amplify(kFieldVolume, static_cast<float>(lastPercent * 0.01), samples); });
    case kInterpolateEffects:
        return regionEdit("Interpolate effect.", [&] {
            sel.interpolate(kFieldEffect);
            rebuildTiming();
        });
    case kClearEffects:
        return regionEdit("Clear effect.", [&] {
            sel.clear(kFieldEffect, false);
            rebuildTiming();
        });
    case kDoubleSelection:
        return regionEdit("Double selection length.", [&] {
            sel.doubleLength();
            rebuildTiming();
        });
    case kHalveSelection:
        return regionEdit("Halve selection length.", [&] {
            sel.halveLength();
            rebuildTiming();
        });
    case kCycleEditMode:
        toggleVolumeColumn();
        return true;
    default:
        return false;
    }
}

// Without a selection only a note moves: an empty pitch stays empty and
// note off and note cut stay what they are, as in a region.
void TesselPatternUI::transposeCell(TesselSubrow& cell, int amount)
{
    if (cell.pitch < 0 || cell.pitch > kLastNote)
        return;
    cell.pitch = static_cast<int16_t>(std::clamp(cell.pitch + amount, 0, kLastNote));
}

bool TesselPatternUI::extendForClipboard(const char* message)
{
    const int wanted = std::min(view.cursorRow + clipboard.selection.rowCount(), int(kRowsCap));
    return checkpointed(message, [&] {
        pattern_->setLength(wanted);
        rebuildTiming();
        host_->patternReshaped();
        platform::setStatusText("Pattern extended to fit clipboard.");
    });
}

bool TesselPatternUI::pasteCommand(int32_t id, int32_t count)
{
    using namespace edit_commands;
    if (clipboard.isEmpty())
        return true;
    const TesselGridPosition at = cursorPosition();
    const bool tooShort = pattern_->length() < view.cursorRow + clipboard.selection.rowCount();
    const bool mayExtend = !isSingleTrack() && count == 1 && tooShort;
    const auto paste = [&](bool insert, int mode) {
        clipboard.pasteInto(*pattern_, at, insert, mode);
        rebuildTiming();
    };
    switch (id) {
    case kPaste:
        checkpointed("Paste from clipboard.", [&] { paste(true, kPasteOverwrite); });
        return true;
    case kOverwite: {
        // A checkpoint, the extension and the paste under one hold.
        platform::MutexLock lock(song_.songLock(), editLockWaitMs);
        if (!lock)
            return true;
        if (mayExtend)
            extendForClipboard("Overwrite from clipboard (extend).");
        else
            host_->pushCheckpoint(*pattern_, "Overwrite from clipboard.");
        paste(false, kPasteOverwrite);
        markAllDirty();
        return true;
    }
    case kOverwiteHighlights:
        if (isSingleTrack())
            return true;
        if (count == 1) {
            if (tooShort)
                extendForClipboard("Overwrite from clipboard (highlights, extend).");
        } else if (count == 0) {
            checkpointed("Overwrite from clipboard (highlights).", [&] {
                clipboard.applyHighlights(*pattern_);
                host_->patternReshaped();
            });
        }
        return true;
    case kMix:
        if (count == 0)
            checkpointed("Mix from clipboard.", [&] { paste(false, kPasteMix); });
        else
            checkpointed("Mix from clipboard (fill all gaps).", [&] { paste(false, kPasteFillGaps); });
        return true;
    default:
        return false;
    }
}

bool TesselPatternUI::selectionCommand(int32_t id, int32_t count)
{
    using namespace edit_commands;
    TesselSelection& sel = selection;
    const TesselGridPosition cursor = cursorPosition();
    const int16_t lastRow = static_cast<int16_t>(patternLength() - 1);
    const auto selectAll = [&] {
        sel.select(pattern_, {0, 0, 0, 0}, {int16_t(channels_ - 1), 8, lastRow, 0});
    };
    switch (id) {
    case kSelectChannel:
        if (count % 2 == 0) {
            const TesselTrack* track = pattern_->tracks.trackAt(view.cursorChannel);
            const int16_t trackEnd = static_cast<int16_t>((track ? track->length() : patternLength()) - 1);
            sel.select(pattern_, {cursor.channel, 0, 0, 0}, {cursor.channel, 8, trackEnd, 0});
        } else {
            selectAll();
        }
        break;
    case kSelectAll:
        selectAll();
        break;
    case kSelectionStart:
        if (sel.active)
            sel.setStart(cursor);
        else
            sel.select(pattern_, cursor, cursor);
        break;
    case kSelectionEnd:
        if (sel.active)
            sel.setEnd(cursor);
        else
            sel.select(pattern_, cursor, cursor);
        break;
    case kSelectBlock: {
        const int minor = std::max(pattern_->minorStep, 1);
        const int major = std::max(pattern_->majorStep, 1);
        int end = cursor.row + minor - 1;
        if (count > 0 && sel.active)
            end = sel.rowCount() == minor ? cursor.row + major - 1 : 2 * sel.end.row - sel.start.row + 1;
        sel.select(pattern_, {cursor.channel, 0, cursor.row, 0},
                   {cursor.channel, 8, static_cast<int16_t>(std::min<int>(end, lastRow)), 0});
        break;
    }
    case kSelectNone:
        sel.active = 0;
        break;
    default:
        return false;
    }
    markingState = 0;
    return true;
}
