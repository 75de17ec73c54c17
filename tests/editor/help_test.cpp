// Help through the editor: the key reference popup of each page and its
// paging, what closes it, where it keeps to the screen; the help panel that
// Ctrl+F1 slides in and out, its blend, its buttons and its toggle; the
// viewer's life with the editor window.
#include "editor/pattern_page/pattern_page_fixture.h"

#include "common/cwebpage.h"
#include "editor/help/help_page.h"
#include "gui/bitmap.h"
#include "platform/system/folders.h"
#include "resources/resource_ids.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

using namespace platform;

constexpr uint32_t kRedrawMs = TesselEditor::kRedrawMs;

class HelpTest : public PatternPageTest {
protected:
    TesselHelpUI& panel() { return *dynamic_cast<TesselHelpUI*>(editor->pages().help); }
    CRect panelRect()
    {
        CRect rect;
        return panel().getViewSize(rect);
    }
    Rect popupRect() { return editor->helpPopup()->window()->rect(); }
    // Shift+F1, then passes enough for the page to load and fit.
    void keyHelp()
    {
        pagesWindow().takeFocus();
        chord({kWinShift}, kWinF1);
        settle();
    }
    void pressInPopup(uint8_t key)
    {
        windows.pressKey(key);
        settle();
    }
    // One redraw request of the editor window's timer and the idle that draws.
    void slidePass() { settle(1, kRedrawMs); }
    void clickPanelButton(int button)
    {
        const resources::SkinPlace& place = resources::kHelpPanelButtons[button];
        const CRect at = panelRect();
        pagesWindow().takeFocus();
        windows.click(pagesWindow(), {at.left + (place.left + place.right) / 2, at.top + (place.top + place.bottom) / 2});
        idle();
    }
    void showPanel()
    {
        chord({kWinControl}, kWinF1);
        settle(30, kRedrawMs);
        ASSERT_FALSE(panel().isAnimating());
        ASSERT_EQ(panel().visibleHeight(), float(panelRect().height()));
    }
};

TEST_F(HelpTest, ShiftF1OpensTheKeyReferenceOfThePageBesideTheWindowSizedByItsTable)
{
    const struct {
        int page;
        const char* help;
    } cases[] = {
        {kPatternEditorPage, "Keys_PE_1.htm"}, {kSampleListPage, "Keys_SL_1.htm"},
        {kInstrumentListPage, "Keys_IL_1.htm"}, {kInfoPage, "Keys_IP_1.htm"},
        {kOrderListPage, "Keys_OL_1.htm"},     {kPreferencesPage, "Keys_PR_1.htm"},
    };
    for (const auto& c : cases) {
        editor->switchPage(c.page, true);
        keyHelp();
        ASSERT_EQ(popupPage(), c.help);
        EXPECT_TRUE(editor->popupActive());
        const Point origin = editor->editorWindow()->screenOrigin();
        const Rect at = popupRect();
        EXPECT_EQ(at.left, origin.x + 10) << c.help;
        EXPECT_EQ(at.top, origin.y + 37) << c.help;
        // The navigation bar's width and the table's height, within the body's margins.
        EXPECT_EQ(at.width(), 495 + 8) << c.help;
        EXPECT_EQ(at.height(), web::getBrowser(*editor->helpPopup()->window())->firstTableBox().height() + 8)
            << c.help;
        EXPECT_TRUE(editor->helpPopup()->window()->isVisible());
        EXPECT_EQ(windows.owner(*editor->helpPopup()->window()), editor->editorWindow());
        pressInPopup(kWinEscape);
        EXPECT_EQ(popupPage(), "") << c.help;
        EXPECT_FALSE(editor->popupActive()) << c.help;
        EXPECT_EQ(windows.focusWindow(), editor->editorWindow()) << c.help;
    }
}

TEST_F(HelpTest, ArrowsPageThroughTheChainAndOtherKeysOrFocusLossClose)
{
    keyHelp();
    for (int i = 0; i < 3; ++i)
        pressInPopup(kWinRight);
    EXPECT_EQ(popupPage(), "Keys_PE_1.htm");
    pressInPopup(kWinLeft);
    EXPECT_EQ(popupPage(), "Keys_PE_3.htm");
    EXPECT_EQ(web::getBrowser(*editor->helpPopup()->window())->page(), "Keys_PE_3.htm");
    // While it shows, the editor takes no keys: a note key closes the popup
    // and writes nothing.
    pressInPopup('Q');
    EXPECT_EQ(popupPage(), "");
    EXPECT_EQ(cell(0, 0).pitch, -1);
    type("q");
    EXPECT_NE(cell(0, 0).pitch, -1);   // the editor has its keys back

    press(kWinF1 + 2);   // sample list: a page without neighbours
    keyHelp();
    ASSERT_EQ(popupPage(), "Keys_SL_1.htm");
    pressInPopup(kWinDown);
    EXPECT_EQ(popupPage(), "");

    keyHelp();
    ASSERT_EQ(popupPage(), "Keys_SL_1.htm");
    editor->editorWindow()->takeFocus();   // a click elsewhere
    settle(2);
    EXPECT_EQ(popupPage(), "");
    EXPECT_FALSE(editor->popupActive());
}

TEST_F(HelpTest, NearTheScreensBottomRightThePopupMovesUpAndLeftIntoIt)
{
    const Rect screen = windows.workArea(editor->editorWindow()->rect());
    Window& window = *editor->editorWindow();
    window.setRect(rectOfSize(screen.right - 100, screen.bottom - 60, 723, 499));
    idle();
    keyHelp();
    ASSERT_EQ(popupPage(), "Keys_PE_1.htm");
    const Rect at = popupRect();
    EXPECT_EQ(at.right, screen.right);
    EXPECT_EQ(at.bottom, screen.bottom);
    EXPECT_EQ(at.width(), 503);
}

TEST_F(HelpTest, ThePopupGoesWithTheEditorWindowAndTheViewerToo)
{
    press(kWinF1);
    EXPECT_EQ(viewerPage(), "PE.htm");
    pagesWindow().takeFocus();
    keyHelp();
    ASSERT_EQ(popupPage(), "Keys_PE_1.htm");
    dispatch(effEditClose);
    EXPECT_EQ(editor->helpPopup(), nullptr);
    EXPECT_EQ(editor->helpViewer(), nullptr);
    EXPECT_FALSE(editor->popupActive());
    open();
    // The toolbar's help button: the default topic.
    editor->openDefaultHelp();
    EXPECT_EQ(viewerPage(), "Welcome.htm");
    // A page the help lacks leaves the viewer where it was and says so.
    editor->openHelpPage("Nowhere.htm");
    EXPECT_EQ(viewerPage(), "Welcome.htm");
    EXPECT_EQ(statusText(), "Error: Cannot show help page Nowhere.htm.");
}

TEST_F(HelpTest, CtrlF1SlidesThePanelInOnTheClockAndAgainOut)
{
    const int height = panelRect().height();
    chord({kWinControl}, kWinF1);
    ASSERT_TRUE(panel().isShown());
    // Each redraw request steps a quarter of what is left (at most 10 rows).
    std::vector<float> heights;
    for (int i = 0; i < 30 && panel().isAnimating(); ++i) {
        slidePass();
        heights.push_back(panel().visibleHeight());
    }
    ASSERT_GE(heights.size(), 8u);
    EXPECT_FLOAT_EQ(heights[0], 10.0f);
    for (size_t i = 1; i < heights.size(); ++i)
        EXPECT_GT(heights[i], heights[i - 1]);
    EXPECT_EQ(heights.back(), float(height));
    EXPECT_FALSE(panel().isAnimating());

    chord({kWinControl}, kWinF1);
    EXPECT_TRUE(panel().isHiding());
    slidePass();
    EXPECT_FLOAT_EQ(panel().visibleHeight(), float(height) - 4.0f);   // 64 / 16 a pass
    settle(20, kRedrawMs);
    EXPECT_FALSE(panel().isShown());
    EXPECT_FALSE(panel().isAnimating());

    // Escape while it slides in turns it round at once.
    chord({kWinControl}, kWinF1);
    slidePass();
    slidePass();
    const float reached = panel().visibleHeight();
    ASSERT_LT(reached, float(height));
    press(kWinEscape);
    EXPECT_TRUE(panel().isHiding());
    const float turned = panel().visibleHeight();
    ASSERT_LT(turned, float(height));
    slidePass();
    EXPECT_FLOAT_EQ(panel().visibleHeight(), turned - 4.0f);
    settle(20, kRedrawMs);
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(pageNumber(), kPatternEditorPage);   // that Escape was the panel's

    // Over a panel of the pattern editor it slides out four times as fast.
    press(kWinF1 + 1);   // F2: the pattern options
    settle(20, kRedrawMs);
    ASSERT_GT(page().coveringPanelHeight(), 0);
    showPanel();
    chord({kWinControl}, kWinF1);
    slidePass();
    EXPECT_FLOAT_EQ(panel().visibleHeight(), float(height) - 10.0f);   // 64 / 4, at most 10
}

TEST_F(HelpTest, ThePanelIsBlendedOverThePageByTheSquareOfItsVisibleShare)
{
    const CRect at = panelRect();
    const int x = at.left + 100;   // a plain stretch of the panel
    const Image under = shown().clone();
    chord({kWinControl}, kWinF1);
    slidePass();
    slidePass();
    const float visible = panel().visibleHeight();
    const int rows = int(std::lround(visible));
    const Image partial = pagesWindow().image().clone();
    settle(30, kRedrawMs);
    const Image full = pagesWindow().image().clone();

    const int height = at.height();
    const int alpha = (rows * rows * 255 + height * height / 2) / (height * height);
    EXPECT_EQ(TesselHelpUI::blendAlpha(visible, height), alpha);
    // The panel's top rows show in the page's lowest rows, faded by alpha.
    int checked = 0;
    for (int row = 0; row < rows; row += 3) {
        const int y = at.bottom - rows + row;
        const Colour over = full.pixelAt(x, at.top + row);
        const Colour base = under.pixelAt(x, y);
        const Colour seen = partial.pixelAt(x, y);
        auto mix = [&](uint8_t o, uint8_t b) { return (o * alpha + b * (255 - alpha)) / 255; };
        EXPECT_NEAR(seen.red, mix(over.red, base.red), 2) << row;
        EXPECT_NEAR(seen.green, mix(over.green, base.green), 2) << row;
        EXPECT_NEAR(seen.blue, mix(over.blue, base.blue), 2) << row;
        ++checked;
    }
    EXPECT_GT(checked, 3);
    // Above the visible rows the page is untouched.
    EXPECT_EQ(partial.pixelAt(x, at.bottom - rows - 1), under.pixelAt(x, at.bottom - rows - 1));
}

TEST_F(HelpTest, ThePanelShowsItsSkinItsMarkAndItsInactiveLook)
{
    pluginPreferences().showHelp = 1;
    showPanel();
    const CRect at = panelRect();
    CBitmap skin(resources::kHelpPanel);
    CBitmap inactive(resources::kHelpPanelInactive);
    const Image& active = shown();
    // The label strip beside the buttons is the skin's, pixel for pixel.
    int same = 0;
    for (int y = 2; y < 60; ++y)
        for (int x = 60; x < 150; ++x)
            same += active.pixelAt(at.left + x, at.top + y) == skin.image().pixelAt(x, y);
    EXPECT_EQ(same, 58 * 90);
    const resources::SkinPlace& mark = resources::kHelpShownMarkPlace;
    const Colour marked = active.pixelAt(at.left + mark.left + 6, at.top + mark.top + 6);
    EXPECT_NE(marked, skin.image().pixelAt(mark.left + 6, mark.top + 6));
    saveShot("help_panel.png");
    host->takeFocus();   // the editor window goes inactive
    idle();
    const Image& dim = shown();
    EXPECT_EQ(dim.pixelAt(at.left + 100, at.top + 30), inactive.image().pixelAt(100, 30));
    EXPECT_NE(skin.image().pixelAt(100, 30), inactive.image().pixelAt(100, 30));
}

TEST_F(HelpTest, TheButtonsOpenTheViewerAndTheToggleWritesThePreferences)
{
    showPanel();
    struct Case {
        int button;
        const char* page;
        help::HelpViewer::Tab tab;
    };
    const Case cases[] = {
        {2, "GettingStarted.htm", help::HelpViewer::Tab::contents},
        {3, "Further.htm", help::HelpViewer::Tab::contents},
        {1, "Welcome.htm", help::HelpViewer::Tab::search},
        {0, "Welcome.htm", help::HelpViewer::Tab::contents},
    };
    for (const Case& c : cases) {
        clickPanelButton(c.button);
        EXPECT_EQ(viewerPage(), c.page) << c.button;
        EXPECT_EQ(editor->helpViewer()->tab(), c.tab) << c.button;
        for (int other = 0; other < TesselHelpUI::kButtonCount; ++other)
            EXPECT_EQ(panel().buttonPressed(other), other == c.button) << c.button;
        if (c.button == 1) {
            EXPECT_EQ(editor->helpViewer()->searchText(), "culture");
            EXPECT_FALSE(editor->helpViewer()->searchRun());
        }
    }

    // Over a window kept on top the viewer comes to the front; the window is
    // kept on top again once it is active.
    editor->setAlwaysOnTop(true);
    ASSERT_TRUE(windows.keptAbove(*editor->editorWindow()));
    clickPanelButton(2);
    EXPECT_EQ(windows.focusWindow(), editor->helpViewer()->window());
    EXPECT_FALSE(windows.keptAbove(*editor->editorWindow()));
    pagesWindow().takeFocus();
    idle();
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    editor->setAlwaysOnTop(false);

    const std::string file = settingsFolder() + "/Quorbel.ini";
    std::remove(file.c_str());
    const uint8_t before = pluginPreferences().showHelp;
    clickPanelButton(TesselHelpUI::kShowHelpButton);
    EXPECT_NE(pluginPreferences().showHelp, before);
    std::ifstream written(file);
    ASSERT_TRUE(written.good()) << file;
    std::stringstream text;
    text << written.rdbuf();
    EXPECT_NE(text.str().find(before ? "showhelp=\"0\"" : "showhelp=\"1\""), std::string::npos) << text.str();
    clickPanelButton(TesselHelpUI::kShowHelpButton);
    EXPECT_EQ(pluginPreferences().showHelp, before);
    // Later plug-ins of this process would read the saved window position.
    std::remove(file.c_str());
}

} // namespace
