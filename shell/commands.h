#pragma once
// The keyboard command tree: contexts and commands under dotted paths
// ("PatternEditor.Pattern.NoteEntry"), each command with its shortcuts.

#include "platform/key_event.h"

#include <cstdint>
#include <string>
#include <vector>

struct TesselCommandDef {
    int32_t id;
    const char* name;
    const char* label;         // '&' marks the accelerator letter
    const char* description;
    uint32_t flags;

    std::string plainLabel() const;
};

// A binding. The command path is held by value: children live in growing
// arrays and move when the tree changes.
struct TesselShortcut {
    std::string path;
    TesselKeyEvent key;
    uint32_t flag = 1;
};

struct TesselShortcutDef {
    const char* path;
    TesselKeyEvent key;
    uint32_t flag;
};

// Two commands in related contexts that share a key.
struct TesselClash {
    std::string path;
    std::string otherPath;
    TesselKeyEvent key;
};

// Editor thread only; nothing here is locked.
class TesselCommand {
public:
    TesselCommand(const TesselCommandDef& def, const std::string& parentPath);
    virtual ~TesselCommand() = default;
    TesselCommand(const TesselCommand&) = default;
    TesselCommand& operator=(const TesselCommand&) = default;

    // Lookup by key or id; these never fail: no match gives noneCommand().
    virtual int idForKey(const TesselKeyEvent& key, bool acceptRelease) const;
    virtual const TesselCommand& findById(int id) const;
    virtual const TesselCommand& findByKey(const TesselKeyEvent& key, bool acceptRelease) const;

    // The descendant at a dotted path; this node for ""; null when a part is missing.
    const TesselCommand* findByPath(const std::string& path) const;
    TesselCommand* findByPath(const std::string& path);

    // Lookups that fall back through the enclosing contexts and the root.
    int findIdInContext(const std::string& contextPath, const TesselKeyEvent& key, bool acceptRelease) const;
    const TesselCommand& findInContext(const std::string& contextPath, const TesselKeyEvent& key,
                                       bool acceptRelease) const;
    const TesselCommand& findByIdInContext(const std::string& contextPath, int id) const;

    // The first key of the first command with that id in the context that has
    // one; all zero when there is none.
    TesselKeyEvent shortcutKey(const std::string& contextPath, int id) const;

    void addChildren(const TesselCommandDef* rows, int count);
    // Rebuilds the built-in tree and its default shortcuts.
    void resetToDefaults();

    void addShortcut(const TesselKeyEvent& key);
    void setShortcut(size_t index, const TesselKeyEvent& key);
    void removeShortcut(size_t index);
    // This command's and all its descendants'.
    void clearShortcuts();
    void collectPaths(std::vector<std::string>& list, bool recursive) const;

    // Records in the global clash list every binding in this or an enclosing
    // context that K would clash with, found through the default scheme.
    bool checkClashes(const std::string& path, const TesselKeyEvent& key) const;
    // Empties the global clash list and refills it for every binding.
    void rebuildKeyList() const;

    bool isRoot() const { return path.empty(); }

    // For menu entries: the label, then a tab and the first shortcut's text
    // when the command has a shortcut.
    std::string labelWithShortcut() const;

    int32_t id;
    std::string name;
    std::string label;
    std::string description;
    uint32_t flags;
    std::string path;
    std::vector<TesselCommand> children;
    std::vector<TesselShortcut> shortcuts;
};

// Clash search below an explicit root, for schemes other than the default one.
bool findClashes(const TesselCommand& root, const std::string& path, const TesselKeyEvent& key,
                 std::vector<TesselClash>& out);

const TesselCommand& noneCommand();
const TesselCommand& ignoredCommand();

// Process-wide; rebuilt by TesselCommand::rebuildKeyList.
std::vector<TesselClash>& clashList();
// Appends the clash records whose first path is `path`.
void findKeyBindings(const std::string& path, std::vector<TesselClash>& out);
