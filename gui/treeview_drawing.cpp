// The tree's face: one row per visible node, indented by depth, with the
// box and line glyphs of the bitmap font, the selection and the scroll bar.
#include "gui/treeview.h"

#include "gui/bitmap_text.h"
#include "gui/control_fonts.h"
#include "gui/control_skin.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

#include <string>

namespace {

// Nodes with children are told apart from leaves by their ink.
TesselFont* branchFont()
{
    return keptFont(resources::kFontCyan, 8);
}

unsigned char childGlyph(const TesselTreeNode& node)
{
    if (!node.hasChildren())
        return node.isLastChild() ? resources::kGlyphTreeLast : resources::kGlyphTreeBranch;
    return node.expanded ? resources::kGlyphBoxOpen : resources::kGlyphBoxClosed;
}

} // namespace

void TesselTreeview::drawTree(VSTGUI::CDrawContext* target, bool focused)
{
    const int32_t width = rect.width();
    const int32_t height = rect.height();
    if (!target || width <= 0 || height <= 0)
        return;
    // The offscreen follows the tree's size.
    if (!offscreen || offscreen->getWidth() != width || offscreen->getHeight() != height)
        offscreen = std::make_unique<COffscreenContext>(target->getFrame(), width, height,
                                                        control_skin::kListBackground);
    else
        control_skin::fill(offscreen.get(), CRect(0, 0, width, height), control_skin::kListBackground);

    rebuildVisible();
    drawRow(offscreen.get(), &root, root.expanded ? resources::kGlyphBoxOpen : resources::kGlyphBoxClosed, 0, 0);
    if (root.expanded)
        drawChildren(offscreen.get(), &root, 1, 1);
    scrollbar.drawBar(offscreen.get(), firstVisible);

    value = visibleIndexOf(selected);
    logValue(focused);
    offscreen->transfert(target, rect);
    dirty = false;
    drawnFocus = focused;
}

int32_t TesselTreeview::drawChildren(VSTGUI::CDrawContext* context, TesselTreeNode* node, int32_t depth,
                                     int32_t row)
{
    for (const auto& child : node->children) {
        drawRow(context, child.get(), childGlyph(*child), depth, row++);
        if (!child->expanded)
            continue;
        const int32_t subtreeStart = row;
        row = drawChildren(context, child.get(), depth + 1, row);
        if (child->isLastChild())
            continue;
        const int32_t x = 2 + depth * kIndent;
        for (int32_t r = subtreeStart; r < row; ++r) {
            const int32_t y = 2 + (r - firstVisible) * kRowHeight;
            if (y > -kRowHeight && y < rect.height())
                drawBitmapChar(context, resources::kGlyphTreeVertical, x, y,
                               controlFont(TesselControlFont::Normal, false));
        }
    }
    return row;
}

void TesselTreeview::drawRow(VSTGUI::CDrawContext* context, TesselTreeNode* node, unsigned char glyph,
                             int32_t depth, int32_t row)
{
    const int32_t y = 2 + (row - firstVisible) * kRowHeight;
    if (y <= -kRowHeight || y >= rect.height())
        return;
    TesselFont* font = node->hasChildren() ? branchFont() : controlFont(TesselControlFont::Normal, false);
    if (node == selected) {
        if (mode == 0) {
            control_skin::fill(context, CRect(1, y - 1, rect.width() - kScrollbarWidth, y + kRowHeight), shade);
            font = controlFont(TesselControlFont::Normal, false);
        } else {
            font = controlFont(TesselControlFont::Highlight, false);
        }
    }
    const std::string text = std::string(1, static_cast<char>(glyph)) + node->label;
    drawBitmapText(context, text.c_str(), 2 + depth * kIndent, y, font);
}
