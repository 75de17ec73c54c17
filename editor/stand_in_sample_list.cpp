// The sample list page's stand-in until the page is built; the page's own file
// replaces this one (and its maker).

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselSampleListPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(2, "Sample list", size, resources::kSidePagePanel, editor, 8)
    {
    }
    void selectSample(int32_t n, bool keepScroll) override { note(callText("selectSample", n, keepScroll)); }
};

} // namespace

TesselSampleListPage* makeSampleListPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
