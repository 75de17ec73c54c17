// The instrument list page's stand-in until the page is built; the page's own file
// replaces this one (and its maker).

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselInstrumentListPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(4, "Instrument list", size, resources::kSidePagePanel, editor, 9)
    {
    }
    void selectFirstInstrument() override { note("selectFirstInstrument"); }
    void clearShiftState() override { note("clearShiftState"); }
};

} // namespace

TesselInstrumentListPage* makeInstrumentListPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
