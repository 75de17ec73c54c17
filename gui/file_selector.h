#pragma once
// The toolkit's file selector: files to open (one or several), a file to
// save or a folder, chosen in the window system's dialogs. The type filter
// lists each file type, "All Supported Types" when there are two or more
// extensions, and "All Files (*.*)". It knows no plug-in format: the VST 2
// selection record is read and answered in gui_vst2/. GUI thread only.

#include "platform/dialogs/dialogs.h"

#include <string>
#include <vector>

namespace platform {
class Window;
}

namespace VSTGUI {

// A type of file offered: its name and its extension as DOS and as Unix name
// it (often the same; either may be empty).
struct CFileType {
    std::string name;
    std::string dosType;
    std::string unixType;
};

// What the user is asked to choose.
struct CFileChoice {
    platform::FileDialogKind kind = platform::FileDialogKind::Open;
    std::string title;
    std::string startPath;   // a folder, a file, or empty
    std::vector<CFileType> types;
};

// The dialog request for a choice: saving offers the DOS types only and adds
// the first one to a name without extension; opening lists every extension.
platform::FileDialogRequest fileDialogRequest(const CFileChoice& choice);

// Runs the dialog over `owner`. The paths chosen; none on cancel, or without
// an owner.
std::vector<std::string> chooseFiles(platform::Window* owner, const CFileChoice& choice);

} // namespace VSTGUI
