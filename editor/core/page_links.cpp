#include "editor/core/page_links.h"

#include "editor/core/tessel_editor.h"
#include "patterneditor/pattern_editor_page.h"

TesselEditor* owningEditor(TesselEditorServices* services)
{
    return dynamic_cast<TesselEditor*>(services);
}

TesselPatternEditorPage* patternEditorPage(TesselEditorServices* services)
{
    return services ? dynamic_cast<TesselPatternEditorPage*>(services->pages().patternEditor) : nullptr;
}
