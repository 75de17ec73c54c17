// The pattern editor's popup menus and strips through the editor window: the
// main menu's structure from the scheme and the volume column's mode, a
// chosen command run on the selection, the side and header menus, the
// window buttons, the title strip's drag and the status strip's toggles.
#include "pattern_page_fixture.h"

#include "editor/core/page_kinds.h"
#include "gui/controls/button.h"
#include "gui/dialogs/base_dialog.h"
#include "patterneditor/menus/pattern_menu_table.h"
#include "patterneditor/undo/undo_history.h"
#include "platform/headless/headless_dialogs.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

using namespace platform;
using Row = PopupMenu::Row;

// The row whose text starts with the label, searched depth first.
const Row* findRow(const PopupMenu& menu, const std::string& label)
{
    for (const Row& row : menu.rows) {
        if (row.text.rfind(label, 0) == 0)
            return &row;
        if (row.submenu)
            if (const Row* found = findRow(*row.submenu, label))
                return found;
    }
    return nullptr;
}

std::vector<std::string> texts(const PopupMenu& menu)
{
    std::vector<std::string> out;
    for (const Row& row : menu.rows)
        out.push_back(row.flags & PopupMenu::kSeparator ? "-" : row.text);
    return out;
}

std::vector<std::string> submenuTitles(const PopupMenu& menu)
{
    std::vector<std::string> out;
    for (const Row& row : menu.rows)
        if (row.submenu)
            out.push_back(row.text);
    return out;
}

class PatternMenusTest : public PatternPageTest {
protected:
    void TearDown() override
    {
        defaultScheme().resetToDefaults();
        PatternPageTest::TearDown();
    }
    // Opens the main menu with a right click at a cell and answers it.
    const PopupMenu& rightClick(Point at, int32_t answer = -1)
    {
        if (answer >= 0)
            windows.answerPopup(answer);
        windows.click(pagesWindow(), at, kRightButton);
        idle();
        return windows.popupsAsked().back().menu;
    }
    void leftClick(Point at, std::initializer_list<uint8_t> held = {})
    {
        for (uint8_t key : held)
            windows.injectKey(key, true);
        windows.click(pagesWindow(), at);
        for (uint8_t key : held)
            windows.injectKey(key, false);
        idle();
    }
    Point buttonPoint(int i)
    {
        const CRect& rect = *page().windowButton(i)->getRect();
        return {rect.left + 2, rect.top + 2};
    }
    Window& window() { return *editor->editorWindow(); }
};

TEST_F(PatternMenusTest, TheMainMenuFollowsTheSchemeAndTheVolumeColumnsMode)
{
    const PopupMenu& menu = rightClick(cellPoint(2, 6));
    EXPECT_EQ(submenuTitles(menu),
              (std::vector<std::string>{"&Paste", "&Note(s)", "&Instrument", "&Pattern", "Channel/&Track", "&File",
                                        "&Undo", "&Options", "P&layback", "&Go to"}));
    EXPECT_EQ(texts(menu).front(), "Context &Help\tF1");
    // Entries are the label, a tab and the first shortcut.
    EXPECT_EQ(findRow(menu, "Cu&t")->text, "Cu&t\tAlt-z");
    // The side and header menus' rows stay out of it.
    EXPECT_EQ(findRow(menu, "Insert rows in song"), nullptr);
    const Row* notes = findRow(menu, "&Note(s)");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(submenuTitles(*notes->submenu),
              (std::vector<std::string>{"&Select", "&Arrange", "&Pitch", "&Volume", "&Effect"}));

    const struct {
        uint8_t mode;
        const char* title;
    } modes[] = {{kShowPanning, "P&an"}, {kShowDepth, "&Depth"}, {kShowVolume, "&Volume"}};
    for (const auto& m : modes) {
        view().volumeMode = m.mode;
        const PopupMenu& shown = rightClick(cellPoint(2, 6));
        EXPECT_EQ(submenuTitles(*findRow(shown, "&Note(s)")->submenu)[3], m.title);
    }

    // A command the scheme lacks is left out; its separator stays.
    TesselCommand* grid = defaultScheme().findByPath("PatternEditor.Pattern");
    ASSERT_NE(grid, nullptr);
    std::erase_if(grid->children, [](const TesselCommand& c) { return c.name == "TransposeDown"; });
    const PopupMenu& trimmed = rightClick(cellPoint(2, 6));
    const std::vector<std::string> pitch = texts(*findRow(trimmed, "&Pitch")->submenu);
    ASSERT_EQ(pitch.size(), 4u);
    EXPECT_EQ(pitch[0].rfind("Transpose &up one semitone", 0), 0u);
    EXPECT_EQ(pitch[1], "-");
    EXPECT_EQ(pitch[2].rfind("Transpose u&p one octave", 0), 0u);
}

TEST_F(PatternMenusTest, AChosenEntryRunsOnTheSelectionTheCursorsCellIncluded)
{
    for (int row = 0; row < 4; ++row)
        writable(1, row).pitch = static_cast<int16_t>(60 + row);
    drag(cellPoint(1, 0), cellPoint(1, 3));
    ASSERT_TRUE(grid().selection.active);
    ASSERT_EQ(view().cursorRow, 3);   // inside the selection
    const std::string before = page().undoPanel().history().label(0);

    const Row* transpose = findRow(rightClick(cellPoint(4, 8)), "Transpose &up one semitone");
    ASSERT_NE(transpose, nullptr);
    rightClick(cellPoint(4, 8), transpose->id);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(cell(1, row).pitch, 61 + row) << row;
    // One checkpoint.
    EXPECT_EQ(std::string(page().undoPanel().history().label(0)), "000: Transpose selection up.");
    EXPECT_EQ(page().undoPanel().history().label(1), before);

    // A global command goes to the editor: the sample list page.
    const Row* samples = findRow(rightClick(cellPoint(4, 8)), "Sample List");
    ASSERT_NE(samples, nullptr);
    rightClick(cellPoint(4, 8), samples->id);
    EXPECT_EQ(pageNumber(), kSampleListPage);
}

TEST_F(PatternMenusTest, TheSideMenuInsertsRowsInEveryChannelOfTheSongWithoutACheckpoint)
{
    for (int p = 0; p < 2; ++p)
        song().orderList.entries[size_t(p)].pattern = p;
    song().orderList.updateLength();
    for (int channel : {0, 31, 63})
        writable(channel, 63).pitch = static_cast<int16_t>(40 + channel);
    page().goToPattern(0, true);
    grid().selection.select(&pattern(), {0, 0, 10, 0}, {63, 8, 11, 0});
    const std::string label = page().undoPanel().history().label(0);

    windows.scriptedDialogs().answerButton(kAnswerYes);
    const PopupMenu& menu = rightClick({4, cellPoint(0, 10).y}, 0);
    EXPECT_EQ(texts(menu), (std::vector<std::string>{"Insert rows in song", "Delete rows from song"}));
    for (int channel : {0, 31, 63}) {
        EXPECT_EQ(cell(channel, 63).pitch, -1) << channel;
        EXPECT_EQ(cell(channel, 1, 1).pitch, 40 + channel) << channel;
    }
    EXPECT_EQ(page().undoPanel().history().label(0), label);
}

TEST_F(PatternMenusTest, TheHeaderMenuOpensOverAWholeLengthSelectionWhenTheSchemeHasItsCommands)
{
    grid().selection.select(&pattern(), {2, 0, 0, 0}, {2, 8, 63, 0});
    const Point band{cellPoint(2, 0).x, 30};
    const size_t asked = windows.popupsAsked().size();
    windows.click(pagesWindow(), band, kRightButton);
    idle();
    EXPECT_EQ(windows.popupsAsked().size(), asked);   // no command: no menu

    const TesselCommandDef header{pattern_menu::kHeaderMenuFirst, "HeaderCommand", "Header command", "", 0x11};
    defaultScheme().findByPath("PatternEditor.Pattern")->addChildren(&header, 1);
    windows.click(pagesWindow(), band, kRightButton);
    idle();
    ASSERT_EQ(windows.popupsAsked().size(), asked + 1);
    EXPECT_EQ(texts(windows.popupsAsked().back().menu), (std::vector<std::string>{"Header command"}));

    // A selection short of the pattern's length opens nothing.
    grid().selection.select(&pattern(), {2, 0, 0, 0}, {2, 8, 62, 0});
    windows.click(pagesWindow(), band, kRightButton);
    idle();
    EXPECT_EQ(windows.popupsAsked().size(), asked + 1);
}

TEST_F(PatternMenusTest, WindowButtonsAndTheStrips)
{
    // The feedback button first: its state toggles and the feedback dialog
    // opens (the user cancels it).
    std::string dialogTitle;
    windows.setModalUser([&](platform::Window& modal) {
        dialogTitle = windows.title(modal);
        if (CBaseDialog* dialog = CBaseDialog::ofWindow(&modal))
            dialog->endDialog(IDCANCEL);
    });
    leftClick(buttonPoint(4));
    windows.setModalUser(nullptr);
    EXPECT_TRUE(page().windowButton(4)->getState());
    EXPECT_FALSE(dialogTitle.empty());
    EXPECT_EQ(platform::statusText(), "oMBRIX: Feedback cancelled.");
    editor->frame2()->getWindow()->takeFocus();   // back from the dialog
    idle();

    leftClick(buttonPoint(0));
    EXPECT_TRUE(windows.keptAbove(window()));
    EXPECT_EQ(pluginPreferences().alwaysOnTop, 1);
    leftClick(buttonPoint(3));
    EXPECT_EQ(editor->getKeyMode(), 1);
    EXPECT_EQ(platform::statusText(), "Manual key mode enabled (use Ctrl-Alt-K to toggle).");
    leftClick(buttonPoint(3));
    EXPECT_EQ(editor->getKeyMode(), 0);

    // A press on the title strip at the previous click's point does not drag.
    const Point title{200, 5};
    leftClick(title);
    EXPECT_EQ(windows.movesBegun(window()), 1);   // the previous click was elsewhere
    leftClick(title);
    EXPECT_EQ(windows.movesBegun(window()), 1);
    Point pointer;
    leftClick({260, 6});
    EXPECT_EQ(windows.movesBegun(window(), &pointer), 2);
    const Point origin = window().screenOrigin();
    EXPECT_EQ(pointer, (Point{origin.x + 260, origin.y + 6}));

    // The octave list's button opens its list, however near the title strip.
    const size_t asked = windows.popupsAsked().size();
    leftClick({buttonPoint(6).x, 13});
    EXPECT_EQ(windows.popupsAsked().size(), asked + 1);
    EXPECT_EQ(windows.movesBegun(window()), 2);

    // The status strip: the info toggle, then the help toggle.
    const int32_t status = page().statusTop() + 8;
    leftClick({10, status});
    EXPECT_TRUE(page().infoPanel().isIn());
    leftClick({30, status});
    auto* help = dynamic_cast<TesselHelpPage*>(editor->pages().help);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isAnimating());   // sliding in
    EXPECT_FALSE(help->isHiding());

    // Maximise with its button, restore with Control on the title strip.
    leftClick(buttonPoint(1));
    EXPECT_TRUE(window().isMaximised());
    leftClick({200, 5}, {kWinControl});
    EXPECT_FALSE(window().isMaximised());
    EXPECT_EQ(windows.movesBegun(window()), 2);   // maximised windows are not dragged

    // Linking the windows forgets the click; a drag unlinks them first.
    leftClick(buttonPoint(7));
    EXPECT_EQ(pluginPreferences().linkWindows, 1);
    leftClick({220, 5});
    EXPECT_EQ(windows.movesBegun(window()), 2);
    leftClick({240, 5});
    EXPECT_EQ(windows.movesBegun(window()), 3);
    EXPECT_EQ(pluginPreferences().linkWindows, 0);
    EXPECT_FALSE(page().windowButton(7)->getState());

    // Hide: the window goes, the button's state is off again.
    leftClick(buttonPoint(2));
    EXPECT_FALSE(editor->isWindowVisible());
    EXPECT_FALSE(page().windowButton(2)->getState());
}

} // namespace
