#include "platform/dialogs/desktop_dialogs.h"

#include "platform/dialogs/own_dialogs.h"
#include "platform/system/helper_process.h"
#include "platform/window.h"

namespace platform {

std::optional<DialogProgram> DesktopDialogs::findProgram()
{
    if (programOnPath("zenity"))
        return DialogProgram::Zenity;
    if (programOnPath("kdialog"))
        return DialogProgram::Kdialog;
    return std::nullopt;
}

DesktopDialogs::Outcome DesktopDialogs::runProgram(const std::vector<std::string>& arguments)
{
    // Our windows keep painting and their timers run; input waits for the
    // dialog, as the system's own modal dialogs have it.
    const HelperResult result = runHelper(arguments, kOutputCap, [this] { system_.pumpModal(nullptr); });
    Outcome outcome;
    outcome.ran = result.started && !result.overflowed;
    outcome.exitStatus = result.exitStatus;
    outcome.output = result.output;
    return outcome;
}

bool DesktopDialogs::runFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths)
{
    const std::optional<DialogProgram> program = findProgram();
    if (!program)
        return ownFileDialog(system_, owner, request, paths);
    const Outcome outcome = runProgram(fileArguments(*program, request));
    // A host that reaps every child hides the status: the output tells.
    if (!outcome.ran || (outcome.exitStatus != 0 && outcome.exitStatus != -1))
        return false;
    paths = parsePaths(outcome.output);
    return !paths.empty();
}

bool DesktopDialogs::runFont(Window* owner, FontChoice& font)
{
    return ownFontDialog(system_, owner, font);
}

bool DesktopDialogs::runColour(Window* owner, Colour& colour)
{
    const std::optional<DialogProgram> program = findProgram();
    if (!program)
        return ownColourDialog(system_, owner, colour);
    const Outcome outcome = runProgram(colourArguments(*program, colour));
    if (!outcome.ran || (outcome.exitStatus != 0 && outcome.exitStatus != -1))
        return false;
    return parseColour(outcome.output, colour);
}

int32_t DesktopDialogs::runMessageBox(Window* owner, const std::string& text, const std::string& caption,
                                      uint32_t style)
{
    const std::optional<DialogProgram> program = findProgram();
    if (!program)
        return ownMessageBox(system_, owner, text, caption, style);
    const Outcome outcome = runProgram(messageArguments(*program, text, caption, style));
    if (!outcome.ran)
        return kAnswerCancel;
    return messageAnswer(*program, style, outcome.exitStatus, outcome.output);
}

} // namespace platform
