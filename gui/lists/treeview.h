#pragma once
// A tree of named nodes, one per 8-pixel row, with expand and collapse marks
// drawn as glyphs of the bitmap font, a keyboard-driven selection and a
// scroll bar on its right. The keyboard-shortcuts page shows the command
// tree in one.

#include "gui/controls/scrollbar.h"
#include "gui/controls/tessel_control.h"
#include "gui/lists/tree_node.h"

#include <cstdint>
#include <string>
#include <vector>

class TesselTreeview : public TesselControl {
public:
    static constexpr int32_t kClassId = 23;
    static constexpr int32_t kRowHeight = 8;
    // One glyph cell per level: 8 pixels, 6 with the small font.
    int32_t indent() const { return smallFont ? 6 : 8; }
    static constexpr int32_t kScrollbarWidth = 10;

    TesselTreeview();
    ~TesselTreeview() override = default;

    // Left, Right, Up and Down move the selection, expand and collapse; the
    // view then follows it. A pointer to the selected node's id, or null.
    int32_t* onKey(const TesselKeyEvent& key) override;
    // The scroll bar first; else a press selects the row's node, or opens or
    // closes it when it is selected already.
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override { return point.isInside(rect); }
    // The tree's colour and its bar's.
    void setColour(uint32_t rgba) override;
    CRect* getRect() override { return &rect; }
    void setRect(const CRect& newRect);

    // Composes the visible rows and copies them to the target at the rectangle.
    void drawTree(VSTGUI::CDrawContext* target, bool focused);
    // A positive distance selects the previous visible node, a negative one
    // the next.
    void onWheel(float distance);

    // Node changes through the tree: a selection inside what goes moves to
    // the nearest node that stays. remove refuses the root.
    void clearChildren(TesselTreeNode* node);
    bool remove(TesselTreeNode* node);
    // After nodes were added or opened from outside.
    void nodesChanged();

    TesselTreeNode& getRoot() { return root; }
    TesselTreeNode* getSelection() const { return selected; }
    void setSelection(TesselTreeNode* node);
    int32_t getFirstVisible() const { return firstVisible; }
    void setFirstVisible(int32_t row);
    const std::vector<TesselTreeNode*>& visibleNodes() const { return visible; }
    TesselScrollbar& getScrollbar() { return scrollbar; }
    // Rows that fit: (height - 2) / 8.
    int32_t rowCount() const { return (rect.height() - 2) / kRowHeight; }

private:
    // The visible list in row order, and the scroll bar's counts with it.
    void rebuildVisible();
    void appendVisible(TesselTreeNode* node);
    int32_t visibleIndexOf(const TesselTreeNode* node) const;
    // After a key or the wheel: the first row keeps the selection in view.
    void followSelection();
    // Moves a selection that lies inside `doomed` (or is it) to `keeper`.
    void keepSelectionOutOf(const TesselTreeNode* doomed, TesselTreeNode* keeper);
    void drawRow(VSTGUI::CDrawContext* context, TesselTreeNode* node, unsigned char glyph, int32_t depth,
                 int32_t row);
    // A row's mark and label, cut to what the width before the bar holds.
    std::string rowText(const TesselTreeNode& node, unsigned char glyph, int32_t x) const;
    // Draws the node's children from `row` on; returns the row after them.
    int32_t drawChildren(VSTGUI::CDrawContext* context, TesselTreeNode* node, int32_t depth, int32_t row);

    TesselTreeNode root;
    CRect rect;
    TesselTreeNode* selected = nullptr;
    TesselScrollbar scrollbar;
    std::vector<TesselTreeNode*> visible;
    int32_t firstVisible = 0;
};
