// What the pages show right after New Module and after a load, before any
// other key: nothing of the erased song (the header's instrument, the key
// map), and the loaded song's tempo and order position. Each picture is
// compared with the one the page draws when made to read the song afresh.
#include "editor/pattern_page/pattern_page_fixture.h"

#include "editor/instrument_list/instrument_list_page.h"
#include "editor/instrument_list/keymap_view.h"
#include "platform/dialogs/dialogs.h"

#include <cmath>

namespace {

using namespace platform;

constexpr uint8_t kF4 = kWinF1 + 3;

// Pixels of the pattern page's header band (title strip and header line) that differ between two pictures.
int headerDifferences(const Image& a, const Image& b)
{
    int count = 0;
    for (int y = 0; y < 40 && y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixelAt(x, y) == b.pixelAt(x, y) ? 0 : 1;
    return count;
}

class StaleScreensTest : public PatternPageTest {
protected:
    TesselInstrumentListUI& instrumentPage()
    {
        return *dynamic_cast<TesselInstrumentListUI*>(editor->pages().instrumentList);
    }
    std::string keyMapText(int key)
    {
        const TesselCellText& text = instrumentPage().keyMap().cellText(0, key);
        return std::string(text.data(), kCellTextSize);
    }
    void newModule()
    {
        windows.scriptedDialogs().answerButton(kAnswerYes);
        control('N');
    }
};

TEST_F(StaleScreensTest, NewModuleLeavesNoErasedInstrumentInTheHeaderOrTheKeyMap)
{
    fillDemoSong();   // instrument 2 is "Bass"
    editor->setCurrentInstrument(2, false);
    const Image named = shown().clone();
    newModule();
    ASSERT_EQ(platform::statusText(), "Module erased.");
    saveShot("new_module_pattern_page.png");
    const Image erased = shown().clone();
    EXPECT_GT(headerDifferences(named, erased), 0);
    page().fillInstrumentList(0);
    EXPECT_EQ(headerDifferences(shown(), erased), 0);

    // The key map of instrument 2 sent key 60 to sample 3; the new song's
    // plays its own sample on every key.
    press(kF4);
    ASSERT_EQ(pageNumber(), kInstrumentListPage);
    song().instruments[1].keymap.getRow(60).instrument = 3;
    instrumentPage().selectInstrument(2, false);
    const std::string mapped = keyMapText(60);
    newModule();
    ASSERT_EQ(pageNumber(), kInstrumentListPage);
    idle();
    ASSERT_TRUE(pagesWindow().image().writePng("screenshots/new_module_key_map.png"));
    const std::string afterNew = keyMapText(60);
    EXPECT_NE(afterNew, mapped);
    instrumentPage().selectInstrument(1, false);
    instrumentPage().selectInstrument(2, false);
    EXPECT_EQ(afterNew, keyMapText(60));
}

TEST_F(StaleScreensTest, ALoadedSongShowsItsTempoAndItsOrderPositionAtOnce)
{
    const ScratchFolder folder;
    std::string path = folder.file("fast.zip");
    {
        platform::MutexLock lock(song().songLock(), kEditLockWaitMs);
        fillDemoSongInto(song());
        song().tempo = 173.0;
        song().orderList.entries[0].pattern = 0;
        song().orderList.entries[1].pattern = 1;
        song().orderList.updateLength();
    }
    ASSERT_TRUE(engine().saveModule(path));
    // The session before: another tempo in the engine, the editor elsewhere in the order.
    engine().setTempo(96.0);
    engine().currentOrder = 1;
    page().goToPattern(1, true);

    windows.scriptedDialogs().answerPaths({path});
    control('O');
    ASSERT_EQ(platform::statusText(), "Loading... complete");
    saveShot("loaded_song_pattern_page.png");
    EXPECT_EQ(std::lround(engine().shownTempo()), 173);
    EXPECT_EQ(page().getCurrentOrder(), 0);
    // The header as drawn: the tempo's digits replaced the old ones.
    const Image before = shown().clone();
    engine().setTempo(96.0);
    page().setDirty();
    EXPECT_GT(headerDifferences(shown(), before), 0);
}

} // namespace
