// The pattern overview panel in the editor; the pattern editor page's maker
// attaches it to the page's grid.

#include "editor/core/page_factory.h"
#include "patterneditor/overview/overview_ui.h"

TesselUI* makeOverviewPanel(TesselEditorServices* editor)
{
    return new TesselOverviewUI(editor);
}
