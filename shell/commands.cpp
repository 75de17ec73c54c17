#include "shell/commands.h"

#include "shell/command_scheme.h"
#include "shell/commands_tables.h"
#include "shell/commands_usage.h"
#include "shell/command_ids.h"

namespace {

TesselUsageSink* gUsageSink = nullptr;

} // namespace

void setUsageSink(TesselUsageSink* sink)
{
    gUsageSink = sink;
}

TesselUsageSink* usageSink()
{
    return gUsageSink;
}

std::string TesselCommandDef::plainLabel() const
{
    std::string text;
    for (const char* c = label; c && *c; ++c)
        if (*c != '&')
            text += *c;
    return text;
}

TesselCommand::TesselCommand(const TesselCommandDef& def, const std::string& parentPath)
    : id(def.id),
      name(def.name ? def.name : ""),
      label(def.label ? def.label : ""),
      description(def.description ? def.description : ""),
      flags(def.flags),
      path(parentPath.empty() ? name : parentPath + "." + name)
{
}

const TesselCommand& noneCommand()
{
    static const TesselCommand none({cmd::kNone, "None", "<None>", "No description", 0}, "");
    return none;
}

const TesselCommand& ignoredCommand()
{
    static const TesselCommand ignored({cmd::kIgnored, "Ignored", "<Ignored>", "No description", 0}, "");
    return ignored;
}

void TesselCommand::addChildren(const TesselCommandDef* rows, int count)
{
    children.reserve(children.size() + static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        children.emplace_back(rows[i], path);
}

void TesselCommand::resetToDefaults()
{
    children.clear();
    for (const TesselContextTable& context : commandContextTables()) {
        if (TesselCommand* node = findByPath(context.path))
            node->addChildren(context.rows.data(), static_cast<int>(context.rows.size()));
    }
    for (const TesselShortcutDef& row : defaultShortcutTable()) {
        if (TesselCommand* command = findByPath(row.path))
            command->shortcuts.push_back({row.path, row.key, row.flag});
    }
}

void TesselCommand::addShortcut(const TesselKeyEvent& key)
{
    shortcuts.push_back({path, key, 1});
}

void TesselCommand::setShortcut(size_t index, const TesselKeyEvent& key)
{
    if (index < shortcuts.size())
        shortcuts[index].key = key;
    else
        addShortcut(key);
}

void TesselCommand::removeShortcut(size_t index)
{
    if (index < shortcuts.size())
        shortcuts.erase(shortcuts.begin() + static_cast<std::ptrdiff_t>(index));
}

void TesselCommand::clearShortcuts()
{
    shortcuts.clear();
    for (TesselCommand& child : children)
        child.clearShortcuts();
}

void TesselCommand::collectPaths(std::vector<std::string>& list, bool recursive) const
{
    for (const TesselCommand& child : children) {
        list.push_back(child.path);
        if (recursive)
            child.collectPaths(list, true);
    }
}

TesselKeyEvent TesselCommand::shortcutKey(const std::string& contextPath, int commandId) const
{
    if (const TesselCommand* context = findByPath(contextPath)) {
        for (const TesselCommand& child : context->children)
            if (child.id == commandId && !child.shortcuts.empty())
                return child.shortcuts.front().key;
    }
    return TesselKeyEvent{};
}
