#pragma once
// A node of the tree view: an id its owner chooses, a dotted key, the text
// shown in its row and the children it owns, in display order.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TesselTreeNode {
    static constexpr size_t kNameSize = 256;   // the key, terminator included

    TesselTreeNode() = default;
    TesselTreeNode(const TesselTreeNode&) = delete;
    TesselTreeNode& operator=(const TesselTreeNode&) = delete;

    // A node under `parent` keyed "parent key.name" (the name alone under the
    // root), with that id and text.
    static TesselTreeNode* addChild(TesselTreeNode* parent, int32_t id, const std::string& name,
                                    const std::string& text);

    // Deletes every child with its subtree.
    void clearChildren() { children.clear(); }
    // Deletes the node's subtree, takes it out of its parent's children and
    // frees it; false (nothing done) for the root, which its tree owns.
    static bool remove(TesselTreeNode* node);
    // The node's place among its parent's children; 0 for the root.
    int32_t indexInParent() const;
    bool hasChildren() const { return !children.empty(); }
    bool isLastChild() const { return !parent || parent->children.back().get() == this; }
    bool isInside(const TesselTreeNode* ancestor) const;

    // Visible order: children follow a node only while it is expanded.
    TesselTreeNode* nextVisible();
    TesselTreeNode* previousVisible();
    TesselTreeNode* lastVisibleDescendant();

    // First: the tree view returns a pointer to the selected node's id.
    int32_t id = 0;
    std::string name;
    std::string label;
    bool expanded = false;
    TesselTreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TesselTreeNode>> children;
};
