// The editor's windows through effEditOpen, effEditIdle and effEditClose.

#include "editor/core/page_kinds.h"
#include "editor_fixture.h"
#include "patterneditor/pattern_editor_page.h"
#include "resources/resource_ids.h"

namespace {

TEST_F(EditorTest, OpenAndOneIdleMakeTheEditorWindowBelowTheHostWithTheSplashFadingIn)
{
    EXPECT_EQ(editor->editorWindow(), nullptr);   // building the editor made no window
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 493);
    EXPECT_EQ(rect->bottom, 36);

    open();
    platform::Window* window = editor->editorWindow();
    EXPECT_TRUE(window->isTopLevel());
    EXPECT_EQ(windows.owner(*window), host.get());   // transient for the host's top level
    EXPECT_EQ(window->rect(), platform::rectOfSize(200, 136 + 10, 723, 499));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(windows.title(*window), "Quorbel Window");
    EXPECT_EQ(windows.iconSize(*window).x, 32);
    // The toolbar frame is a child of effEditOpen's window.
    ASSERT_NE(editor->toolbarFrame()->getWindow(), nullptr);
    EXPECT_EQ(editor->toolbarFrame()->getWindow()->parent(), host.get());

    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    EXPECT_EQ(editor->currentPage(), editor->pages().patternEditor);
    EXPECT_TRUE(editor->frame2()->isChild(editor->pages().patternEditor));
    EXPECT_EQ(editor->octave(), 4);
    EXPECT_EQ(editor->currentInstrument(), 1);
    EXPECT_TRUE(windows.timerRunning(*window, TesselEditor::kTimerRedraw));
    EXPECT_FALSE(windows.keptAbove(*window));

    TesselSplashUI* splash = editor->splash();
    EXPECT_TRUE(splash->isShown());
    EXPECT_TRUE(splash->isAnimating());
    EXPECT_FALSE(splash->isFadingOut());
    windows.advance(200);
    idle();
    EXPECT_GT(splash->fadeInLevel(), 0.0f);
    EXPECT_LT(splash->fadeInLevel(), TesselSplashUI::kFullLevel);
    for (int i = 0; i < 30; ++i) {
        windows.advance(50);
        idle();
    }
    EXPECT_EQ(splash->fadeInLevel(), TesselSplashUI::kFullLevel);
    EXPECT_FALSE(splash->isAnimating());
    EXPECT_EQ(splash->alpha(), 255);
}

TEST_F(EditorTest, AKeyDuringTheSplashOnlyStartsItsFadeOut)
{
    open();
    windows.advance(100);
    idle();
    press(platform::kWinF1 + 2);   // F3
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    EXPECT_TRUE(editor->splash()->isFadingOut());

    for (int i = 0; i < 40 && editor->splash()->isShown(); ++i) {
        windows.advance(50);
        idle();
    }
    EXPECT_FALSE(editor->splash()->isShown());
    EXPECT_EQ(editor->splash()->alpha(), 0);
    press(platform::kWinF1 + 2);
    EXPECT_EQ(pageNumber(), kSampleListPage);
}

TEST_F(EditorTest, CloseAndReopenKeepThePagesAndGreetWithoutTheSplash)
{
    open();
    dismissSplash();
    press(platform::kWinF1 + 3);   // F4: instrument list
    ASSERT_EQ(pageNumber(), kInstrumentListPage);
    const TesselPages before = editor->pages();
    platform::Window* toolbarWindow = editor->toolbarFrame()->getWindow();
    (void)toolbarWindow;

    dispatch(effEditClose);
    EXPECT_EQ(editor->editorWindow(), nullptr);
    EXPECT_EQ(editor->frame2(), nullptr);
    EXPECT_EQ(editor->toolbarFrame(), nullptr);
    // The hot keys went with the window: Ctrl+Alt+T is an ordinary key again.
    const uint8_t alwaysOnTop = pluginPreferences().alwaysOnTop;
    chord({platform::kWinControl, platform::kWinMenu}, 'T');
    EXPECT_EQ(pluginPreferences().alwaysOnTop, alwaysOnTop);

    platform::clearStatusText();
    open();
    const TesselPages after = editor->pages();
    EXPECT_EQ(after.patternEditor, before.patternEditor);
    EXPECT_EQ(after.instrumentList, before.instrumentList);
    EXPECT_EQ(after.toolbar, before.toolbar);
    EXPECT_EQ(pageNumber(), kInstrumentListPage);
    EXPECT_TRUE(editor->frame2()->isChild(after.instrumentList));
    EXPECT_TRUE(editor->frame2()->isChild(after.patternEditor));
    EXPECT_FALSE(editor->splash()->isShown());
    EXPECT_EQ(platform::statusText(), " Welcome to Quorbel! Press Ctrl-F1 for help on getting started.");
    EXPECT_TRUE(editor->isWindowVisible());

    // effClose with the editor still open: the plug-in goes, editor and all.
    dispatch(effClose);
    plugin.release();   // effClose deleted it
    editor = nullptr;
}

TEST_F(EditorTest, TheFirstCreationFollowsItsFlagNotThePageNumber)
{
    // A host that sets a chunk before opening the editor leaves page 1 behind.
    currentPageNumber() = kPatternEditorPage;
    open();
    EXPECT_TRUE(editor->splash()->isShown());
    EXPECT_NE(platform::statusText(), " Welcome to Quorbel! Press Ctrl-F1 for help on getting started.");
}

TEST_F(EditorTest, APlaceKeptNearTheScreenEdgeIsDropped)
{
    TesselPreferences& preferences = pluginPreferences();
    preferences.positionX1 = 300;
    preferences.positionY1 = 400;
    preferences.positionX2 = 1000;
    preferences.positionY2 = 900;
    open();
    EXPECT_EQ(editor->editorWindow()->rect(), (platform::Rect{300, 400, 1000, 900}));
    dispatch(effEditClose);

    // Moved so that 15 pixels remain on the screen: placed below the host again.
    preferences.positionX1 = 1905;
    preferences.positionX2 = 2605;
    open();
    // The window's own last place counts first, and it is still on the screen.
    EXPECT_EQ(editor->editorWindow()->rect(), (platform::Rect{300, 400, 1000, 900}));
    editor->editorWindow()->setRect({1905, 400, 2605, 900});
    windows.pump();
    dispatch(effEditClose);
    open();
    EXPECT_EQ(editor->editorWindow()->rect(), platform::rectOfSize(200, 146, 723, 499));
}

TEST_F(EditorTest, LinkedWindowsStayJustBelowTheHostsWindow)
{
    TesselPreferences& preferences = pluginPreferences();
    preferences.linkWindows = 1;
    preferences.alwaysOnTop = 1;
    open();
    EXPECT_EQ(editor->editorWindow()->rect(), platform::rectOfSize(198, 140, 723, 499));
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    host->setRect(platform::rectOfSize(50, 60, 493, 36));
    idle();   // the host hook posts the move, the window follows
    EXPECT_EQ(editor->editorWindow()->rect(), platform::rectOfSize(48, 100, 723, 499));
    editor->setWindowsLinked(false, false);
    EXPECT_EQ(platform::statusText(), "Quorbel windows separated.");
    host->setRect(platform::rectOfSize(300, 300, 493, 36));
    idle();
    EXPECT_EQ(editor->editorWindow()->rect(), platform::rectOfSize(48, 100, 723, 499));
}

TEST_F(EditorTest, HideAndShowKeepTheToolbarsWindowButton)
{
    open();
    dismissSplash();
    TesselButton* windowButton = toolbar()->button(TesselToolbarUI::kPatternEditorButton);
    EXPECT_TRUE(windowButton->getState());
    chord({platform::kWinControl}, platform::kWinF1 + 3);   // Ctrl+F4 hides
    EXPECT_FALSE(editor->isWindowVisible());
    EXPECT_FALSE(editor->editorWindow()->isVisible());
    EXPECT_FALSE(windowButton->getState());
    EXPECT_EQ(pluginPreferences().positionY1, 146);
    editor->switchPage(kOrderListPage, true);   // a page switch shows it again
    EXPECT_TRUE(editor->isWindowVisible());
    EXPECT_TRUE(windowButton->getState());
    EXPECT_EQ(toolbarPageDown(), kOrderListPage);
}

TEST_F(EditorTest, MergedWithTheHostTheWindowIsAChildOfTheMdiClient)
{
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::Child;
    options.parent = host.get();
    options.rect = {0, 0, 493, 36};
    options.className = "MDIClient";
    std::unique_ptr<platform::Window> client = windows.createWindow(options);
    options.parent = client.get();
    options.className = "Slot";
    std::unique_ptr<platform::Window> slot = windows.createWindow(options);
    pluginPreferences().mergeWithHost = 1;
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(slot->handle())), 1);
    idle();
    ASSERT_NE(editor->editorWindow(), nullptr);
    EXPECT_FALSE(editor->editorWindow()->isTopLevel());
    EXPECT_EQ(editor->editorWindow()->parent(), client.get());

    editor->setIntegrated(false, false);
    EXPECT_TRUE(editor->editorWindow()->isTopLevel());
    EXPECT_EQ(platform::statusText(), "Quorbel editor window separated from host.");
    dispatch(effEditClose);
}

TEST_F(EditorTest, InTheOwnHostTheWindowFillsTheMdiClientWithoutHooks)
{
    EditorHost::product = "quorbel host";
    makePlugin();
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::Child;
    options.parent = host.get();
    options.rect = {0, 0, 800, 600};
    options.className = "MDIClient";
    std::unique_ptr<platform::Window> client = windows.createWindow(options);
    options.parent = client.get();
    options.rect = {0, 0, 493, 36};
    options.className = "Toolbar";
    std::unique_ptr<platform::Window> slot = windows.createWindow(options);
    pluginPreferences().keyboardMode = 1;
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(slot->handle())), 1);
    idle();
    ASSERT_NE(editor->editorWindow(), nullptr);
    EXPECT_EQ(editor->editorWindow()->parent(), client.get());
    EXPECT_EQ(editor->editorWindow()->rect(), (platform::Rect{0, 0, 800, 600}));
    EXPECT_EQ(editor->getKeyMode(), 0);
    editor->hideEditorWindow();   // never in the own host
    EXPECT_TRUE(editor->isWindowVisible());
    dispatch(effEditClose);
}

} // namespace
