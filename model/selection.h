#pragma once
// The selected region of a pattern grid as the pattern editor fills it. The
// song-row block operations read its channels, rows, active flag and pattern.

#include <cstdint>

class TesselPattern;

struct TesselGridPosition {
    int16_t channel = 0;
    int16_t column = 0;
    int16_t row = 0;
    int16_t subrow = 0;
};

struct TesselSelection {
    // Rows from start to end inclusive when active, else 0.
    int rowCount() const { return active ? end.row - start.row + 1 : 0; }
    bool spansAllChannels() const;

    TesselGridPosition start;
    TesselGridPosition end;
    uint8_t active = 0;
    uint8_t marking = 0;    // the editor's marking and drag states
    uint8_t dragging = 0;
    TesselPattern* pattern = nullptr;
};
