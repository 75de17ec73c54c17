#include "gui/controls/hyperlink.h"

#include "gui/dialogs/base_dialog.h"
#include "gui/dialogs/dialog_view.h"

bool makeHyperlink(platform::Window* dialogWindow, int32_t controlId)
{
    CBaseDialog* dialog = CBaseDialog::ofWindow(dialogWindow);
    DialogView* view = dialog ? dialog->view() : nullptr;
    DialogItem* item = view ? view->item(controlId) : nullptr;
    if (!item || item->kind != DialogItemKind::Text)
        return false;
    view->makeLink(controlId);
    return true;
}
