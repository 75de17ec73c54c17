// The viewer's own parts: the button strip and the pane of tabs beside the page.

#include "common/help_viewer.h"

#include "common/cwebpage.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/text.h"

namespace help {

namespace {

using platform::Canvas;
using platform::Colour;
using platform::Rect;
using platform::rgb;

constexpr Colour kFace = rgb(236, 236, 232);
constexpr Colour kLine = rgb(160, 160, 156);
constexpr Colour kPaper = rgb(255, 255, 255);
constexpr Colour kInk = rgb(24, 26, 30);
constexpr Colour kGreyInk = rgb(140, 140, 136);
constexpr Colour kHeadingInk = rgb(43, 61, 86);
constexpr Colour kSelection = rgb(60, 96, 140);
constexpr int32_t kIndent = 14;

platform::TextPaint ink(Colour colour)
{
    platform::TextPaint paint;
    paint.colour = colour;
    return paint;
}

} // namespace

void HelpViewer::paint(const Rect& area)
{
    Canvas canvas(window_->image());
    canvas.setClip(intersect(area, {0, 0, kPaneWidth + 1, window_->rect().height()}));
    drawPane(canvas);
    canvas.setClip(intersect(area, {0, 0, window_->rect().width(), kStripHeight}));
    drawStrip(canvas);
}

void HelpViewer::drawButton(Canvas& canvas, const Rect& rect, std::string_view text, bool enabled) const
{
    canvas.fillRect(rect, rgb(248, 248, 246));
    canvas.frameRect(rect, kLine);
    platform::drawTextInRect(canvas, *font_, text, rect, platform::TextAlign::centre, ink(enabled ? kInk : kGreyInk));
}

void HelpViewer::drawStrip(Canvas& canvas) const
{
    const int32_t width = window_->rect().width();
    canvas.fillRect({0, 0, width, kStripHeight}, kFace);
    canvas.fillRect({0, kStripHeight - 1, width, kStripHeight}, kLine);
    const web::WebView* view = web::getBrowser(*window_);
    drawButton(canvas, kBackButton, "Back", view && view->canGoBack());
    if (view)
        platform::drawTextInRect(canvas, *boldFont_, view->title(),
                                 {kBackButton.right + 14, 0, width - 8, kStripHeight - 1}, platform::TextAlign::left,
                                 ink(kHeadingInk));
}

void HelpViewer::drawPane(Canvas& canvas) const
{
    const int32_t height = window_->rect().height();
    canvas.fillRect({0, kStripHeight, kPaneWidth, height}, kFace);
    canvas.fillRect({kPaneWidth, kStripHeight, kPaneWidth + 1, height}, kLine);
    const char* names[] = {"Contents", "Search"};
    for (int i = 0; i < 2; ++i) {
        const Rect tab{i * kPaneWidth / 2 + 4, kStripHeight + 4, (i + 1) * kPaneWidth / 2 - 2, kStripHeight + kTabHeight};
        const bool active = static_cast<int>(tab_) == i;
        canvas.fillRect(tab, active ? kPaper : kFace);
        canvas.frameRect(active ? Rect{tab.left, tab.top, tab.right, tab.bottom + 1} : tab, kLine);
        platform::drawTextInRect(canvas, active ? *boldFont_ : *font_, names[i], tab, platform::TextAlign::centre,
                                 ink(kInk));
    }
    const Rect sheet{4, kStripHeight + kTabHeight, kPaneWidth - 4, height - 4};
    canvas.fillRect(sheet, kPaper);
    canvas.frameRect(sheet, kLine);
    if (tab_ == Tab::search) {
        platform::drawText(canvas, *font_, "Type in the words to search for:",
                           {kSearchEntry.left, kSearchEntry.top - 18}, ink(kInk));
        canvas.fillRect(kSearchEntry, kPaper);
        canvas.frameRect(kSearchEntry, entryFocused_ ? kSelection : kLine);
        const Rect inside{kSearchEntry.left + 4, kSearchEntry.top, kSearchEntry.right - 4, kSearchEntry.bottom};
        platform::drawTextInRect(canvas, *font_, searchText_, inside, platform::TextAlign::left, ink(kInk));
        if (entryFocused_) {
            const int32_t caret = inside.left + std::min(font_->measure(searchText_), inside.width() - 1);
            canvas.fillRect({caret, inside.top + 4, caret + 1, inside.bottom - 4}, kInk);
        }
        drawButton(canvas, kListTopicsButton, "List Topics", true);
        const char* below = !searchRun_ ? "" : hits_.empty() ? "No topics found." : "Select a topic:";
        platform::drawText(canvas, *font_, below, {kSearchEntry.left, kListTopicsButton.bottom + 8}, ink(kInk));
    }
    drawList(canvas);
}

void HelpViewer::drawList(Canvas& canvas) const
{
    const Rect list = listArea();
    const Rect clip = intersect(canvas.clip(), {list.left + 5, list.top, list.right - 5, list.bottom});
    canvas.setClip(clip);
    for (int32_t row = firstRow_, y = list.top; row < listRows() && y < list.bottom; ++row, y += kRowHeight) {
        const bool contents = tab_ == Tab::contents;
        const std::string& text = contents ? contents_[size_t(row)].text : hits_[size_t(row)].title;
        const bool heading = contents && contents_[size_t(row)].page.empty();
        const int32_t indent = contents ? contents_[size_t(row)].depth * kIndent : 0;
        const Rect line{list.left + 6 + indent, y, list.right - 6, y + kRowHeight};
        Colour colour = heading ? kHeadingInk : kInk;
        if (row == selected_) {
            canvas.fillRect(line, kSelection);
            colour = kPaper;
        }
        platform::drawTextInRect(canvas, heading ? *boldFont_ : *font_, text, {line.left + 3, line.top, line.right - 2,
                                 line.bottom}, platform::TextAlign::left, ink(colour));
    }
}

} // namespace help
