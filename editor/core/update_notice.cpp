// The update check's flag as the editor passes it on.

#include "editor/core/tessel_editor.h"
#include "patterneditor/pattern_editor_page.h"
#include "services/update_check.h"

bool TesselEditor::updateAvailable() const
{
    return updateCheck_ && updateCheck_->updateAvailable();
}

void TesselEditor::noticeUpdateCheck()
{
    if (updateMarkShown_ || !patternEditor_ || !updateAvailable())
        return;
    updateMarkShown_ = true;
    patternEditor_->showUpdateMark();
}
