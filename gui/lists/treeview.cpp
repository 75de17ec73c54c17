#include "gui/lists/treeview.h"

#include "gui/controls/control_skin.h"
#include "platform/key_event.h"

#include <algorithm>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;

} // namespace

TesselTreeview::TesselTreeview() : TesselControl(kClassId)
{
    setColour(control_skin::kDefaultColour);
    rebuildVisible();
}

void TesselTreeview::setColour(uint32_t rgba)
{
    TesselControl::setColour(rgba);
    scrollbar.setColour(rgba);
    dirty = true;
}

void TesselTreeview::setRect(const CRect& newRect)
{
    rect = newRect;
    scrollbar.setRect(CRect(rect.width() - kScrollbarWidth, 0, rect.width(), rect.height()));
    rebuildVisible();
    dirty = true;
}

void TesselTreeview::appendVisible(TesselTreeNode* node)
{
    visible.push_back(node);
    if (node->expanded)
        for (const auto& child : node->children)
            appendVisible(child.get());
}

void TesselTreeview::rebuildVisible()
{
    visible.clear();
    appendVisible(&root);
    scrollbar.setCounts(static_cast<int32_t>(visible.size()), rowCount());
    firstVisible = std::clamp(firstVisible, 0, scrollbar.lastPosition());
}

int32_t TesselTreeview::visibleIndexOf(const TesselTreeNode* node) const
{
    const auto found = std::find(visible.begin(), visible.end(), node);
    return found == visible.end() ? -1 : static_cast<int32_t>(found - visible.begin());
}

void TesselTreeview::nodesChanged()
{
    rebuildVisible();
    dirty = true;
}

void TesselTreeview::setSelection(TesselTreeNode* node)
{
    selected = node;
    dirty = true;
}

void TesselTreeview::setFirstVisible(int32_t row)
{
    firstVisible = std::clamp(row, 0, scrollbar.lastPosition());
    dirty = true;
}

void TesselTreeview::followSelection()
{
    rebuildVisible();
    const int32_t rows = rowCount();
    const int32_t count = static_cast<int32_t>(visible.size());
    const int32_t s = std::max(visibleIndexOf(selected), 0);
    if (s < firstVisible)
        firstVisible = s;
    if (s >= firstVisible + rows)
        firstVisible = s + 1 - rows;
    if (count < firstVisible + rows)
        firstVisible = std::max(0, count - rows);
    dirty = true;
}

int32_t* TesselTreeview::onKey(const TesselKeyEvent& key)
{
    using namespace control_skin;
    if (!key.keyUp) {
        const uint8_t k = key.virtualKey;
        if (!selected) {
            if (k == kVkLeft || k == kVkRight || k == kVkUp || k == kVkDown)
                selected = &root;
        } else if (k == kVkLeft) {
            if (selected->expanded && selected->hasChildren())
                selected->expanded = false;
            else if (selected->parent)
                selected = selected->parent;
        } else if (k == kVkRight) {
            if (selected->hasChildren()) {
                if (selected->expanded)
                    selected = selected->children.front().get();
                else
                    selected->expanded = true;
            }
        } else if (k == kVkUp) {
            if (TesselTreeNode* previous = selected->previousVisible())
                selected = previous;
        } else if (k == kVkDown) {
            if (TesselTreeNode* next = selected->nextVisible())
                selected = next;
        }
        followSelection();
    }
    return selected ? &selected->id : nullptr;
}

void TesselTreeview::onWheel(float distance)
{
    if (distance == 0.0f)
        return;
    if (!selected) {
        selected = &root;
    } else {
        TesselTreeNode* next = distance > 0.0f ? selected->previousVisible() : selected->nextVisible();
        if (next)
            selected = next;
    }
    followSelection();
}

int32_t* TesselTreeview::onMouse(int32_t buttons, const CPoint& point)
{
    const CPoint local(point.h - rect.left, point.v - rect.top);
    if (!scrollbar.isDragging())
        scrollbar.setPosition(firstVisible);
    if (scrollbar.trackMouse(local, buttons)) {
        firstVisible = scrollbar.getPosition();
        dirty = true;
        return selected ? &selected->id : nullptr;
    }
    if (!(buttons & kMouseButtons) || local.v < 2)
        return selected ? &selected->id : nullptr;
    rebuildVisible();
    const int32_t row = (local.v - 2) / kRowHeight + firstVisible;
    if (row < static_cast<int32_t>(visible.size())) {
        TesselTreeNode* hit = visible[static_cast<size_t>(row)];
        if (hit == selected && hit->hasChildren())
            hit->expanded = !hit->expanded;
        selected = hit;
        rebuildVisible();
        dirty = true;
    }
    return selected ? &selected->id : nullptr;
}

void TesselTreeview::keepSelectionOutOf(const TesselTreeNode* doomed, TesselTreeNode* keeper)
{
    if (selected && selected->isInside(doomed))
        selected = keeper;
}

void TesselTreeview::clearChildren(TesselTreeNode* node)
{
    if (!node)
        return;
    for (const auto& child : node->children)
        keepSelectionOutOf(child.get(), node);
    node->clearChildren();
    nodesChanged();
}

bool TesselTreeview::remove(TesselTreeNode* node)
{
    if (!node || !node->parent || !node->isInside(&root))
        return false;
    keepSelectionOutOf(node, node->parent);
    TesselTreeNode::remove(node);
    nodesChanged();
    return true;
}
