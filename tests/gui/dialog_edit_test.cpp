// The dialogs' edit boxes, check boxes and wrapped lines, worked through a
// dialog view with keys and the mouse as a user works them.

#include "gui/dialogs/dialog_edit.h"
#include "gui/dialogs/dialog_view.h"
#include "gui/draw_context.h"
#include "gui/text_lines.h"
#include "platform/graphics/font.h"
#include "platform/key_event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kNote = 10;
constexpr int32_t kName = 11;
constexpr int32_t kBox = 12;

const DialogTemplate& testTemplate()
{
    static const DialogTemplate dialog{500, "Edits", 200, 120, {
        {kNote, DialogItemKind::MultiLineEdit, {4, 4, 120, 40}, ""},
        {kName, DialogItemKind::Edit, {4, 50, 60, 12}, ""},
        {kBox, DialogItemKind::CheckBox, {4, 70, 80, 10}, "Include"},
        {IDOK, DialogItemKind::Button, {100, 90, 45, 14}, "OK", kItemDefault},
    }};
    return dialog;
}

struct Heard {
    uint32_t message;
    int32_t id;
};

class DialogEditTest : public ::testing::Test {
protected:
    DialogView view{testTemplate(), [this](uint32_t message, uintptr_t wParam, intptr_t) {
                        heard.push_back({message, commandId(wParam)});
                    }};
    std::vector<Heard> heard;

    void key(TesselKeyEvent event) { view.onKey(event); }
    void type(const std::string& text)
    {
        for (char c : text)
            key(printableKey(static_cast<uint8_t>(c)));
    }
    void click(int32_t id)
    {
        const CRect r = view.itemRect(id);
        CPoint at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        view.mouse(nullptr, at, 1);
        view.mouse(nullptr, at, 0);
    }
    int commands(int32_t id) const
    {
        int n = 0;
        for (const Heard& h : heard)
            n += h.message == WM_COMMAND && h.id == id;
        return n;
    }
};

} // namespace

TEST(TextLines, BreakAtWordsAtLineFeedsAndInsideWordsTooWideForTheBox)
{
    const auto font = CDrawContext::openFont(DialogView::kTextFont);
    const int32_t word = font->measure("wordy ");
    struct Case {
        std::string text;
        int32_t width;
        bool wrap;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 100, true, {""}},
        {"one\n", 100, true, {"one", ""}},
        {"wordy wordy wordy", word + 2, true, {"wordy ", "wordy ", "wordy"}},
        {"wordy wordy wordy", word + 2, false, {"wordy wordy wordy"}},
        {"a\n\nb", 100, true, {"a", "", "b"}},
        {"mmmmmmmmmm", font->measure("mmmm"), true, {"mmmm", "mmmm", "mm"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        for (const TextLine& line : breakIntoLines(*font, c.text, c.width, c.wrap))
            got.push_back(c.text.substr(line.start, line.end - line.start));
        EXPECT_EQ(got, c.lines) << c.text;
    }
}

TEST_F(DialogEditTest, TheMultiLineBoxTakesReturnAsALineBreakAndTheOneLineBoxPressesOk)
{
    view.setFocus(kNote);
    type("first");
    key(namedKey(kVkReturn));
    type("second");
    EXPECT_EQ(view.text(kNote), "first\nsecond");
    EXPECT_EQ(commands(IDOK), 0);

    view.setText(kName, "old");
    key(namedKey(kVkTab));   // into the name box: all of it selected, typing replaces it
    EXPECT_EQ(view.focusId(), kName);
    type("new");
    EXPECT_EQ(view.text(kName), "new");
    key(namedKey(kVkReturn));
    EXPECT_EQ(commands(IDOK), 1);
    EXPECT_EQ(view.text(kName), "new");
}

TEST_F(DialogEditTest, PastedTextIsCleanedAndCutAtTheLimit)
{
    DialogEditText& note = *view.edit(kNote);
    note.insertText("a\r\nb\rc\td");
    EXPECT_EQ(note.text(), "a\nb\ncd");
    DialogEditText& name = *view.edit(kName);
    name.insertText("top line\r\nsecond");
    EXPECT_EQ(name.text(), "top line");

    note.setText(std::string(5000, 'x'));
    EXPECT_EQ(note.text().size(), DialogEditText::kDefaultLimit);
    key(namedKey(kVkEnd, kModCtrl));
    view.setFocus(kNote);
    type("y");
    EXPECT_EQ(note.text().size(), DialogEditText::kDefaultLimit);   // full: typing adds nothing
}

TEST_F(DialogEditTest, ManyLinesScrollToKeepTheCaretInViewAndTheWheelScrollsThem)
{
    view.setFocus(kNote);
    DialogEditText& note = *view.edit(kNote);
    for (int i = 0; i < 20; ++i) {
        type("line");
        key(namedKey(kVkReturn));
    }
    ASSERT_EQ(note.lines().size(), 21u);
    const int32_t shown = note.visibleLines();
    ASSERT_LT(shown, 21);
    EXPECT_EQ(note.firstLine(), 21 - shown);   // the caret's line at the bottom

    const CRect r = view.itemRect(kNote);
    const CPoint inside(r.left + 5, r.top + 5);
    EXPECT_TRUE(view.onWheel(nullptr, inside, 1.0f));
    EXPECT_EQ(note.firstLine(), 21 - shown - 3);
    for (int i = 0; i < 10; ++i)
        view.onWheel(nullptr, inside, 1.0f);
    EXPECT_EQ(note.firstLine(), 0);
    EXPECT_FALSE(view.onWheel(nullptr, CPoint(r.right + 40, r.bottom + 40), 1.0f));
}

TEST_F(DialogEditTest, CheckBoxesToggleByClickAndSpaceAndTellTheDialog)
{
    EXPECT_FALSE(view.isChecked(kBox));
    click(kBox);
    EXPECT_TRUE(view.isChecked(kBox));
    EXPECT_EQ(view.focusId(), kBox);
    key(namedKey(kVkSpace));
    EXPECT_FALSE(view.isChecked(kBox));
    EXPECT_EQ(commands(kBox), 2);

    view.enable(kBox, false);
    click(kBox);
    EXPECT_FALSE(view.isChecked(kBox));
    view.setChecked(kBox, true);   // the dialog may still set it
    EXPECT_TRUE(view.isChecked(kBox));
    EXPECT_EQ(commands(kBox), 2);
}
