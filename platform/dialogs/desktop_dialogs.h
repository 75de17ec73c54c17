#pragma once
// The desktop's dialogs: zenity, else kdialog, else our own windows (always
// ours for fonts). The program is looked up on PATH at each request and run
// as a helper process; while it shows, the window system only paints and
// runs timers. Output beyond the cap, or a program that cannot start, is a
// failure (cancel), never a partial answer.

#include "platform/dialogs/dialog_helpers.h"
#include "platform/dialogs/dialogs.h"

#include <optional>

namespace platform {

class DesktopDialogs final : public Dialogs {
public:
    // Enough for 1024 paths of 1023 bytes.
    static constexpr size_t kOutputCap = 1100 * 1024;

    explicit DesktopDialogs(WindowSystem& system) : Dialogs(system) {}

    // The dialog program found now; none means our own windows.
    static std::optional<DialogProgram> findProgram();

protected:
    bool runFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths) override;
    bool runFont(Window* owner, FontChoice& font) override;
    bool runColour(Window* owner, Colour& colour) override;
    int32_t runMessageBox(Window* owner, const std::string& text, const std::string& caption,
                          uint32_t style) override;

private:
    struct Outcome {
        bool ran = false;
        int exitStatus = -1;
        std::string output;
    };
    Outcome runProgram(const std::vector<std::string>& arguments);
};

} // namespace platform
