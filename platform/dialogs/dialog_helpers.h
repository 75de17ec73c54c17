#pragma once
// The command lines of the desktop's dialog programs and the reading of what
// they print. Each argument is one element: titles and texts arrive as
// given, whatever quotes or shell characters they hold. Patterns are
// case-blind ("*.[wW][aA][vV]"); a filter without extensions is "*"; the
// selected filter goes first, as both programs select the first.

#include "platform/dialogs/dialogs.h"

#include <string>
#include <vector>

namespace platform {

enum class DialogProgram : uint8_t { Zenity, Kdialog };

// "wav" gives "*.[wW][aA][vV]"; "" gives "*".
std::string caseBlindPattern(const std::string& extension);
// The filters with the selected one first.
std::vector<FileFilter> filtersInOrder(const FileDialogRequest& request);

std::vector<std::string> fileArguments(DialogProgram program, const FileDialogRequest& request);
// The paths printed on success, one a line; none when the output holds none.
std::vector<std::string> parsePaths(const std::string& output);

std::vector<std::string> colourArguments(DialogProgram program, Colour start);
// "rgb(r,g,b)", "rgba(r,g,b,a)" or "#rrggbb".
bool parseColour(const std::string& output, Colour& colour);

std::vector<std::string> messageArguments(DialogProgram program, const std::string& text,
                                          const std::string& caption, uint32_t style);
// The answer of a message box from the program's exit status and output.
int32_t messageAnswer(DialogProgram program, uint32_t style, int exitStatus, const std::string& output);

} // namespace platform
