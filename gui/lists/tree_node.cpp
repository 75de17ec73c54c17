#include "gui/lists/tree_node.h"

TesselTreeNode* TesselTreeNode::addChild(TesselTreeNode* parent, int32_t id, const std::string& name,
                                         const std::string& text)
{
    if (!parent)
        return nullptr;
    auto child = std::make_unique<TesselTreeNode>();
    child->id = id;
    child->name = parent->parent ? parent->name + "." + name : name;
    if (child->name.size() >= kNameSize)
        child->name.resize(kNameSize - 1);
    child->label = text;
    child->parent = parent;
    parent->children.push_back(std::move(child));
    return parent->children.back().get();
}

bool TesselTreeNode::remove(TesselTreeNode* node)
{
    if (!node || !node->parent)
        return false;
    auto& siblings = node->parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
        if (it->get() == node) {
            siblings.erase(it);
            return true;
        }
    return false;
}

int32_t TesselTreeNode::indexInParent() const
{
    if (!parent)
        return 0;
    const auto& siblings = parent->children;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<int32_t>(i);
    return 0;
}

bool TesselTreeNode::isInside(const TesselTreeNode* ancestor) const
{
    for (const TesselTreeNode* n = this; n; n = n->parent)
        if (n == ancestor)
            return true;
    return false;
}

TesselTreeNode* TesselTreeNode::nextVisible()
{
    if (expanded && hasChildren())
        return children.front().get();
    for (TesselTreeNode* n = this; n->parent; n = n->parent) {
        const auto& siblings = n->parent->children;
        const size_t next = static_cast<size_t>(n->indexInParent()) + 1;
        if (next < siblings.size())
            return siblings[next].get();
    }
    return nullptr;
}

TesselTreeNode* TesselTreeNode::previousVisible()
{
    if (!parent)
        return nullptr;
    const int32_t index = indexInParent();
    if (index == 0)
        return parent;
    return parent->children[static_cast<size_t>(index - 1)]->lastVisibleDescendant();
}

TesselTreeNode* TesselTreeNode::lastVisibleDescendant()
{
    TesselTreeNode* n = this;
    while (n->expanded && n->hasChildren())
        n = n->children.back().get();
    return n;
}
