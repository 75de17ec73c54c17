// The scheme as markup: one "key" element per binding inside "scheme".

#include "shell/command_scheme.h"

#include "model/markup/markup.h"
#include "shell/commands_tables.h"
#include "shell/preferences_files.h"

#include <set>

namespace {

void writeBindings(const TesselCommand& node, FILE* stream)
{
    for (const TesselCommand& child : node.children) {
        for (const TesselShortcut& shortcut : child.shortcuts) {
            TesselElement key("key", kElementSelf);
            key.add("command", shortcut.path.c_str());
            key.add("shortcut", shortcut.key.toString(false, true).c_str());
            if (shortcut.key.pressCount != 0)
                key.addInt("repeat", shortcut.key.pressCount);
            writeElement(stream, key, true, true);
        }
        writeBindings(child, stream);
    }
}

bool isSchemeEnd(const TesselElement& element)
{
    return element.is("scheme", "sc", kElementClose);
}

} // namespace

bool TesselCommandScheme::write(FILE* stream) const
{
    TesselElement open("scheme", kElementOpen);
    open.add("name", schemeName_.c_str());
    writeElement(stream, open, true, true);
    writeBindings(*this, stream);
    writeElement(stream, TesselElement("scheme", kElementClose), true, true);
    return !ferror(stream);
}

bool TesselCommandScheme::read(TesselMemoryFile& file, const TesselElement& element)
{
    TesselCommandScheme loaded(*this);
    std::vector<TesselClash> clashes;
    if (!loaded.readBindings(file, element, clashes))
        return false;
    *this = std::move(loaded);
    clashList().insert(clashList().end(), clashes.begin(), clashes.end());
    return true;
}

bool TesselCommandScheme::readBindings(TesselMemoryFile& file, const TesselElement& element,
                                       std::vector<TesselClash>& clashes)
{
    clearShortcuts();
    char text[kMarkupValueSize];
    if (element.getString("name", "n", text))
        setSchemeName(text);

    bool ended = false;
    TesselElement tag;
    while (!ended && readElement(file, tag)) {
        if (tag.is("key", "ke", kElementOpen | kElementSelf)) {
            char command[kMarkupValueSize];
            if (!tag.getString("command", "c", command) || !tag.getString("shortcut", "s", text))
                continue;
            if (TesselCommand* target = findByPath(command)) {
                int32_t repeat = 0;
                tag.getInt("repeat", "r", repeat);
                target->addShortcut(TesselKeyEvent::parse(text, repeat));
            }
        } else if (isSchemeEnd(tag)) {
            ended = true;
        }
    }
    if (ended)
        restoreDefaultKeys(clashes);
    return ended;
}

void TesselCommandScheme::restoreDefaultKeys(std::vector<TesselClash>& clashes)
{
    // Only commands the file left without a binding get their defaults, all of them.
    std::set<std::string> unbound;
    for (const TesselShortcutDef& row : defaultShortcutTable()) {
        const TesselCommand* command = findByPath(row.path);
        if (command && command->shortcuts.empty())
            unbound.insert(row.path);
    }
    for (const TesselShortcutDef& row : defaultShortcutTable()) {
        if (!unbound.count(row.path))
            continue;
        if (!findClashes(*this, row.path, row.key, clashes))
            findByPath(row.path)->addShortcut(row.key);
    }
}

bool TesselCommandScheme::readFile(const std::string& filePath)
{
    TesselMemoryFile file;
    if (!file.load(filePath))
        return false;
    bool result = false;
    TesselElement element;
    while (!file.atEnd() && readElement(file, element)) {
        if (element.is("scheme", "sc", kElementOpen | kElementSelf))
            result = read(file, element);
    }
    return result;
}

bool TesselCommandScheme::writeFile(const std::string& filePath) const
{
    return saveTextFileReplacing(filePath, [this](FILE* stream) { return write(stream); });
}
