// The editor draws only what changed and sends the window only the parts
// that differ: after keys, edits and playback on every page, the window
// holds exactly what a redraw from nothing gives, and a pass with nothing
// changed sends nothing.

#include "pagekit/page_globals.h"
#include "pages_fixture.h"
#include "platform/graphics/canvas.h"
#include "plugin/plugin_globals.h"
#include "redraw_check.h"

namespace {

class RedrawTest : public PagesTest {
protected:
    const platform::Image& windowImage() { return editor->frame2()->getWindow()->image(); }

    // What the editor shows when nothing it kept from earlier passes is left:
    // the pattern editor's pictures and the page offscreen forgotten, the
    // window wiped.
    platform::Image redrawnFromNothing()
    {
        patternPage()->releaseBitmaps();
        pageOffscreen().reset();
        platform::Window* window = editor->frame2()->getWindow();
        platform::Canvas(window->image()).fillRect(window->image().bounds(), {1, 2, 3});
        editor->currentPage()->setDirty();
        idle();
        return windowImage().clone();
    }

    // Keys, edits and playback, then the redraw timer until the cursor
    // guide has faded in.
    void useThePage()
    {
        press(platform::kWinDown);
        press(platform::kWinDown);
        press(platform::kWinRight);
        type("q1");
        render(24);
        idle();
        press(platform::kWinTab);
        press(platform::kWinUp);
        render(24);
        settle(12, 30);
        // The info page's meters ease toward their levels pass by pass.
        for (int i = 0; i < 12; ++i) {
            editor->currentPage()->setDirty();
            idle();
        }
    }
};

TEST_F(RedrawTest, EveryPageAfterKeysEditsAndPlaybackMatchesARedrawFromNothing)
{
    loadDemoSong();
    patternPage()->fillInstrumentList(0);
    patternPage()->goToPattern(0, true);
    editor->playSong(0, 0);
    for (int32_t page : {kPatternEditorPage, kSampleListPage, kInstrumentListPage, kInfoPage, kOrderListPage,
                         kPreferencesPage, kPatternEditorPage}) {
        SCOPED_TRACE(page);
        editor->switchPage(page, true);
        idle();
        useThePage();
        const platform::Image incremental = windowImage().clone();
        const platform::Image whole = redrawnFromNothing();
        EXPECT_EQ(redraw_check::firstDifference(incremental, whole), "");
        incremental.writePng("screenshots/redraw_page_" + std::to_string(page) + ".png");
    }
}

TEST_F(RedrawTest, APassWithNothingChangedDrawsNothing)
{
    loadDemoSong();
    patternPage()->goToPattern(0, true);
    settle(12, 30);
    platform::Window* window = editor->frame2()->getWindow();
    // Scribbled over where no page would draw it: a pass that draws would
    // put the page back.
    platform::Canvas(window->image()).fillRect({0, 0, 4, 4}, {250, 0, 250});
    settle(20, 30);
    EXPECT_EQ(windowImage().pixelAt(1, 1), (platform::Colour{250, 0, 250}));

    // The cursor one row down draws the page again, and with it what the
    // window should show there.
    press(platform::kWinDown);
    idle();
    EXPECT_NE(windowImage().pixelAt(1, 1), (platform::Colour{250, 0, 250}));
}

} // namespace
