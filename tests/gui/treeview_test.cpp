// The tree view on a tree of three levels: keys and wheel move the
// selection and the first row, clicks select and open, deleting nodes moves
// the selection out of them, and the face shows the box and line glyphs
// where they belong (probed cell by cell; written to screenshots/).
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/treeview.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "platform/key_event.h"
#include "platform/system/folders.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::rgb;
using namespace resources;

constexpr uint8_t kLeft = 11, kRight = 13;

// root
//   alpha            (a1 (x1), a2)
//   beta             leaf
//   gamma            (c1, c2)
class TreeviewTest : public ::testing::Test {
protected:
    TreeviewTest()
    {
        TesselTreeNode& root = tree.getRoot();
        root.label = "Scheme";
        alpha = TesselTreeNode::addChild(&root, 1, "Alpha", "alpha");
        a1 = TesselTreeNode::addChild(alpha, 11, "One", "a1");
        x1 = TesselTreeNode::addChild(a1, 111, "Deep", "x1");
        a2 = TesselTreeNode::addChild(alpha, 12, "Two", "a2");
        beta = TesselTreeNode::addChild(&root, 2, "Beta", "beta");
        gamma = TesselTreeNode::addChild(&root, 3, "Gamma", "gamma");
        c1 = TesselTreeNode::addChild(gamma, 31, "One", "c1");
        c2 = TesselTreeNode::addChild(gamma, 32, "Two", "c2");
        tree.setRect(CRect(10, 10, 210, 10 + 2 + 8 * 4));   // 4 rows
        tree.nodesChanged();
    }

    TesselTreeNode* key(uint8_t virtualKey)
    {
        int32_t* id = tree.onKey(namedKey(virtualKey));
        EXPECT_EQ(id, tree.getSelection() ? &tree.getSelection()->id : nullptr);
        return tree.getSelection();
    }
    std::vector<std::string> visibleLabels() const
    {
        std::vector<std::string> labels;
        for (const TesselTreeNode* n : tree.visibleNodes())
            labels.push_back(n->label);
        return labels;
    }

    TesselTreeview tree;
    TesselTreeNode *alpha, *a1, *x1, *a2, *beta, *gamma, *c1, *c2;
};

} // namespace

TEST_F(TreeviewTest, KeysOpenCloseAndWalkTheVisibleOrder)
{
    struct Step {
        uint8_t key;
        TesselTreeNode* selected;
        std::vector<std::string> visible;
        int32_t first;
    };
    const std::vector<std::string> closed{"Scheme"};
    const std::vector<std::string> top{"Scheme", "alpha", "beta", "gamma"};
    const std::vector<std::string> alphaOpen{"Scheme", "alpha", "a1", "a2", "beta", "gamma"};
    const std::vector<std::string> deep{"Scheme", "alpha", "a1", "x1", "a2", "beta", "gamma"};
    const std::vector<std::string> all{"Scheme", "alpha", "a1", "x1", "a2", "beta", "gamma", "c1", "c2"};
    TesselTreeNode* root = &tree.getRoot();
    const Step steps[] = {
        {kLeft, root, closed, 0},           // first key: the root is selected
        {kLeft, root, closed, 0},           // Left on the collapsed root does nothing
        {kVkUp, root, closed, 0},
        {kRight, root, top, 0},             // expands, the selection stays
        {kRight, alpha, top, 0},            // a second Right selects the first child
        {kRight, alpha, alphaOpen, 0},
        {kRight, a1, alphaOpen, 0},
        {kRight, a1, deep, 0},
        {kVkDown, x1, deep, 0},
        {kRight, x1, deep, 0},              // Right on a leaf does nothing
        {kVkDown, a2, deep, 1},             // the view follows: first = s + 1 - rows
        {kVkDown, beta, deep, 2},
        {kVkDown, gamma, deep, 3},
        {kRight, gamma, all, 3},
        {kVkDown, c1, all, 4},
        {kVkDown, c2, all, 5},
        {kVkDown, c2, all, 5},              // nothing after the last
        {kLeft, gamma, all, 5},             // a leaf's Left selects its parent
        {kLeft, gamma, deep, 3},            // collapsing at the end pulls the first row back
        {kVkUp, beta, deep, 3},
        {kVkUp, a2, deep, 3},
        {kVkUp, x1, deep, 3},
        {kVkUp, a1, deep, 2},
        {kLeft, a1, alphaOpen, 2},
        {kLeft, alpha, alphaOpen, 1},       // a collapsed child's Left selects its parent
    };
    int n = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(key(step.key), step.selected) << "step " << n;
        EXPECT_EQ(visibleLabels(), step.visible) << "step " << n;
        EXPECT_EQ(tree.getFirstVisible(), step.first) << "step " << n;
        ++n;
    }
}

TEST_F(TreeviewTest, WheelSelectsThePreviousOrNextVisibleNode)
{
    tree.getRoot().expanded = true;
    gamma->expanded = true;
    tree.setSelection(beta);
    tree.onWheel(-1.0f);
    EXPECT_EQ(tree.getSelection(), gamma);
    tree.onWheel(-120.0f);
    EXPECT_EQ(tree.getSelection(), c1);
    EXPECT_EQ(tree.getFirstVisible(), 1);
    tree.onWheel(1.0f);
    tree.onWheel(1.0f);
    tree.onWheel(1.0f);
    EXPECT_EQ(tree.getSelection(), alpha);
    EXPECT_EQ(tree.getFirstVisible(), 1);
    tree.onWheel(1.0f);
    tree.onWheel(1.0f);
    EXPECT_EQ(tree.getSelection(), &tree.getRoot());
    EXPECT_EQ(tree.getFirstVisible(), 0);
}

TEST_F(TreeviewTest, DeletingOrClearingMovesTheSelectionToWhatStays)
{
    tree.getRoot().expanded = true;
    alpha->expanded = true;
    a1->expanded = true;
    tree.setSelection(x1);
    tree.nodesChanged();
    EXPECT_EQ(x1->name, "Alpha.One.Deep") << "keys join the names below the root";
    EXPECT_EQ(gamma->indexInParent(), 2);
    tree.clearChildren(a1);
    EXPECT_EQ(tree.getSelection(), a1);
    EXPECT_TRUE(a1->children.empty());

    x1 = TesselTreeNode::addChild(a1, 111, "Deep", "x1");
    tree.setSelection(x1);
    tree.nodesChanged();
    EXPECT_TRUE(tree.remove(alpha));   // the branch holding the selection
    EXPECT_EQ(tree.getSelection(), &tree.getRoot());
    EXPECT_EQ(visibleLabels(), (std::vector<std::string>{"Scheme", "beta", "gamma"}));
    EXPECT_FALSE(tree.remove(&tree.getRoot())) << "the tree owns its root";

    // What is left still walks and draws.
    EXPECT_EQ(key(kVkDown), beta);
    EXPECT_TRUE(tree.remove(beta));
    EXPECT_EQ(tree.getSelection(), &tree.getRoot());
    EXPECT_EQ(key(kVkDown), gamma);
    COffscreenContext target{nullptr, 220, 60, kBlackCColor};
    tree.drawTree(&target, true);
    EXPECT_EQ(tree.getRoot().children.size(), 1u);
    EXPECT_TRUE(TesselTreeNode::remove(c1));
    EXPECT_EQ(gamma->children.size(), 1u);
}

TEST_F(TreeviewTest, ClicksSelectAndOpenTheSelectedNode)
{
    tree.getRoot().expanded = true;
    tree.nodesChanged();
    tree.onMouse(1, CPoint(60, 10 + 2 + 8 * 3 + 3));   // row 3: gamma
    EXPECT_EQ(tree.getSelection(), gamma);
    EXPECT_FALSE(gamma->expanded);
    tree.onMouse(0, CPoint(60, 10 + 2 + 8 * 3 + 3));
    tree.onMouse(1, CPoint(60, 10 + 2 + 8 * 3 + 3));
    EXPECT_TRUE(gamma->expanded) << "a click on the selected node opens it";
    EXPECT_EQ(visibleLabels().size(), 6u);
    tree.onMouse(1, CPoint(60, 10 + 2 + 8 * 9));   // past the last row
    EXPECT_EQ(tree.getSelection(), gamma);
}

TEST_F(TreeviewTest, FaceShowsBoxesLinesAndTheSelection)
{
    tree.setRect(CRect(10, 10, 210, 10 + 2 + 8 * 8));
    tree.getRoot().expanded = true;
    alpha->expanded = true;
    a1->expanded = true;
    tree.setSelection(&tree.getRoot());
    tree.setColour(tesselRgba(127, 143, 158));
    tree.nodesChanged();
    COffscreenContext target{nullptr, 220, 90, kBlackCColor};
    tree.drawTree(&target, true);

    // One glyph cell of the tree against the same glyph drawn alone.
    TesselFont* normal = controlFont(TesselControlFont::Normal, false);
    TesselFont cyan(kFontCyan, 8);
    auto expectCell = [&](int32_t column, int32_t row, unsigned char glyph, TesselFont* font, const char* what,
                          CColor background = control_skin::kListBackground) {
        const int32_t x = 2 + column * 8;
        const int32_t y = 2 + row * 8;
        COffscreenContext cell{nullptr, 8, 8, background};
        drawBitmapChar(&cell, glyph, 0, 0, font);
        for (int32_t dy = 0; dy < 8; ++dy)
            for (int32_t dx = 0; dx < 8; ++dx)
                ASSERT_EQ(target.getImage()->pixelAt(10 + x + dx, 10 + y + dy), cell.getImage()->pixelAt(dx, dy))
                    << what << " at " << dx << ", " << dy;
    };
    expectCell(0, 0, kGlyphBoxOpen, normal, "the selected root's box", CColor{63, 72, 81, 0});
    expectCell(1, 1, kGlyphBoxOpen, &cyan, "alpha box");
    expectCell(2, 2, kGlyphBoxOpen, &cyan, "a1 box (not last)");
    expectCell(2, 3, kGlyphTreeVertical, normal, "a1's line beside x1");
    expectCell(1, 3, kGlyphTreeVertical, normal, "alpha's line beside x1");
    expectCell(3, 3, kGlyphTreeLast, normal, "x1, a last leaf");
    expectCell(1, 5, kGlyphTreeBranch, normal, "beta, a leaf with a sibling after it");
    expectCell(1, 6, kGlyphBoxClosed, &cyan, "gamma, closed");
    // The selection's row lies on the shade; others on the background.
    EXPECT_EQ(target.getImage()->pixelAt(10 + 150, 10 + 2 + 3), rgb(63, 72, 81));
    EXPECT_EQ(target.getImage()->pixelAt(10 + 150, 10 + 2 + 8 + 3), control_skin::kListBackground.toPlatform());

    // Mode 1: the selection in the highlight font on the background.
    tree.mode = 1;
    tree.drawTree(&target, true);
    EXPECT_EQ(target.getImage()->pixelAt(10 + 150, 10 + 2 + 3), control_skin::kListBackground.toPlatform());

    // The offscreen follows a new size.
    tree.mode = 0;
    tree.setRect(CRect(10, 10, 110, 10 + 2 + 8 * 3));
    COffscreenContext smaller{nullptr, 220, 90, kBlackCColor};
    tree.drawTree(&smaller, false);
    EXPECT_EQ(smaller.getImage()->pixelAt(10 + 99, 10 + 25), rgb(63, 72, 81)) << "the bar's track at the new edge";
    EXPECT_EQ(smaller.getImage()->pixelAt(10 + 100, 10 + 25), rgb(0, 0, 0));

    tree.setRect(CRect(10, 10, 210, 10 + 2 + 8 * 8));
    tree.setSelection(a2);
    tree.drawTree(&target, true);
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    // Three times as large, for a person to read the glyphs.
    COffscreenContext large{nullptr, 660, 270, kBlackCColor};
    target.transfertStretched(&large, CRect(0, 0, 660, 270), CRect(0, 0, 220, 90));
    EXPECT_TRUE(large.getImage()->writePng("screenshots/treeview.png"));
}
