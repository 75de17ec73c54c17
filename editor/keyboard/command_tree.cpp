#include "editor/keyboard/command_tree.h"

#include "gui/lists/treeview.h"
#include "shell/commands.h"

#include <set>

namespace {

void addCommands(TesselTreeNode* node, const TesselCommand& command)
{
    for (const TesselCommand& child : command.children)
        addCommands(TesselTreeNode::addChild(node, child.id, child.name, commandNodeText(child)), child);
}

void collectOpen(const TesselTreeNode& node, std::set<std::string>& open)
{
    for (const auto& child : node.children) {
        if (child->expanded)
            open.insert(child->name);
        collectOpen(*child, open);
    }
}

TesselTreeNode* reopen(TesselTreeNode& node, const std::set<std::string>& open, const std::string& selected)
{
    TesselTreeNode* found = nullptr;
    for (const auto& child : node.children) {
        child->expanded = open.count(child->name) != 0;
        if (child->name == selected)
            found = child.get();
        if (TesselTreeNode* below = reopen(*child, open, selected))
            found = below;
    }
    return found;
}

} // namespace

std::string commandNodeText(const TesselCommand& command)
{
    std::string text = TesselCommandDef{0, nullptr, command.label.c_str(), nullptr, 0}.plainLabel();
    for (const TesselShortcut& shortcut : command.shortcuts)
        text += " [" + shortcut.key.toString() + "]";
    return text;
}

void rebuildCommandTree(TesselTreeview& tree, const TesselCommand& scheme)
{
    TesselTreeNode& root = tree.getRoot();
    const TesselTreeNode* selection = tree.getSelection();
    // The root's key is empty: a selection on it, or none, finds the root again.
    const std::string selected = selection ? selection->name : std::string();
    const int32_t firstVisible = tree.getFirstVisible();
    std::set<std::string> open;
    collectOpen(root, open);

    tree.clearChildren(&root);
    root.label = kSchemeRootLabel;
    addCommands(&root, scheme);
    TesselTreeNode* found = reopen(root, open, selected);
    tree.setSelection(found ? found : &root);
    tree.nodesChanged();
    tree.setFirstVisible(firstVisible);
}
