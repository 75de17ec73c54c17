#pragma once
// The single-track grid under the instrument key map: one channel of 120
// rows (one per key) in the program's own font, drawn field by field into
// an offscreen of all its rows, of which the visible band is copied.

#include "gui/offscreen_context.h"
#include "patterneditor/grid/pattern_grid.h"

#include <array>
#include <memory>

class TesselTrackUI : public TesselPatternUI {
public:
    static constexpr int kKeyRows = 120;
    static constexpr int kKeyRowHeight = 12;

    // The grid works on a pattern of its own, `rows` long.
    TesselTrackUI(TesselModule& song, TesselEngine* engine, int rows = kKeyRows);
    ~TesselTrackUI() override;

    TesselPattern& trackPattern() { return *own_; }
    TesselTrack& track() { return own_->tracks.getTrack(0); }

    // The key map's font: the program's own face "Quorbel", 8 pixels high,
    // 6 wide; rows 12 pixels apart.
    void useKeyMapFont();
    // Laid out in the view's rectangle: (bottom - top) / row height + 1 rows.
    void layoutTrack(int left, int top, int right, int bottom);
    // Draws the changed fields of the visible rows into the offscreen and
    // copies the visible band into the grid's rectangle.
    void drawTrack(CDrawContext* context);

private:
    // What each row's fields show in the offscreen.
    struct DrawnRow {
        TesselCellText text{};
        uint8_t colour = 0;
        uint8_t mark = 0;
        bool drawn = false;
    };
    uint8_t dirtyFields(int row, const DrawnRow& want) const;

    std::unique_ptr<TesselPattern> own_;
    // Made for one frame; a draw for another frame makes it again.
    std::unique_ptr<COffscreenContext> offscreen_;
    std::array<DrawnRow, kRowsCap> drawnRows_{};
};
