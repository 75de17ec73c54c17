// The help page's stand-in until the help page is built: the panel appears
// and goes at once, bottom-aligned at its skin's size.

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

constexpr int32_t kBottomGap = 15;

class StandIn final : public TesselStandInPage<TesselHelpPage> {
public:
    explicit StandIn(TesselEditorServices* editor)
        : TesselStandInPage(0, "Help page", CRect(), resources::kHelpPanel, editor, 13)
    {
    }

    void show(bool flag, bool animated) override
    {
        note(callText("show", flag, animated));
        setShown(flag);
        setDirty();
    }
    bool isHiding() const override { return false; }
    bool isAnimating() const override { return false; }
    void placeIn(int32_t /*width*/, int32_t height) override
    {
        CBitmap* skin = getBackground();
        const int32_t w = skin ? skin->getWidth() : 0;
        const int32_t h = skin ? skin->getHeight() : 0;
        setViewSize(CRect(0, height - kBottomGap - h, w, height - kBottomGap));
        setMouseableArea(CRect(0, 0, 3200, 1600));
    }
};

} // namespace

TesselHelpPage* makeHelpPage(TesselEditorServices* editor)
{
    return new StandIn(editor);
}
