// The tree's face: one row per visible node, indented by depth, with the
// box and line glyphs of the bitmap font, the selection and the scroll bar.
#include "gui/lists/treeview.h"

#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "gui/tessel_font.h"
#include "resources/resource_ids.h"

#include <algorithm>
#include <string>

namespace {

// Nodes with children are told apart from leaves by their ink.
TesselFont* branchFont(bool small)
{
    return small ? keptFont(resources::kSmallFontCyan, 6) : keptFont(resources::kFontCyan, 8);
}

// The last characters of a label cut short.
constexpr const char* kCutMark = "..";

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
        const int32_t x = 2 + depth * indent();
        for (int32_t r = subtreeStart; r < row; ++r) {
            const int32_t y = 2 + (r - firstVisible) * kRowHeight;
            if (y > -kRowHeight && y < rect.height())
                drawBitmapChar(context, resources::kGlyphTreeVertical, x, y,
                               controlFont(TesselControlFont::Normal, smallFont));
        }
    }
    return row;
}

std::string TesselTreeview::rowText(const TesselTreeNode& node, unsigned char glyph, int32_t x) const
{
    std::string text = std::string(1, static_cast<char>(glyph)) + node.label;
    const int32_t fits = (rect.width() - kScrollbarWidth - x) / indent();
    const size_t room = static_cast<size_t>(std::max<int32_t>(fits, 0));
    if (text.size() <= room)
        return text;
    const std::string mark = kCutMark;
    // A bracketed tail (a command's shortcuts) stays whole when the name
    // before it keeps a few characters; else the end goes.
    constexpr size_t kKeptHead = 6;
    const size_t tail = text.find(" [");
    if (tail != std::string::npos && kKeptHead + mark.size() + (text.size() - tail) <= room)
        return text.substr(0, room - mark.size() - (text.size() - tail)) + mark + text.substr(tail);
    if (room <= mark.size())
        return text.substr(0, room);
    return text.substr(0, room - mark.size()) + mark;
}

void TesselTreeview::drawRow(VSTGUI::CDrawContext* context, TesselTreeNode* node, unsigned char glyph,
                             int32_t depth, int32_t row)
{
    const int32_t y = 2 + (row - firstVisible) * kRowHeight;
    if (y <= -kRowHeight || y >= rect.height())
        return;
    TesselFont* font = node->hasChildren() ? branchFont(smallFont) : controlFont(TesselControlFont::Normal, smallFont);
    if (node == selected) {
        if (mode == 0) {
            // The band is the text's own 8 lines, clear of the rows around it.
            control_skin::fill(context, CRect(1, y, rect.width() - kScrollbarWidth, y + kRowHeight), shade);
            font = controlFont(TesselControlFont::Normal, smallFont);
        } else {
            font = controlFont(TesselControlFont::Highlight, smallFont);
        }
    }
    const int32_t x = 2 + depth * indent();
    drawBitmapText(context, rowText(*node, glyph, x).c_str(), x, y, font);
}
