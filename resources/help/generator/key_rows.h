#pragma once
// Rows of the key reference pages: the keys that reach a command of the
// default command scheme, and rows written by hand for the keys that pages
// handle themselves.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace helpgen {

struct KeyRow {
    std::string keys;     // plain text, escaped when the page is written
    std::string action;
};

struct KeySection {
    std::string title;
    std::vector<KeyRow> rows;
};

// The shortcut texts of the default scheme that reach the command `id` of
// `context` (an id of shell/command_ids.h): a binding that an earlier
// command of the same context takes first is left out, as the key never
// reaches this one. A command the context does not hold stops the builder
// (std::invalid_argument) rather than leave its row out unnoticed.
std::vector<std::string> reachableKeys(std::string_view context, int32_t id);

// One row for a command; the action is its label unless given. No row (an
// empty `keys`) when no key reaches it.
KeyRow commandRow(std::string_view context, int32_t id, std::string_view action = {});

// A row per command of a context that a key reaches, in table order, except
// the named ones and the sub-contexts.
std::vector<KeyRow> contextRows(std::string_view context, std::vector<std::string_view> except = {});

// The note keys of the note-entry context, grouped by octave, then its other
// commands.
std::vector<KeyRow> noteEntryRows();

// Appends the rows that have keys.
void addRows(KeySection& section, const std::vector<KeyRow>& rows);
void addRow(KeySection& section, const KeyRow& row);

} // namespace helpgen
