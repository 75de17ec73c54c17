#pragma once
// The edit boxes of our dialogs. A one-line box scrolls sideways to keep the
// caret in view; a multi-line box wraps words at its width, breaks a line
// at Enter and scrolls by lines with the keys, the wheel and its scroll bar.
// Both take typed and pasted Windows-1252 text up to their limit; the whole
// text is selected when the box is tabbed into, and typing replaces it.
// GUI thread only.

#include "gui/geometry.h"
#include "gui/text_lines.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Font;
}
namespace VSTGUI {
class CDrawContext;
}
struct TesselKeyEvent;

class DialogEditText {
public:
    static constexpr size_t kDefaultLimit = 4096;
    static constexpr int32_t kScrollBarWidth = 12;

    DialogEditText(bool multiLine, size_t limit = kDefaultLimit);

    bool multiLine() const { return multiLine_; }
    size_t limit() const { return limit_; }
    const std::string& text() const { return text_; }
    // The whole text anew, cut to the limit; the caret at its start.
    void setText(const std::string& text);

    size_t caret() const { return caret_; }
    bool allSelected() const { return allSelected_ && !text_.empty(); }
    void selectAll();
    void selectNone() { allSelected_ = false; }

    // A key while the box has the focus; true when the box used it. Enter is
    // the box's only when it is multi-line.
    bool onKey(const TesselKeyEvent& key);
    // Text at the caret, as pasted: line breaks become the box's own (a
    // one-line box takes the first line), other control characters go.
    void insertText(const std::string& text);

    // Where the box lies in its view; its lines are laid out for that width.
    void place(const CRect& box);
    const CRect& box() const { return box_; }
    // A press at a point of the view: the caret goes under it, or, on the
    // scroll bar, the text scrolls by a page towards it.
    void press(const CPoint& where);
    // Lines down (up when negative), kept within the text.
    void scrollLines(int32_t lines);

    int32_t firstLine() const { return firstLine_; }
    int32_t visibleLines() const;
    const std::vector<TextLine>& lines() const { return lines_; }
    // The characters before the first shown of a one-line box.
    size_t firstColumn() const { return firstColumn_; }

    void draw(VSTGUI::CDrawContext* context, bool focused, bool enabled) const;

private:
    CRect textArea() const;
    CRect scrollBar() const;
    int32_t lineHeight() const;
    void relayout();
    void keepCaretInView();
    void replaceSelection();
    void moveVertically(int32_t lines);
    bool editKey(const TesselKeyEvent& key);

    bool multiLine_;
    size_t limit_;
    std::shared_ptr<const platform::Font> font_;
    std::string text_;
    size_t caret_ = 0;
    bool allSelected_ = false;
    CRect box_;
    std::vector<TextLine> lines_{TextLine{}};
    int32_t firstLine_ = 0;
    size_t firstColumn_ = 0;
    // Up and Down keep to the column where they began.
    int32_t wantedX_ = -1;
};
