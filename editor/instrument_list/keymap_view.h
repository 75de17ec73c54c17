#pragma once
// The instrument page's key map view: the one-channel grid of the key map's
// 120 rows (one per key: the note and sample it plays) and, while its region
// area is shown, each key's velocity regions as bars that the right button
// selects and the wheel edits. The view edits the instrument the page hands
// it (the page's working copy): it loads the key map from it around every
// edit and stores it back.
//
// Loading marks the row of each key that has regions with its key + 1 in
// the high byte of its sample field; a row the grid moves or copies keeps
// its mark, so storing gives it the regions of the key it came from, and a
// row whose sample was typed has no mark and gets one region over every
// velocity. A key without regions has no sample and no mark: an empty row
// that a mixing drop may fill. The grid shows and edits only the low byte.
// GUI thread only.

#include "editor/instrument_list/keymap_regions.h"
#include "gui/controls/scrollbar.h"
#include "gui/controls/text_entry.h"
#include "patterneditor/grid/track_grid.h"

#include <cstdint>
#include <functional>

class TesselInstrument;
class TesselEditorServices;
struct TesselKeyEvent;
namespace VSTGUI {
class CBitmap;
}

// The region selection as a rectangle: velocities and keys, each pair in order.
struct TesselRegionRect {
    int32_t firstVelocity = 0;
    int32_t lastVelocity = 0;
    int32_t firstKey = 0;
    int32_t lastKey = 0;
};

class TesselKeyMapUI final : public TesselTrackUI {
public:
    static constexpr int32_t kRegionLeft = 393;
    static constexpr int32_t kVelocityLeft = 397;
    static constexpr int32_t kVelocityStep = 4;
    static constexpr int32_t kWideRight = 682;
    static constexpr int32_t kLastVelocity = kFullVelocity;
    // The two header buttons the page handles: the region area's switch,
    // and its close button while it shows.
    static constexpr CRect kRegionButton{374, 39, 393, 50};
    static constexpr CRect kCloseButton{656, 39, 665, 50};
    static constexpr const char* kTooManyRegions = "Error: Could not insert region - more than 4 regions per key.";

    TesselKeyMapUI(TesselModule& song, TesselEngine* engine, TesselEditorServices* editor);
    ~TesselKeyMapUI() override;

    // The grid's clamping; in region mode the velocity cursor is then held in 0..64.
    int ensureCursorVisible() override;
    // The grid in `grid` (page pixels), the scrollbar at its right.
    void layout(const CRect& grid);
    // Key names, the grid, the scrollbar, the cursor and, while shown, the
    // region area. Page coordinates.
    void draw(CDrawContext* context, bool focused);

    void loadFromInstrument(const TesselInstrument& instrument);
    void storeToInstrument(TesselInstrument& instrument);

    void onKey(const TesselKeyEvent& key, TesselInstrument& instrument);
    void onMouse(const CPoint& point, int32_t buttons, TesselInstrument& instrument);
    void onWheel(int32_t x, int32_t y, float distance, TesselInstrument& instrument);
    // Inside the grid, its scrollbar or the shown region area.
    bool contains(int32_t x, int32_t y) const;
    // Keys go straight to the view: a selection is being drawn, or its
    // block dragged, with the mouse.
    bool isCapturing() const;
    void clearShiftState();

    bool regionAreaShown() const { return regionArea_; }
    // Hiding the area leaves region mode.
    void showRegionArea(bool show);
    bool inRegionMode() const { return regionMode_; }
    int32_t regionKey() const { return regionKey_; }
    int32_t regionVelocity() const { return regionVelocity_; }
    // Only while the area shows and the view is in region mode.
    bool getRegionSelection(TesselRegionRect& out) const;
    const TesselRegionTable& regions() const { return regions_; }
    const CRect& gridRect() const { return grid_; }

    // 'g': the sample becomes the editor's and its page shows.
    std::function<void(int32_t sample)> goToSample;

private:
    // Region mode: the cursor and the selection at a cell.
    void enterRegionMode(int32_t key, int32_t velocity);
    void placeSelection(int32_t key, int32_t velocity, bool extend);
    // The selection covers the region found at the cursor (the cell alone without one).
    void snapSelection();
    bool onRegionKey(const TesselKeyEvent& key);
    void changeRegionSample(int32_t step);
    // The sample that 'g' and the wheel start from: the region at the
    // cursor's, in grid mode the row's.
    int32_t sampleAtCursor() const;
    void audition(const TesselInstrument& instrument);
    // Grid keys (keymap_grid_keys.cpp): true when the key changed the rows.
    bool gridKey(const TesselKeyEvent& key);
    bool gridCommand(int32_t id, bool& changed);
    bool gridEntry(const TesselKeyEvent& key);
    bool gridMove(const TesselKeyEvent& key);
    void gridMouse(const CPoint& point, int32_t buttons, bool fresh);
    int32_t keyAt(int32_t y) const;
    // Rows shown whole in the grid's rectangle.
    int32_t wholeRows() const;
    void drawRegionArea(CDrawContext* context, bool focused);
    void drawKeyNames(CDrawContext* context);
    void drawGridCursor(CDrawContext* context);

    TesselEditorServices* editor_;
    TesselRegionTable regions_{};
    // The table as the last load found it: stores take moved rows' regions from here.
    TesselRegionTable loaded_{};
    bool regionArea_ = false;
    bool regionMode_ = false;
    int32_t regionKey_ = 0;
    int32_t regionVelocity_ = 0;
    TesselRegionRect selection_;
    int32_t anchorKey_ = 0;
    int32_t anchorVelocity_ = 0;
    // The selection was dragged over a range, rather than snapped to a region.
    bool rangeSelected_ = false;
    bool shiftMarking_ = false;
    int32_t lastButtons_ = 0;
    TesselSubrow auditionRow_;
    TesselRegionEntry entry_;
    TesselScrollbar scrollbar_;
    CRect grid_;
    VSTGUI::CBitmap* velocityScale_;
    VSTGUI::CBitmap* regionCursor_;
    VSTGUI::CBitmap* regionButton_;
};
