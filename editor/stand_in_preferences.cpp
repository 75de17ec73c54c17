// The preferences page's stand-in until the page is built; the page's own file
// replaces this one (and its maker).

#include "editor/page_factory.h"
#include "editor/page_kinds.h"
#include "editor/page_stand_ins.h"
#include "resources/resource_ids.h"

namespace {

class StandIn final : public TesselStandInPage<TesselPreferencesPage> {
public:
    StandIn(TesselEditorServices* editor, const CRect& size)
        : TesselStandInPage(8, "Preferences", size, resources::kSidePagePanel, editor, 12)
    {
    }
    bool keyboardPanelWantsKeys() override { return false; }
    int32_t keyboardPanelKey(const TesselKeyEvent& key) override
    {
        keys.push_back(key);
        return 0;
    }
};

} // namespace

TesselPreferencesPage* makePreferencesPage(TesselEditorServices* editor, const CRect& size)
{
    return new StandIn(editor, size);
}
