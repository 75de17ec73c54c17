#pragma once
// What the pattern grid asks of the page and the editor around it. The
// pattern editor page implements it; a grid without a host (the key map,
// tests) gets these defaults.

#include "platform/graphics/geometry.h"
#include "platform/system/clock.h"

#include <cstdint>

class TesselPattern;

class TesselGridHost {
public:
    virtual ~TesselGridHost() = default;

    // The editor window is maximised: the grid starts higher and keeps no
    // bottom margin.
    virtual bool editorMaximised() const { return false; }
    // Width and height of the editor window's client area.
    virtual platform::Point clientSize() const { return {723, 499}; }
    // The view follows playback: entries do not step the cursor while playing.
    virtual bool followsPlayback() const { return false; }
    // Pixels of the grid's bottom hidden by a side panel that is shown and
    // not sliding; 0 when none is.
    virtual int32_t coveringPanelHeight() const { return 0; }
    // The clock of double clicks: the window system's tick count.
    virtual uint32_t ticks() const { return platform::milliseconds(); }
    // The system's double-click interval.
    virtual uint32_t doubleClickInterval() const { return 500; }

    // --- editing
    // The editor's octave (0..8) and current instrument (0 none, 1..99).
    virtual int32_t octave() const { return 4; }
    virtual int32_t currentInstrument() const { return 1; }
    virtual void setCurrentInstrument(int32_t number) { (void)number; }
    // Records the pattern before an edit; the caller holds the song lock.
    virtual void pushCheckpoint(const TesselPattern& pattern, const char* message)
    {
        (void)pattern;
        (void)message;
    }
    // How many checkpoints were recorded so far; unchanged since a typing
    // edit's own checkpoint, the next keystroke in that cell joins it.
    virtual uint32_t checkpointCount() const { return 0; }
    // The pattern's length or highlight steps changed: it is shown again.
    virtual void patternReshaped() {}
    // A help page at a point of the grid (page coordinates).
    virtual void showCellHelp(const char* page, platform::Point at)
    {
        (void)page;
        (void)at;
    }
    // The instrument (or its sample) on its page, which becomes current.
    virtual void goToInstrument(int32_t number) { (void)number; }
    // A mouse drag scrolled the view: the pointer moves back by this much.
    virtual void movePointerBy(int32_t dx, int32_t dy)
    {
        (void)dx;
        (void)dy;
    }
    // A block drag began, goes on or ended: its cursor and help line follow.
    virtual void dragChanged(bool dragging) { (void)dragging; }
    // The grid was scrolled or edited from the mouse: the page redraws.
    virtual void gridChanged() {}
};
