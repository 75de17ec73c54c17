#include "key_rows.h"

#include "shell/commands_tables.h"
#include "shell/command_ids.h"

#include <algorithm>
#include <stdexcept>

namespace helpgen {

namespace {

struct Binding {
    std::string_view command;
    const TesselShortcutDef* shortcut;
};

const TesselContextTable* contextTable(std::string_view context)
{
    for (const TesselContextTable& table : commandContextTables())
        if (context == table.path)
            return &table;
    return nullptr;
}

std::string commandPath(std::string_view context, std::string_view name)
{
    return context.empty() ? std::string(name) : std::string(context) + "." + std::string(name);
}

bool isContext(std::string_view path)
{
    return contextTable(path) != nullptr;
}

// Every binding of a context in the order the key lookup meets them: the
// commands in table order, each command's shortcuts in table order.
std::vector<Binding> bindingsOf(std::string_view context)
{
    std::vector<Binding> bindings;
    const TesselContextTable* table = contextTable(context);
    if (!table)
        return bindings;
    for (const TesselCommandDef& command : table->rows) {
        const std::string path = commandPath(context, command.name);
        for (const TesselShortcutDef& shortcut : defaultShortcutTable())
            if (path == shortcut.path)
                bindings.push_back({command.name, &shortcut});
    }
    return bindings;
}

std::string plainLabel(const char* label)
{
    std::string text(label);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}

const TesselCommandDef& commandDef(std::string_view context, int32_t id)
{
    if (const TesselContextTable* table = contextTable(context))
        for (const TesselCommandDef& command : table->rows)
            if (command.id == id)
                return command;
    throw std::invalid_argument("no command " + std::to_string(id) + " in the context \"" + std::string(context)
                                + "\"");
}

} // namespace

std::vector<std::string> reachableKeys(std::string_view context, int32_t id)
{
    const std::string_view name = commandDef(context, id).name;
    std::vector<std::string> keys;
    const std::vector<Binding> bindings = bindingsOf(context);
    for (size_t i = 0; i < bindings.size(); ++i) {
        if (bindings[i].command != name)
            continue;
        const TesselKeyEvent& key = bindings[i].shortcut->key;
        const bool taken = std::any_of(bindings.begin(), bindings.begin() + long(i), [&key](const Binding& earlier) {
            return key.matches(earlier.shortcut->key) && earlier.shortcut->key.pressCount == key.pressCount;
        });
        if (!taken)
            keys.push_back(key.toString());
    }
    return keys;
}

KeyRow commandRow(std::string_view context, int32_t id, std::string_view action)
{
    KeyRow row;
    row.keys = joined(reachableKeys(context, id), ", ");
    row.action = action.empty() ? plainLabel(commandDef(context, id).label) : std::string(action);
    return row;
}

std::vector<KeyRow> contextRows(std::string_view context, std::vector<std::string_view> except)
{
    std::vector<KeyRow> rows;
    const TesselContextTable* table = contextTable(context);
    if (!table)
        return rows;
    for (const TesselCommandDef& command : table->rows) {
        const std::string_view name = command.name;
        if (isContext(commandPath(context, name)) || std::find(except.begin(), except.end(), name) != except.end())
            continue;
        KeyRow row = commandRow(context, command.id);
        if (!row.keys.empty())
            rows.push_back(row);
    }
    return rows;
}

std::vector<KeyRow> noteEntryRows()
{
    using namespace cmd::note_entry;
    struct Octave {
        int first;
        int last;
        const char* action;
    };
    constexpr Octave kOctaves[] = {
        {kFirstNote, kFirstNote + 11, "Notes C to B of the base octave"},
        {kFirstNote + 12, kLastOctaveNote, "Notes C to B one octave up"},
        {kLastOctaveNote + 1, kLastNoteKey, "Notes C to E two octaves up"},
    };
    std::vector<KeyRow> rows;
    const TesselContextTable* table = contextTable(kContext);
    if (!table)
        return rows;
    for (const Octave& octave : kOctaves) {
        std::vector<std::string> keys;
        for (const TesselCommandDef& command : table->rows)
            if (command.id >= octave.first && command.id <= octave.last)
                for (const std::string& key : reachableKeys(kContext, command.id))
                    keys.push_back(key);
        if (!keys.empty())
            rows.push_back({joined(keys, " "), octave.action});
    }
    struct Plain {
        const char* name;
        const char* action;
    };
    constexpr Plain kPlainWords[] = {
        {"NoteClear", "Clear the field"},
        {"NoteMask", "Mark the column: new notes copy it"},
        {"NoteOff", "Note off (===)"},
        {"NoteCut", "Note cut (^^^)"},
        {"NoteAudition", "Play the cell"},
    };
    for (const TesselCommandDef& command : table->rows) {
        if (command.id <= kLastNoteKey)
            continue;
        std::string_view action;
        for (const Plain& plain : kPlainWords)
            if (std::string_view(command.name) == plain.name)
                action = plain.action;
        KeyRow row = commandRow(kContext, command.id, action);
        if (!row.keys.empty())
            rows.push_back(row);
    }
    return rows;
}

void addRows(KeySection& section, const std::vector<KeyRow>& rows)
{
    for (const KeyRow& row : rows)
        addRow(section, row);
}

void addRow(KeySection& section, const KeyRow& row)
{
    if (!row.keys.empty())
        section.rows.push_back(row);
}

} // namespace helpgen
