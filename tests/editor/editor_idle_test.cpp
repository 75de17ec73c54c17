// The editor idle: the status line's countdown, what playback hands over
// from the audio thread, loads on other threads, and redraw requests.

#include "editor/core/page_kinds.h"
#include "editor/core/status_countdown.h"
#include "editor_fixture.h"
#include "engine/engine.h"
#include "gui/lists/drop_list.h"
#include "patterneditor/pattern_editor_page.h"

#include <thread>

namespace {

TEST(StatusCountdown, ATextClearsOnThe512thPassAfterItsLastChangeAndTheMessageOnThe500th)
{
    platform::setStatusText("first");
    platform::setFileMessage("Loading...");
    TesselStatusCountdown countdown;
    TesselStatusCountdown::Pass pass = countdown.step();
    EXPECT_TRUE(pass.statusChanged);
    EXPECT_TRUE(pass.messageChanged);
    for (int i = 2; i < 300; ++i)
        countdown.step();
    platform::setStatusText("first");   // the same text again: not timed anew
    for (int i = 300; i < 500; ++i)
        EXPECT_FALSE(countdown.step().messageCleared) << i;
    EXPECT_TRUE(countdown.step().messageCleared);   // pass 500
    EXPECT_EQ(platform::fileMessage(), "");
    for (int i = 501; i < 512; ++i)
        EXPECT_FALSE(countdown.step().statusCleared) << i;
    EXPECT_EQ(platform::statusText(), "first");
    pass = countdown.step();   // pass 512
    EXPECT_TRUE(pass.statusCleared);
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_EQ(countdown.statusPassesLeft(), 0);
    EXPECT_FALSE(countdown.step().statusChanged);

    // A new text restarts the count; the file message compares 80 characters.
    platform::setStatusText("second");
    countdown.step();
    platform::setStatusText("third");
    countdown.step();
    EXPECT_EQ(countdown.statusPassesLeft(), TesselStatusCountdown::kStatusPasses - 1);
    const std::string longMessage(100, 'x');
    platform::setFileMessage(longMessage.c_str());
    countdown.step();
    platform::setFileMessage((longMessage.substr(0, 80) + "yy").c_str());
    EXPECT_FALSE(countdown.step().messageChanged);
    platform::clearStatusText();
    platform::setFileMessage("");
}

TEST_F(EditorTest, TheStatusTextClearsOnThe512thIdle)
{
    open();
    dismissSplash();
    idle();
    platform::setStatusText("Something happened.");
    idle(300);
    platform::setStatusText("Something happened.");
    idle(211);
    EXPECT_EQ(platform::statusText(), "Something happened.");
    idle();
    EXPECT_EQ(platform::statusText(), "");

    // The help line of a drag is longer than the line and is cut, not overrun.
    const std::string line(93, '-');
    platform::setStatusText(line.c_str());
    EXPECT_EQ(platform::statusText().size(), platform::kStatusTextSize - 1);
}

TEST_F(EditorTest, PlaybackPositionsFromTheAudioThreadReachTheIdle)
{
    open();
    dismissSplash();
    pluginPreferences().followPattern = 1;
    engine().transport = kPlayingSong;
    std::thread audio([this] { editor->setPlaybackPosition(3, 5, 12); });
    audio.join();
    idle();
    EXPECT_EQ(patternPage()->getCurrentPattern(), 5);
    EXPECT_EQ(patternPage()->getCurrentRow(), 12);
    EXPECT_EQ(toolbar()->rowText(), "012");
    EXPECT_EQ(toolbar()->orderText(), "003(005)");
    EXPECT_TRUE(editor->pages().info->isDirty());
    engine().transport = kStoppedCut;
}

TEST_F(EditorTest, ALoadOnAnotherThreadOnlyAsksTheNextIdle)
{
    open();
    dismissSplash();
    // The page's instrument list shows a name the loader wrote only after the idle.
    const auto entry = [this](int n) {
        char text[TesselDropList::kTextSize] = {};
        patternPage()->instrumentList()->getEntry(n, text);
        return std::string(text);
    };
    engine().song.instruments[0].setName("Loaded bass");
    std::thread loader([this] { editor->refreshAfterLoad(); });
    loader.join();
    EXPECT_EQ(entry(1), "01: ");
    idle();
    EXPECT_EQ(entry(1), "01: Loaded bass");

    engine().song.instruments[1].setName("Loaded lead");
    editor->refreshAfterLoad();   // on the editor's thread: at once
    EXPECT_EQ(entry(2), "02: Loaded lead");
}

TEST_F(EditorTest, TheEngineSeesThePatternEditorsPatternOnlyOnceItExists)
{
    EXPECT_EQ(engine().editor, editor);
    EXPECT_EQ(editor->currentPattern(), -1);
    TesselNoteEntry entry;
    EXPECT_FALSE(editor->noteEntry(entry));
    open();
    EXPECT_EQ(editor->currentPattern(), 0);
}

TEST_F(EditorTest, FastRefreshRunsTimerOneAndIdlesFromIt)
{
    open();
    dismissSplash();
    editor->setFastRefresh(true);
    EXPECT_TRUE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerIdle));
    platform::setStatusText("timed");
    windows.pump();   // the idle that sees the text
    for (int i = 0; i < 520; ++i) {
        windows.advance(TesselEditor::kFastIdleMs);
        windows.pump();
    }
    EXPECT_EQ(platform::statusText(), "");
    editor->setFastRefresh(false);
    EXPECT_FALSE(windows.timerRunning(*editor->editorWindow(), TesselEditor::kTimerIdle));
}

TEST_F(EditorTest, APopupBlocksKeysAndTakesTheWindowOutOfTheTopmostBand)
{
    open();
    dismissSplash();
    editor->setAlwaysOnTop(true);
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    editor->beginPopup();
    EXPECT_FALSE(windows.keptAbove(*editor->editorWindow()));
    EXPECT_TRUE(editor->inputBlocked());
    press(platform::kWinF1 + 2);
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    editor->endPopup();
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    press(platform::kWinF1 + 2);
    EXPECT_EQ(pageNumber(), kSampleListPage);
}

TEST_F(EditorTest, ResizingTheWindowLaysThePagesOutAgain)
{
    open();
    dismissSplash();
    const int rowsBefore = patternPage()->grid().view.visibleRows;
    editor->editorWindow()->setRect(platform::rectOfSize(200, 146, 900, 600));
    windows.pump();
    CRect area;
    editor->pages().patternEditor->getViewSize(area);
    EXPECT_EQ(area, CRect(0, 0, 900, 600));
    EXPECT_GT(patternPage()->grid().view.visibleRows, rowsBefore);
    editor->pages().help->getViewSize(area);
    EXPECT_EQ(area.bottom, 600 - 15);
}

} // namespace
