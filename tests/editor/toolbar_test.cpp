// The toolbar in the host's window: hints on hover, page buttons that switch
// and switch back, the transport buttons and the playing position texts,
// the file menu.
#include "editor/pattern_page/pattern_page_fixture.h"

#include "gui/lists/drop_list.h"
#include "platform/headless/headless_dialogs.h"

namespace {

using namespace platform;

class ToolbarTest : public PatternPageTest {
protected:
    Window& bar() { return *editor->toolbarFrame()->getWindow(); }
    // The middle of a button of the toolbar.
    Point middle(int i)
    {
        const CRect& rect = *toolbar()->button(i)->getRect();
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // Light text pixels the toolbar's window shows in a rectangle.
    int lightPixels(Rect area)
    {
        const Image& image = bar().image();
        int count = 0;
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x)
                count += image.pixelAt(x, y).red > 120 ? 1 : 0;
        return count;
    }
    void clickButton(int i)
    {
        windows.injectMove(bar(), middle(i));
        windows.click(bar(), middle(i));
        idle();
    }
};

TEST_F(ToolbarTest, HoveringWritesHintsAndPageButtonsSwitchAndSwitchBack)
{
    const struct {
        int button;
        const char* hint;
        int32_t page;
    } buttons[] = {
        {2, "Sample List (F3)", kSampleListPage},     {3, "Instrument List (F4)", kInstrumentListPage},
        {4, "Info Page (F5)", kInfoPage},             {5, "Order List (F11)", kOrderListPage},
        {6, "Preferences (F12)", kPreferencesPage},
    };
    for (const auto& b : buttons) {
        windows.injectMove(bar(), middle(b.button));
        idle();
        EXPECT_EQ(fileMessage(), b.hint);
        clickButton(b.button);
        EXPECT_EQ(pageNumber(), b.page) << b.hint;
        EXPECT_TRUE(toolbar()->button(b.button)->getState()) << b.hint;
        clickButton(b.button);
        EXPECT_EQ(pageNumber(), kPatternEditorPage) << b.hint;
        EXPECT_FALSE(toolbar()->button(b.button)->getState()) << b.hint;
    }
    const Rect hintLine{19, 19, 188, 31};
    setFileMessage("");
    toolbar()->setDirty();
    idle();
    EXPECT_EQ(lightPixels(hintLine), 0);
    windows.injectMove(bar(), middle(TesselToolbarUI::kPlaySong));
    idle(2);   // the move arrives after the pass's drawing
    EXPECT_EQ(fileMessage(), "Play Song (F5)");
    EXPECT_GT(lightPixels(hintLine), 30);
    ASSERT_TRUE(makeFolders("screenshots"));
    ASSERT_TRUE(bar().image().writePng("screenshots/toolbar_hint.png"));

    // The pattern editor's button hides the window over its own page and
    // shows it again; a page button first shows a hidden window.
    clickButton(TesselToolbarUI::kPatternEditorButton);
    EXPECT_FALSE(editor->isWindowVisible());
    EXPECT_FALSE(toolbar()->button(TesselToolbarUI::kPatternEditorButton)->getState());
    clickButton(TesselToolbarUI::kPatternEditorButton);
    EXPECT_TRUE(editor->isWindowVisible());
    clickButton(TesselToolbarUI::kPatternEditorButton);
    clickButton(4);
    EXPECT_TRUE(editor->isWindowVisible());
    EXPECT_EQ(pageNumber(), kInfoPage);
}

TEST_F(ToolbarTest, TransportButtonsAndThePlayingPosition)
{
    EXPECT_EQ(toolbar()->rowText(), "---");
    EXPECT_EQ(toolbar()->orderText(), "---(---)");
    writable(0, 0).pitch = 60;
    clickButton(TesselToolbarUI::kPlayPattern);
    EXPECT_EQ(engine().transport, kPlayingPattern);
    // Play Song waits while something plays.
    clickButton(TesselToolbarUI::kPlaySong);
    EXPECT_EQ(engine().transport, kPlayingPattern);
    render(8);
    idle();
    EXPECT_EQ(toolbar()->orderText(), "---(000)");
    EXPECT_NE(toolbar()->rowText(), "---");
    // The whole text stands inside its well, none of it on the well's edge
    // or under the Play Song button beside it.
    const auto cyan = [&](Rect area) {
        int count = 0;
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x) {
                const Colour c = bar().image().pixelAt(x, y);
                count += c.blue > 150 && c.green > 150 && c.red < 150 ? 1 : 0;
            }
        return count;
    };
    EXPECT_GT(cyan({191, 4, 198, 19}), 6);   // the ")"
    EXPECT_EQ(cyan({198, 0, 204, 22}), 0);
    const std::string playedRow = toolbar()->rowText();

    clickButton(TesselToolbarUI::kStop);
    EXPECT_LE(engine().transport, kStoppedCut);
    render(2);
    idle();
    EXPECT_EQ(toolbar()->rowText(), "---");
    EXPECT_EQ(toolbar()->orderText(), "---(---)");
    // The record keeps the last position that played.
    EXPECT_EQ(TesselToolbarUI::lastShown().orderPattern, "---(000)");
    EXPECT_EQ(TesselToolbarUI::lastShown().row, playedRow);

    clickButton(TesselToolbarUI::kPlaySong);
    EXPECT_EQ(engine().transport, kPlayingSong);
    clickButton(TesselToolbarUI::kStop);
}

TEST_F(ToolbarTest, TheFileMenuRunsTheEditorsFileCommands)
{
    // Each command asks the user first; the dialogs are cancelled. What a
    // command reports stays after the release; the menu's hint goes with the
    // menu (New declined and a dismissed menu report nothing).
    HeadlessDialogs& dialogs = windows.scriptedDialogs();
    const struct {
        int32_t choice;
        const char* message;
    } choices[] = {{0, ""}, {1, ""}, {2, "Loading... cancelled."}, {3, "Saving... cancelled."},
                   {4, "Saving... cancelled."}};
    const Rect hintLine{19, 19, 188, 31};
    for (const auto& c : choices) {
        windows.injectMove(bar(), {300, 30});   // off every button: the next one entered shows its hint
        idle();
        const size_t asked = dialogs.requests().size();
        windows.answerPopup(c.choice);
        clickButton(TesselToolbarUI::kFileMenu);
        EXPECT_EQ(dialogs.requests().size(), asked + (c.choice > 0 ? 1 : 0)) << c.choice;
        EXPECT_EQ(fileMessage(), c.message) << c.choice;
        if (*c.message == 0) {
            EXPECT_EQ(lightPixels(hintLine), 0) << c.choice;
        }
    }
    EXPECT_EQ(dialogs.requests().front().title, "New...");
    const PopupMenu& menu = windows.popupsAsked().back().menu;
    ASSERT_EQ(menu.rows.size(), 5u);
    EXPECT_EQ(menu.rows[4].text, "Save As (Ctrl+Shift+S)");
    clickButton(TesselToolbarUI::kHelpButton);
    EXPECT_EQ(viewedPageThenBack(), "Welcome.htm");
}

} // namespace
