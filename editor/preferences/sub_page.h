#pragma once
// The base of the preferences page's sub-pages: a page the size of its skin,
// opened at a point over page 8 and moving with it, drawn through a face of
// its own and hidden by its close box or Escape. Its size is in frame
// coordinates like any page's; its mouse handlers take points in its own
// coordinates. GUI thread only.

#include "editor/core/editor_page_services.h"
#include "gui/offscreen_context.h"
#include "pagekit/tessel_ui.h"

#include <cstdint>
#include <memory>

class TesselSubPage : public TesselUI, protected TesselEditorPageOwner {
public:
    TesselSubPage(TesselEditorPageServices* editor, int32_t skin, int32_t classId);
    ~TesselSubPage() override;

    // The skin with the page's content at its size, then the close box;
    // nothing while hidden.
    void draw(CDrawContext* context) override;
    bool wantsKeys() override { return shown; }

    // Shown at that frame point, the controls readied.
    void open(const CPoint& where);
    virtual void hide();
    void moveTo(const CPoint& where);

protected:
    // The page's controls take the values in force.
    virtual void opened() = 0;
    // The page's content over its skin, in page coordinates.
    virtual void compose(CDrawContext& face) = 0;
    // In the close box: the top-right corner, 12 pixels wide and 16 high.
    bool inCloseBox(int32_t x, int32_t y) const;
    // True once for each press of one of these buttons; the state is kept
    // across calls.
    bool newPress(int32_t buttons, int32_t mask);

private:
    std::unique_ptr<COffscreenContext> face_;
    int32_t lastMouseButtons_ = 0;
};
