#pragma once
// The command ids the pattern editor answers: its page's ("PatternEditor"),
// the grid's ("PatternEditor.Pattern"), note entry's ("...NoteEntry") and
// the root commands that reach the page, all from the command table; and
// the one id of the page's own that no table holds.

#include "shell/command_ids.h"

#include <cstdint>

namespace edit_commands {

using namespace cmd::root;
using namespace cmd::pattern_editor;
using namespace cmd::pattern;
using namespace cmd::note_entry;

// The editor's 100 ms command timer, run as a command of the page.
constexpr int32_t kTimedCommand = 288;

constexpr const char* kPageContext = cmd::pattern_editor::kContext;
constexpr const char* kGridContext = cmd::pattern::kContext;
constexpr const char* kNoteEntryContext = cmd::note_entry::kContext;

} // namespace edit_commands
