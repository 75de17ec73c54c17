// On a real X server, what the server shows of the editor window after keys,
// edits and playback on every page, with only the changed parts sent, is
// what it shows after a redraw from nothing sent in full.

#include "editor/redraw_check.h"
#include "engine/engine.h"
#include "gui/offscreen_context.h"
#include "pagekit/page_globals.h"
#include "platform/graphics/canvas.h"
#include "plugin/plugin_globals.h"
#include "support/demo_song.h"
#include "x11_editor_fixture.h"

#include <vector>

namespace {

class RedrawOnX : public EditorOnX {
protected:
    // The pattern editor's pictures and the page offscreen forgotten, the
    // window's pixels wiped: everything is drawn and sent again.
    void redrawFromNothing()
    {
        dynamic_cast<TesselPatternEditorUI*>(editor->pages().patternEditor)->releaseBitmaps();
        pageOffscreen().reset();
        platform::Window* window = editor->frame2()->getWindow();
        platform::Canvas(window->image()).fillRect(window->image().bounds(), {1, 2, 3});
        editor->currentPage()->setDirty();
        idlePasses(2);
    }
};

TEST_F(RedrawOnX, EveryPageAfterKeysEditsAndPlaybackShowsWhatARedrawFromNothingShows)
{
    startSong();
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);
    ASSERT_NE(showDemoPattern(), nullptr);
    editor->playSong(0, 0);
    for (int32_t page : {kPatternEditorPage, kSampleListPage, kInstrumentListPage, kInfoPage, kOrderListPage,
                         kPreferencesPage, kPatternEditorPage}) {
        SCOPED_TRACE(page);
        editor->switchPage(page, true);
        tap(XK_Down);
        tap(XK_Down);
        tap(XK_Right);
        tap(XK_q);
        tap(XK_1);
        idlePasses(2);
        render(24);
        idlePasses(2);
        tap(XK_Tab);
        tap(XK_Up);
        render(24);
        idlePasses(12);   // the cursor guide fades in on the redraw timer
        // The info page's meters ease toward their levels pass by pass.
        for (int i = 0; i < 12; ++i) {
            editor->currentPage()->setDirty();
            idlePasses(1);
        }
        const std::string name = "x11_redraw_page_" + std::to_string(page) + ".png";
        ASSERT_TRUE(writeShot(editorXid, name));
        const platform::Image sent = lastShot.clone();
        EXPECT_EQ(redraw_check::firstDifference(sent, editor->frame2()->getWindow()->image()), "");
        redrawFromNothing();
        ASSERT_TRUE(writeShot(editorXid, "x11_redraw_full.png"));
        EXPECT_EQ(redraw_check::firstDifference(sent, lastShot), "");
    }
    dispatch(effEditClose);
}

} // namespace
