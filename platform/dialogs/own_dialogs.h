#pragma once
// Our own minimal dialogs, built on DialogWindow: used for every dialog when
// the desktop has no dialog program, and always for fonts (over the families
// the font catalog can draw). The file dialog takes a typed path (relative
// ones start from the request's folder) and checks it as the system dialogs
// would: an existing file to open, an existing folder, a save name in an
// existing folder.

#include "platform/dialogs/dialogs.h"

namespace platform {

bool ownFileDialog(WindowSystem& system, Window* owner, const FileDialogRequest& request,
                   std::vector<std::string>& paths);
bool ownFontDialog(WindowSystem& system, Window* owner, FontChoice& font);
bool ownColourDialog(WindowSystem& system, Window* owner, Colour& colour);
int32_t ownMessageBox(WindowSystem& system, Window* owner, const std::string& text, const std::string& caption,
                      uint32_t style);

// "#rrggbb" and back; false for anything else.
std::string colourToHex(Colour colour);
bool colourFromHex(const std::string& text, Colour& colour);

} // namespace platform
