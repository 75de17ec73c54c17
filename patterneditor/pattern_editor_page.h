#pragma once
// What the editor asks of the pattern editor page, beyond the page base: the
// grid's redraw marks, the cursor channel that live notes play on, the
// octave and instrument lists, the status strip, the drag state, playback
// following, its timed command, layout after a load or a resize, and the
// note-entry state MIDI input reads on the audio thread. GUI thread unless
// said otherwise.

#include "engine/engine_links.h"
#include "engine/midi/midi_input.h"
#include "pagekit/tessel_ui.h"

#include <cstdint>

class TesselPatternUI;

class TesselPatternEditorPage : public TesselUI {
public:
    using TesselUI::TesselUI;

    // ORs flag bits into the grid's redraw marks: one cell; row -1 every row
    // of the channel; channel -1 too every visible channel.
    virtual void markDirty(int32_t channel, int32_t row, uint8_t flags) = 0;
    // Drops the grid's cached offscreen images and marks every cell.
    virtual void releaseBitmaps() = 0;
    virtual int32_t cursorChannel() const = 0;
    // The octave and instrument drop lists show these values.
    virtual void showOctave(float octave) = 0;
    virtual void showInstrument(float instrument) = 0;
    // The status strip with the status text, drawn over whichever page is current.
    virtual void drawStatus(CDrawContext* context) = 0;
    // A selection is being drawn or dragged with the mouse.
    virtual bool draggingSelection() const = 0;
    // A Shift release: the page forgets that Shift extends its selection.
    virtual void clearShiftState() = 0;
    // With pattern follow on and the song playing: shows that pattern and row.
    virtual void followPlayback(int32_t pattern, int32_t row) = 0;
    // The editor's timer 3.
    virtual void timedCommand() = 0;
    // After a load, a font change or a new window size.
    virtual void layout() = 0;
    virtual void fillInstrumentList() = 0;
    // Instruments are named by their labels rather than their numbers (the
    // instrument column and list); the instrument page's grave accent toggles it.
    virtual bool instrumentLabelsShown() const = 0;
    virtual void showInstrumentLabels(bool on) = 0;
    // The grid has cells waiting to be drawn.
    virtual bool gridNeedsRedraw() const = 0;
    // Audio thread: the fields MIDI note entry reads, together; false when
    // the page cannot take notes.
    virtual bool noteEntry(TesselNoteEntry& entry) const = 0;
    // What MIDI note entry left for the page since the last idle pass.
    virtual void applyMidiInput(const TesselMidiInputRequests::Taken& taken) = 0;

    // Before a new or loaded song: position, cursor, scroll and selection back
    // to pattern 0, row 0, channel 0, column 0, zoom 1, the shift and drag
    // states cleared, the font made anew, layout and instrument list rebuilt.
    virtual void resetView() = 0;
    // Everything drawn anew from the song (after it was erased).
    virtual void rebuild() = 0;
    // A newer version exists: the title strip shows it from now on.
    virtual void showUpdateMark() = 0;

    // Shows pattern `index` (0..199); `force` reads it again when it is
    // shown already.
    virtual void goToPattern(int32_t index, bool force) = 0;
    // The order position at which the shown pattern is edited; -1 none.
    virtual void setCurrentOrder(int32_t position, bool force) = 0;
    // With the flag, that channel's cells (none for -1) are marked for
    // redraw; the page is redrawn.
    virtual void setDirtyChannel(bool flag, int32_t channel) = 0;
    // The page's grid, whose channel header strips other pages show.
    virtual TesselPatternUI* patternGrid() = 0;
    // Every undo checkpoint goes (the song's patterns were renumbered).
    virtual void clearUndoHistory() = 0;
};
