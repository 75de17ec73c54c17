#include "gui/dialogs/dialog_edit.h"

#include "gui/clipboard.h"
#include "gui/dialogs/dialog_view.h"
#include "gui/draw_context.h"
#include "platform/graphics/font.h"
#include "platform/key_event.h"

#include <algorithm>

namespace {

constexpr CColor kPaper{255, 255, 255, 0};
constexpr CColor kSelection{0, 0, 128, 0};
constexpr CColor kShadow{128, 128, 128, 0};
constexpr CColor kDarkShadow{64, 64, 64, 0};
constexpr CColor kLight{240, 240, 238, 0};
constexpr CColor kTrack{232, 232, 228, 0};
constexpr CColor kThumb{176, 176, 170, 0};

bool typeable(unsigned char c)
{
    return c >= 32 && c != 127 && c != kNoPrintable;
}

} // namespace

DialogEditText::DialogEditText(bool multiLine, size_t limit)
    : multiLine_(multiLine), limit_(limit), font_(CDrawContext::openFont(DialogView::kTextFont))
{
}

void DialogEditText::setText(const std::string& text)
{
    text_.clear();
    caret_ = 0;
    allSelected_ = false;
    insertText(text);
    caret_ = 0;
    firstLine_ = 0;
    firstColumn_ = 0;
    keepCaretInView();
}

void DialogEditText::selectAll()
{
    allSelected_ = true;
    caret_ = text_.size();
    keepCaretInView();
}

void DialogEditText::replaceSelection()
{
    if (!allSelected_)
        return;
    allSelected_ = false;
    text_.clear();
    caret_ = 0;
}

void DialogEditText::insertText(const std::string& text)
{
    std::string kept;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (!multiLine_)
                break;
            kept += '\n';
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (typeable(static_cast<unsigned char>(c))) {
            kept += c;
        }
    }
    replaceSelection();
    kept.resize(std::min(kept.size(), limit_ - std::min(limit_, text_.size())));
    text_.insert(caret_, kept);
    caret_ += kept.size();
    relayout();
    keepCaretInView();
}

bool DialogEditText::onKey(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return false;
    const bool used = editKey(key);
    if (used && key.virtualKey != kVkUp && key.virtualKey != kVkDown && key.virtualKey != kVkPageUp &&
        key.virtualKey != kVkPageDown && key.virtualKey != kVkNext)
        wantedX_ = -1;
    if (used)
        keepCaretInView();
    return used;
}

bool DialogEditText::editKey(const TesselKeyEvent& key)
{
    const bool ctrl = (key.modifiers & kModCtrl) != 0;
    const bool shift = (key.modifiers & kModShift) != 0;
    const TextLine line = lines_[lineOfIndex(lines_, caret_)];
    switch (key.virtualKey) {
    case kVkReturn:
    case kVkEnter:
        if (!multiLine_)
            return false;
        insertText("\n");
        return true;
    case kVkBack:
        if (allSelected())
            replaceSelection();
        else if (caret_ > 0)
            text_.erase(--caret_, 1);
        allSelected_ = false;
        relayout();
        return true;
    case kVkDelete:
        if (shift)
            return true;   // cutting needs a clipboard we can write
        if (allSelected())
            replaceSelection();
        else if (caret_ < text_.size())
            text_.erase(caret_, 1);
        allSelected_ = false;
        relayout();
        return true;
    case kVkInsert:
        if (shift)
            insertText(tessel_clipboard::text());
        return true;
    case kVkLeft:
        allSelected_ = false;
        if (caret_ > 0)
            --caret_;
        return true;
    case kVkRight:
        allSelected_ = false;
        caret_ = std::min(caret_ + 1, text_.size());
        return true;
    case kVkHome:
        allSelected_ = false;
        caret_ = ctrl ? 0 : line.start;
        return true;
    case kVkEnd:
        allSelected_ = false;
        caret_ = ctrl ? text_.size() : line.end;
        return true;
    case kVkUp:
    case kVkDown:
        if (!multiLine_)
            return false;
        moveVertically(key.virtualKey == kVkUp ? -1 : 1);
        return true;
    case kVkPageUp:
    case kVkPageDown:
    case kVkNext:
        if (!multiLine_)
            return false;
        moveVertically(key.virtualKey == kVkPageUp ? -visibleLines() : visibleLines());
        return true;
    default: break;
    }
    if (ctrl && key.virtualKey == 0) {
        if (key.character == 'v') {
            insertText(tessel_clipboard::text());
            return true;
        }
        if (key.character == 'a') {
            selectAll();
            return true;
        }
        return false;
    }
    if (typeable(key.printable)) {
        insertText(std::string(1, static_cast<char>(key.printable)));
        return true;
    }
    return false;
}

void DialogEditText::moveVertically(int32_t lines)
{
    allSelected_ = false;
    const size_t from = lineOfIndex(lines_, caret_);
    if (wantedX_ < 0)
        wantedX_ = measureRange(*font_, text_, lines_[from].start, caret_);
    const auto last = static_cast<int32_t>(lines_.size()) - 1;
    const int32_t to = std::clamp(static_cast<int32_t>(from) + lines, 0, last);
    caret_ = indexAtDistance(*font_, text_, lines_[static_cast<size_t>(to)], wantedX_);
}

void DialogEditText::place(const CRect& box)
{
    box_ = box;
    relayout();
    keepCaretInView();
}

CRect DialogEditText::textArea() const
{
    CRect area(box_.left + 2, box_.top + 2, box_.right - 2, box_.bottom - 2);
    if (multiLine_)
        area.right -= kScrollBarWidth;
    return area;
}

CRect DialogEditText::scrollBar() const
{
    return CRect(box_.right - 1 - kScrollBarWidth, box_.top + 1, box_.right - 1, box_.bottom - 1);
}

int32_t DialogEditText::lineHeight() const
{
    return std::max(font_->metrics().height, 1);
}

int32_t DialogEditText::visibleLines() const
{
    return std::max(textArea().height() / lineHeight(), 1);
}

void DialogEditText::relayout()
{
    lines_ = breakIntoLines(*font_, text_, textArea().width() - 2, multiLine_);
    scrollLines(0);
}

void DialogEditText::scrollLines(int32_t lines)
{
    const int32_t most = std::max(static_cast<int32_t>(lines_.size()) - visibleLines(), 0);
    firstLine_ = std::clamp(firstLine_ + lines, 0, most);
}

void DialogEditText::keepCaretInView()
{
    caret_ = std::min(caret_, text_.size());
    if (multiLine_) {
        const auto line = static_cast<int32_t>(lineOfIndex(lines_, caret_));
        if (line < firstLine_)
            firstLine_ = line;
        else if (line >= firstLine_ + visibleLines())
            firstLine_ = line - visibleLines() + 1;
        return;
    }
    const int32_t room = std::max(textArea().width() - 3, 1);
    if (caret_ < firstColumn_)
        firstColumn_ = caret_;
    while (firstColumn_ < caret_ && measureRange(*font_, text_, firstColumn_, caret_) > room)
        ++firstColumn_;
}

void DialogEditText::press(const CPoint& where)
{
    if (multiLine_ && where.isInside(scrollBar())) {
        const CRect bar = scrollBar();
        const int32_t thumbTop =
            bar.top + bar.height() * firstLine_ / std::max(static_cast<int32_t>(lines_.size()), 1);
        scrollLines(where.v < thumbTop ? -visibleLines() : visibleLines());
        return;
    }
    allSelected_ = false;
    wantedX_ = -1;
    const CRect area = textArea();
    const int32_t x = where.h - area.left - 1;
    if (!multiLine_) {
        caret_ = indexAtDistance(*font_, text_, TextLine{firstColumn_, text_.size()}, x);
    } else {
        const int32_t row = where.v < area.top ? -1 : (where.v - area.top) / lineHeight();
        const auto last = static_cast<int32_t>(lines_.size()) - 1;
        const auto line = static_cast<size_t>(std::clamp(firstLine_ + row, 0, last));
        caret_ = indexAtDistance(*font_, text_, lines_[line], x);
    }
    keepCaretInView();
}

void DialogEditText::draw(VSTGUI::CDrawContext* context, bool focused, bool enabled) const
{
    // A sunken field: paper inside two shadow lines at the top and left.
    context->setFillColor(enabled ? kPaper : DialogView::kFace);
    context->fillRect(CRect(box_.left - 1, box_.top - 1, box_.right, box_.bottom));
    context->setFrameColor(kShadow);
    context->moveTo(CPoint(box_.left, box_.bottom - 1));
    context->lineTo(CPoint(box_.left, box_.top));
    context->lineTo(CPoint(box_.right, box_.top));
    context->setFrameColor(kDarkShadow);
    context->moveTo(CPoint(box_.left + 1, box_.bottom - 2));
    context->lineTo(CPoint(box_.left + 1, box_.top + 1));
    context->lineTo(CPoint(box_.right - 1, box_.top + 1));
    context->setFrameColor(kLight);
    context->moveTo(CPoint(box_.left, box_.bottom - 1));
    context->lineTo(CPoint(box_.right - 1, box_.bottom - 1));
    context->lineTo(CPoint(box_.right - 1, box_.top - 1));

    const CRect area = textArea();
    const int32_t height = lineHeight();
    const bool selected = focused && allSelected();
    context->setFont(DialogView::kTextFont);
    const size_t first = multiLine_ ? static_cast<size_t>(firstLine_) : 0;
    const size_t shown = multiLine_ ? static_cast<size_t>(visibleLines()) : 1;
    for (size_t l = first; l < lines_.size() && l < first + shown; ++l) {
        const TextLine line = multiLine_ ? lines_[l] : TextLine{firstColumn_, text_.size()};
        const int32_t top = area.top + static_cast<int32_t>(l - first) * height;
        CRect row(area.left, top, area.right, top + height);
        const std::string piece = text_.substr(line.start, line.end - line.start);
        if (selected && !piece.empty()) {
            const int32_t width = measureRange(*font_, text_, line.start, line.end);
            context->setFillColor(kSelection);
            context->fillRect(CRect(area.left, top - 1, std::min(area.left + width + 1, area.right), top + height));
        }
        context->setFontColor(!enabled ? DialogView::kGreyInk : selected ? kPaper : DialogView::kInk);
        context->drawString(piece.c_str(), row, false, kLeftText);
    }
    if (focused && enabled) {
        const size_t line = multiLine_ ? lineOfIndex(lines_, caret_) : 0;
        const size_t from = multiLine_ ? lines_[line].start : firstColumn_;
        const auto row = static_cast<int32_t>(line) - (multiLine_ ? firstLine_ : 0);
        if (row >= 0 && row < static_cast<int32_t>(shown)) {
            const int32_t x = area.left + 1 + measureRange(*font_, text_, from, caret_);
            const int32_t top = area.top + row * height;
            if (x < area.right) {
                context->setFrameColor(DialogView::kInk);
                context->moveTo(CPoint(x, top));
                context->lineTo(CPoint(x, top + height));
            }
        }
    }
    if (!multiLine_)
        return;
    const CRect bar = scrollBar();
    context->setFillColor(kTrack);
    context->fillRect(CRect(bar.left - 1, bar.top - 1, bar.right, bar.bottom));
    const auto total = static_cast<int32_t>(lines_.size());
    if (total > visibleLines()) {
        const int32_t thumbHeight = std::max(bar.height() * visibleLines() / total, 8);
        const int32_t thumbTop = bar.top + (bar.height() - thumbHeight) * firstLine_ / (total - visibleLines());
        context->setFillColor(kThumb);
        context->fillRect(CRect(bar.left, thumbTop - 1, bar.right - 1, thumbTop + thumbHeight));
    }
}
