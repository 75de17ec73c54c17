// How pages draw: each into one offscreen shared by all pages, over the page
// under it, with the overlays on top, then one copy to the window.

#include "gui/bitmap.h"
#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "gui/offscreen_context.h"
#include "pagekit/tessel_ui.h"
#include "pagekit/page_globals.h"

void TesselUI::draw(CDrawContext* context)
{
    if (!shown || !closeBox || !context)
        return;
    const int32_t width = closeBox->getWidth();
    const int32_t height = closeBox->getHeight() / 2;
    const int32_t x = size.left + size.width() - kCloseBoxWidth;
    const int32_t y = size.top + 4;
    closeBox->drawTransparent(context, CRect(x, y, x + width, y + height));
}

void TesselUI::redrawNow(TesselUI* page)
{
    if (!editor || !page)
        return;
    if (page == editor->toolbarPage()) {
        if (CFrame* toolbarFrame = editor->toolbarFrame())
            toolbarFrame->draw(static_cast<CView*>(page));
        return;
    }
    if (CFrame2* frame = frame2())
        frame->drawPage(page == editor->basePage() && page == editor->currentPage() ? nullptr : page);
}

void TesselUI::drawBuffered(TesselUI* page, CDrawContext* windowContext, TesselUI* pageUnder, bool doubleSize)
{
    if (!page || !pageUnder)
        return;
    CRect area;
    pageUnder->getViewSize(area);
    const int32_t width = area.width();
    const int32_t height = area.height();
    std::unique_ptr<COffscreenContext>& offscreen = pageOffscreen();
    if (!offscreen || offscreen->getWidth() != width || offscreen->getHeight() != height) {
        offscreen.reset();
        offscreen = std::make_unique<COffscreenContext>(page->frame2(), width, height, kBlackCColor);
    }
    // Pages draw in frame coordinates.
    offscreen->setOffset(CPoint(-area.left, -area.top));
    pageUnder->draw(offscreen.get());
    if (page != pageUnder)
        page->draw(offscreen.get());
    TesselEditorServices* services = pageUnder->editor;
    if (!services || !services->overlaysHidden())
        pageUnder->drawOverlays(offscreen.get());
    offscreen->setOffset(CPoint());

    if (!windowContext)
        return;
    if (doubleSize) {
        const CRect stretched(area.left, area.top, 2 * area.right - area.left, 2 * area.bottom - area.top);
        offscreen->transfertStretched(windowContext, stretched, CRect(0, 0, width, height));
    } else if (const platform::Image* composed = offscreen->getImage()) {
        // Only what changed since the last pass goes to the window and on to
        // the screen: a moved cursor sends a few rows, an unchanged page nothing.
        windowContext->copyImageChanges(*composed, CPoint(area.left, area.top));
    }
}

void TesselUI::drawOverlays(CDrawContext* context)
{
    if (!editor) {
        setDirty(false);
        return;
    }
    if (this == editor->basePage())
        editor->drawStatusLine(context);
    else
        setDirty(false);
    if (TesselUI* panel = editor->bottomPanel(); panel && panel->shown)
        panel->draw(context);

    CBitmap* indicator = editor->capsLock() ? editor->capsLockIndicator() : nullptr;
    CRect view;
    if (!indicator || !editor->getViewRect(view))
        return;
    const int32_t x = view.left + (view.width() - indicator->getWidth()) / 2;
    const int32_t bottom = view.top + view.height() / 2;
    indicator->draw(context, CRect(x, bottom - indicator->getHeight(), x + indicator->getWidth(), bottom));
}
