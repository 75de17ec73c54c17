#pragma once
// The pattern overview panel over the pattern editor: the whole current
// pattern as a map of one pixel per field, the part the grid shows framed
// and the playing row lined. Any key but the navigation keys closes it.
//
// GUI thread. Drawing reads the song without the song lock and creates no
// track or row.

#include "pagekit/tessel_ui.h"
#include "resources/resource_ids.h"

#include <cstdint>

class TesselPatternEditorLink;
class TesselPatternUI;
namespace VSTGUI {
class CBitmap2;
}

class TesselOverviewUI final : public TesselUI {
public:
    static constexpr int32_t kClassId = 14;
    static constexpr int32_t kBackgroundBitmap = resources::kOverviewPanel;
    static constexpr int32_t kLeft = 100;
    static constexpr int32_t kTop = 100;
    // Where the map lands in the panel; the view frame's lines lie one pixel
    // outside what it encloses.
    static constexpr int32_t kMapLeft = 9;
    static constexpr int32_t kMapTop = 20;

    explicit TesselOverviewUI(TesselEditorServices* editor);
    ~TesselOverviewUI() override;

    // The grid whose pattern and view the panel shows, and the link that
    // tells the playing position; both outlive the panel.
    void attach(TesselPatternUI& grid, const TesselPatternEditorLink& link);

    // Background, map, play line, view frame and close box, in the pattern
    // editor page's coordinates.
    void draw(CDrawContext* context) override;
    // Renders the map of the current pattern anew.
    void drawPatternMap();
    // Closes the panel unless the key is one that moves around the grid; the
    // event is never consumed.
    int32_t onKeyEvent(const TesselKeyEvent& key) override;
    // Panel coordinates: the close box and the title strip's drag.
    int32_t onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons) override;
    bool wantsKeys() override { return isShown(); }

    // Whether a key leaves the panel open.
    static bool keepsOpen(const TesselKeyEvent& key);
    // The view frame in panel coordinates, corners included.
    CRect viewFrame() const;
    // The play line's y in panel coordinates, or -1 when none is drawn.
    int32_t playLineY() const;

private:
    VSTGUI::CBitmap2* map_;
    TesselPatternUI* grid_ = nullptr;
    const TesselPatternEditorLink* link_ = nullptr;
    bool inMouse_ = false;
};
