#include "shell/commands.h"

#include "shell/command_scheme.h"
#include "shell/commands_usage.h"
#include "shell/command_ids.h"

namespace {

constexpr size_t kMaxPathPart = 255;
constexpr size_t kMaxContextPath = 1023;

void logKeyCommand(int id)
{
    if (TesselUsageSink* sink = usageSink())
        sink->logCommand(kCmdKeyboard, id);
}

std::string parentPathOf(const std::string& path)
{
    const size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(0, dot);
}

template <typename Node>
Node* findDescendant(Node* node, const std::string& path)
{
    size_t start = 0;
    while (node && start <= path.size() && !path.empty()) {
        size_t end = path.find('.', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, std::min(end - start, kMaxPathPart));
        Node* next = nullptr;
        for (auto& child : node->children) {
            if (child.name == part) {
                next = &child;
                break;
            }
        }
        node = next;
        start = end + 1;
    }
    return node;
}

// Asks the named context, then (falling back through the root each time)
// each enclosing context, and last this node itself.
template <typename Ask>
const TesselCommand& askInContexts(const TesselCommand& self, std::string path, Ask ask)
{
    for (;;) {
        if (!path.empty()) {
            if (const TesselCommand* node = self.findByPath(path)) {
                const TesselCommand& found = ask(*node);
                if (found.id != cmd::kNone)
                    return found;
            }
        }
        const size_t dot = path.rfind('.');
        if (dot == std::string::npos)
            return ask(self);
        path.resize(std::min(dot, kMaxContextPath));
    }
}

} // namespace

const TesselCommand* TesselCommand::findByPath(const std::string& dottedPath) const
{
    return findDescendant(this, dottedPath);
}

TesselCommand* TesselCommand::findByPath(const std::string& dottedPath)
{
    return findDescendant(this, dottedPath);
}

const TesselCommand& TesselCommand::findByKey(const TesselKeyEvent& key, bool acceptRelease) const
{
    if (key.keyUp && !acceptRelease)
        return noneCommand();
    const TesselCommand* fallback = nullptr;
    for (const TesselCommand& child : children) {
        for (const TesselShortcut& shortcut : child.shortcuts) {
            if (!key.matches(shortcut.key))
                continue;
            if (shortcut.key.pressCount == key.pressCount) {
                logKeyCommand(child.id);
                return child;
            }
            if (shortcut.key.pressCount == 0 && !fallback)
                fallback = &child;
        }
    }
    if (fallback) {
        if (fallback->id != cmd::kNone)
            logKeyCommand(fallback->id);
        return *fallback;
    }
    if (!isRoot())
        return defaultScheme().findInContext("", key, acceptRelease);
    return noneCommand();
}

int TesselCommand::idForKey(const TesselKeyEvent& key, bool acceptRelease) const
{
    return findByKey(key, acceptRelease).id;
}

const TesselCommand& TesselCommand::findById(int commandId) const
{
    for (const TesselCommand& child : children)
        if (child.id == commandId)
            return child;
    if (!isRoot())
        return defaultScheme().findByIdInContext("", commandId);
    return noneCommand();
}

int TesselCommand::findIdInContext(const std::string& contextPath, const TesselKeyEvent& key,
                                   bool acceptRelease) const
{
    if (!contextPath.empty()) {
        if (const TesselCommand* node = findByPath(contextPath)) {
            const int found = node->findByKey(key, acceptRelease).id;
            if (found != 0)
                return found;
        }
    }
    return findByKey(key, acceptRelease).id;
}

const TesselCommand& TesselCommand::findInContext(const std::string& contextPath, const TesselKeyEvent& key,
                                                  bool acceptRelease) const
{
    return askInContexts(*this, contextPath,
                         [&](const TesselCommand& node) -> const TesselCommand& {
                             return node.findByKey(key, acceptRelease);
                         });
}

const TesselCommand& TesselCommand::findByIdInContext(const std::string& contextPath, int commandId) const
{
    return askInContexts(*this, contextPath,
                         [&](const TesselCommand& node) -> const TesselCommand& {
                             return node.findById(commandId);
                         });
}

bool findClashes(const TesselCommand& root, const std::string& path, const TesselKeyEvent& key,
                 std::vector<TesselClash>& out)
{
    bool found = false;
    std::string parentPath = parentPathOf(path);
    for (;;) {
        const TesselCommand* parent = root.findByPath(parentPath);
        if (!parent)
            return found;
        for (const TesselCommand& child : parent->children) {
            if (child.path == path)
                continue;
            for (const TesselShortcut& shortcut : child.shortcuts) {
                if (!key.matches(shortcut.key))
                    continue;
                out.push_back({path, child.path, key});
                if (child.path != path)
                    out.push_back({child.path, path, key});
                found = true;
            }
        }
        if (parent->isRoot())
            return found;
        parentPath = parentPathOf(parent->path);
    }
}

bool TesselCommand::checkClashes(const std::string& commandPath, const TesselKeyEvent& key) const
{
    return findClashes(defaultScheme(), commandPath, key, clashList());
}

void TesselCommand::rebuildKeyList() const
{
    clashList().clear();
    std::vector<std::string> paths;
    collectPaths(paths, true);
    for (const std::string& commandPath : paths) {
        if (const TesselCommand* command = findByPath(commandPath))
            for (const TesselShortcut& shortcut : command->shortcuts)
                checkClashes(commandPath, shortcut.key);
    }
}

void findKeyBindings(const std::string& commandPath, std::vector<TesselClash>& out)
{
    for (const TesselClash& clash : clashList())
        if (clash.path == commandPath)
            out.push_back(clash);
}

std::string TesselCommand::labelWithShortcut() const
{
    if (shortcuts.empty())
        return label;
    return label + '\t' + shortcuts.front().key.toString();
}
