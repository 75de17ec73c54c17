#pragma once
// The system's dialogs over a window system: files to open (one or
// several), a file to save, a folder, a font, a colour and message boxes.
// Only one runs at a time: asked for while another dialog or a popup menu is
// still showing, a dialog answers cancel at once. Each is modal: until it
// ends, the GUI thread only paints and runs timers. Paths use '/' and are
// kept as the bytes the system gave. GUI thread only.

#include "platform/graphics/colour.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class Window;
class WindowSystem;

// One entry of a file dialog's type list.
struct FileFilter {
    std::string name;                      // "Module (.zip)"
    std::vector<std::string> extensions;   // "zip", "wav"; none: every file
};

enum class FileDialogKind : uint8_t { Open, OpenSeveral, Save, Folder };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    std::string startPath;           // a folder, a file, or empty
    std::vector<FileFilter> filters;
    int32_t filterIndex = 1;         // the entry shown first, from 1
    // Save: added with a '.' to a chosen name that has no extension.
    std::string defaultExtension;
};

// The font chooser's record, as a logical font has it: a face, a height in
// pixels (negative: the em; the chooser shows it in points at 96 pixels an
// inch), a weight (400 regular, 700 bold) and a slant.
struct FontChoice {
    std::string face;
    int32_t height = -13;
    int32_t weight = 400;
    bool italic = false;
};

// Message box styles and answers, numbered as MessageBox has them; the icon
// bits are those of message_box.h.
constexpr uint32_t kBoxOk = 0x0;
constexpr uint32_t kBoxOkCancel = 0x1;
constexpr uint32_t kBoxYesNoCancel = 0x3;
constexpr uint32_t kBoxYesNo = 0x4;
constexpr uint32_t kBoxButtonsMask = 0xF;
constexpr uint32_t kBoxIconQuestion = 0x20;
constexpr uint32_t kBoxIconWarning = 0x30;
constexpr uint32_t kBoxIconMask = 0xF0;
constexpr int32_t kAnswerOk = 1;
constexpr int32_t kAnswerCancel = 2;
constexpr int32_t kAnswerYes = 6;
constexpr int32_t kAnswerNo = 7;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    Dialogs(const Dialogs&) = delete;
    Dialogs& operator=(const Dialogs&) = delete;

    // The owner may be null. False on cancel, on failure and while busy;
    // paths are full paths: one, or several for OpenSeveral.
    bool chooseFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths);
    // The font is the start and, on OK, the choice.
    bool chooseFont(Window* owner, FontChoice& font);
    bool chooseColour(Window* owner, Colour& colour);
    // One of the kAnswer values; kAnswerCancel while busy or on failure.
    int32_t messageBox(Window* owner, const std::string& text, const std::string& caption, uint32_t style);

    // A dialog or a popup menu of the window system is showing.
    bool busy() const;

protected:
    explicit Dialogs(WindowSystem& system) : system_(system) {}

    virtual bool runFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths) = 0;
    virtual bool runFont(Window* owner, FontChoice& font) = 0;
    virtual bool runColour(Window* owner, Colour& colour) = 0;
    virtual int32_t runMessageBox(Window* owner, const std::string& text, const std::string& caption,
                                  uint32_t style) = 0;

    WindowSystem& system_;

private:
    class Showing;
    bool showing_ = false;
};

// The extension of a file name after its last '.', "" when it has none.
std::string fileExtension(const std::string& path);
// Points and em heights at 96 pixels an inch, rounded to nearest both ways,
// so that a size comes back as it went: 10 points is -13 and -13 is 10.
int32_t pointsToHeight(int32_t points);
int32_t heightToPoints(int32_t height);

// The save rule every backend follows: a name without an extension gets the
// default one.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

} // namespace platform
