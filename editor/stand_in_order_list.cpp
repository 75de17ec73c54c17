// The order list page's stand-in until the page is built; the page's own file
// replaces this one (and its maker).

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselOrderListPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(7, "Order list", size, resources::kSidePagePanel, editor, 11)
    {
    }
};

} // namespace

TesselOrderListPage* makeOrderListPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
