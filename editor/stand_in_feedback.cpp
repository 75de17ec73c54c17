// The feedback dialog's stand-in until it is built: the request is recorded.

#include "editor/tessel_editor.h"

void TesselEditor::sendFeedback()
{
    standInRequests_.push_back("command sendFeedback");
}
