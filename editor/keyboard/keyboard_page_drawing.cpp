// The keyboard page's face: the tree, the selected command's label, path and
// shortcut list, the capture panel with its countdown bar, the buttons.

#include "editor/keyboard/keyboard_page.h"

#include "editor/keyboard/command_tree.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/page_fonts.h"
#include "gui/controls/control_skin.h"
#include "gui/tessel_font.h"
#include "shell/commands.h"
#include "resources/resource_ids.h"

#include <algorithm>

namespace {

constexpr int32_t kTextLeft = 274;
constexpr int32_t kLabelTop = 37;
constexpr int32_t kPathTop = 52;
// Bitmap glyphs are 8 high: a 15-pixel line puts them 4 down.
constexpr int32_t kLineInset = 4;
constexpr int32_t kRightMargin = 11;
constexpr int32_t kRowLeft = 270;
constexpr int32_t kRowRight = 576;
constexpr CRect kPanelPlace(270, 233, 576, 271);
constexpr int32_t kPanelTextTop = 236;
constexpr int32_t kBarTop = 251;
constexpr int32_t kBarBottom = 264;

TesselFont* titleFont()
{
    return pageFont(resources::kFontAmber, 8);
}

// Characters of a font that fit between x and the right end.
int32_t fitting(int32_t x, int32_t right, const TesselFont* font)
{
    return std::max(1, (right - x) / font->getCharacterWidth());
}

} // namespace

void TesselKeyboardUI::compose(CDrawContext& face)
{
    tree_.drawTree(&face, focus_ == kFocusTree);
    drawTexts(face);
    drawList(face);
    drawPanel(face);
    for (int i = 0; i < 3; ++i)
        buttons_[static_cast<size_t>(i)].drawOverBitmap(&face, false, focus_ == kFocusLoad + i, getBackground());
}

void TesselKeyboardUI::drawTexts(CDrawContext& face)
{
    const int32_t right = size.width() - kRightMargin;
    const TesselCommand* command = selectedCommand();
    if (!command)
        return;
    TesselFont* normal = controlFont(TesselControlFont::Normal, false);
    const std::string label = command->isRoot()
                                  ? std::string(kSchemeRootLabel)
                                  : TesselCommandDef{0, nullptr, command->label.c_str(), nullptr, 0}.plainLabel();
    drawBitmapText(&face, label.c_str(), kTextLeft, kLabelTop + kLineInset, titleFont(), nullptr,
                   fitting(kTextLeft, right, titleFont()));
    const std::string path = "(" + (command->isRoot() ? std::string("scheme") : command->path) + ")";
    drawBitmapText(&face, path.c_str(), kTextLeft, kPathTop + kLineInset, normal, nullptr,
                   fitting(kTextLeft, right, normal));
}

void TesselKeyboardUI::drawList(CDrawContext& face)
{
    TesselFont* normal = controlFont(TesselControlFont::Normal, false);
    const std::vector<std::string> rows = listRows();
    const uint32_t first = firstListRow();
    for (uint32_t i = first; i < rows.size() && i < first + kListRows; ++i) {
        const int32_t top = kListTop + static_cast<int32_t>(i - first) * kListRowHeight;
        if (i == slot_)
            control_skin::fill(&face, CRect(kRowLeft, top, kRowRight, top + kListRowHeight),
                               focus_ == kFocusList ? control_skin::kHighlight : kUnfocusedRow);
        drawBitmapText(&face, rows[i].c_str(), kTextLeft, top + kLineInset, normal, nullptr,
                       fitting(kTextLeft, kRowRight - 1, normal));
    }
}

void TesselKeyboardUI::drawPanel(CDrawContext& face)
{
    const std::vector<std::string> lines = panelLines();
    if (lines.empty())
        return;
    panel_->draw(&face, kPanelPlace);
    TesselFont* small = controlFont(TesselControlFont::Normal, true);
    for (size_t i = 0; i < lines.size(); ++i)
        drawBitmapText(&face, lines[i].c_str(), kCountdownLeft,
                       kPanelTextTop + kLineInset + static_cast<int32_t>(i) * kListRowHeight, small, nullptr,
                       fitting(kCountdownLeft, kRowRight - 1, small));
    if (capturing()) {
        const int32_t end = kCountdownLeft + countdown_ * kCountdownWidth / kCaptureTicks;
        control_skin::fill(&face, CRect(kCountdownLeft, kBarTop, end, kBarBottom), control_skin::kHighlight);
    }
}
