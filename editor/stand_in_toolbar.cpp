// The toolbar's stand-in until the toolbar is built: skin 103 in the host's
// window, page buttons that switch pages through the page base's strip
// handler, and the file message.

#include "editor/page_factory.h"
#include "editor/page_stand_ins.h"
#include "gui/draw_context.h"
#include "patterneditor/toolbar_page.h"
#include "platform/status_text.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselToolbarPage> {
public:
    explicit StandIn(TesselEditorServices* editor)
        : TesselStandInPage(0, "Toolbar", CRect(0, 0, 493, 36), resources::kToolbarStrip, editor, 6)
    {
        toolbarStrip = true;
        draggable = false;
    }

    void draw(CDrawContext* context) override
    {
        ++draws;
        if (context) {
            if (CBitmap* skin = getBackground())
                skin->draw(context, size);
            context->setFontColor(CColor{196, 200, 206, 0});
            context->setFont(0, 10);
            const std::string message = platform::fileMessage().substr(0, 80);
            context->drawString(message.c_str(), CRect(4, 20, 190, 33), false, kLeftText);
            char page[16];
            std::snprintf(page, sizeof page, "%d%s", static_cast<int>(shownPage), windowButton ? " W" : "");
            context->drawString(page, CRect(4, 3, 120, 18), false, kLeftText);
        }
        setDirty(false);
    }

    void showPageButtons(int32_t pageNumber) override
    {
        shownPage = pageNumber;
        note(callText("showPageButtons", pageNumber));
        setDirty();
    }
    void showWindowButton(bool down) override
    {
        windowButton = down;
        note(callText("showWindowButton", down));
        setDirty();
    }
    void refreshPosition() override { note("refreshPosition"); }

private:
    int32_t shownPage = 0;
    bool windowButton = false;
};

} // namespace

TesselToolbarPage* makeToolbarPage(TesselEditorServices* editor)
{
    return new StandIn(editor);
}
