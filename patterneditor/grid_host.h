#pragma once
// What the pattern grid asks of the page and the editor around it. The
// pattern editor page implements it; a grid without a host (the key map,
// tests) gets these defaults.

#include "platform/clock.h"
#include "platform/geometry.h"

#include <cstdint>

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
};
