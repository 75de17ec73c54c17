// The info page's stand-in until the page is built; the page's own file
// replaces this one (and its maker).

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselInfoPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(6, "Info page", size, resources::kSidePagePanel, editor, 10)
    {
    }
    void resetChannelDisplay() override { note("resetChannelDisplay"); }
    void refresh() override { note("refresh"); }
    void onPageCommand(int32_t id) override { note(callText("onPageCommand", id)); }
};

} // namespace

TesselInfoPage* makeInfoPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
