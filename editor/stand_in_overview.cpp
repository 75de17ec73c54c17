// The pattern overview panel's stand-in until the panel is built: a popup
// page at (100, 100) that takes the keys while shown.

#include "editor/page_factory.h"
#include "editor/page_stand_ins.h"

namespace {

class StandIn final : public TesselStandInPage<TesselUI> {
public:
    explicit StandIn(TesselEditorServices* editor)
        : TesselStandInPage(0, "Pattern overview", CRect(100, 100, 503, 386), 0, editor, 14)
    {
    }
    bool wantsKeys() override { return isShown(); }
};

} // namespace

TesselUI* makeOverviewPanel(TesselEditorServices* editor)
{
    return new StandIn(editor);
}
