// Unrolling the song and its patterns into timing lists.
#include "engine_fixture.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <thread>
#include <vector>

namespace {

class PlaylistBuildTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        song().orderList.reset();
    }

    TesselModule& song() { return engine->song; }

    void setOrders(std::initializer_list<int32_t> patterns)
    {
        song().orderList.reset();
        size_t i = 0;
        for (int32_t p : patterns)
            song().orderList.entries[i++].pattern = p;
        song().orderList.updateLength();
    }

    void setEffect(int pattern, int channel, int row, char letter, int parameter)
    {
        TesselRow& cell = song().patterns[static_cast<size_t>(pattern)].tracks.getTrack(channel).getRow(row);
        cell.effect.command = letter;
        cell.effect.parameter = static_cast<int16_t>(parameter);
    }

    const TesselPlaylist& rebuildSong(const TesselPlayPosition* from = nullptr)
    {
        engine->rebuildSongPlaylist(from, false);
        return engine->songTiming;
    }

    static std::vector<int> rowsOf(const TesselPlaylist& list, int order)
    {
        std::vector<int> rows;
        for (int32_t i = 0; i < list.count; ++i)
            if (list.entries()[i].order == order)
                rows.push_back(list.entries()[i].row);
        return rows;
    }

    static std::vector<int> range(int from, int to)
    {
        std::vector<int> rows;
        for (int r = from; r <= to; ++r)
            rows.push_back(r);
        return rows;
    }
};

} // namespace

TEST_F(PlaylistBuildTest, EmptyOrderEntryGives64RowsAtRowZero)
{
    setOrders({kOrderEmpty, 0});
    const TesselPlaylist& list = rebuildSong();
    ASSERT_EQ(list.count, 128);
    EXPECT_EQ(rowsOf(list, 0), std::vector<int>(64, 0));
    EXPECT_EQ(rowsOf(list, 1), range(0, 63));
}

TEST_F(PlaylistBuildTest, MarkersSkipAndEndTheWalk)
{
    setOrders({kOrderSkip, 0, kOrderEnd, 1});
    const TesselPlaylist& list = rebuildSong();
    EXPECT_EQ(list.count, 64);
    EXPECT_TRUE(rowsOf(list, 0).empty());
    EXPECT_EQ(list.entries()[0].order, 1);
}

TEST_F(PlaylistBuildTest, SpeedCommandIsClampedAndZeroIgnored)
{
    setOrders({0});
    const double initial = song().resolution;
    setEffect(0, 3, 0, 'A', 0);
    setEffect(0, 3, 2, 'A', 150);
    setEffect(0, 9, 5, 'A', 0);
    const TesselPlaylist& list = rebuildSong();
    EXPECT_EQ(list.entries()[0].speed, initial) << "A0 is ignored";
    EXPECT_EQ(list.entries()[1].speed, initial);
    EXPECT_EQ(list.entries()[2].speed, 100.0);
    EXPECT_EQ(list.entries()[63].speed, 100.0) << "A0 does not clear the speed";
}

TEST_F(PlaylistBuildTest, JumpStopsThePatternAndLargeJumpIsIgnored)
{
    setOrders({0, 1, 2});
    setEffect(0, 5, 3, 'B', 300);
    setEffect(0, 7, 10, 'B', 2);
    const TesselPlaylist& list = rebuildSong();
    EXPECT_EQ(rowsOf(list, 0), range(0, 10));
    EXPECT_TRUE(rowsOf(list, 1).empty());
    EXPECT_EQ(rowsOf(list, 2), range(0, 63));
}

TEST_F(PlaylistBuildTest, BreakStopsThePatternAndSetsThePatternsStartRow)
{
    setOrders({0, 1});
    setEffect(0, 1, 20, 'C', 5);
    const TesselPlaylist& list = rebuildSong();
    EXPECT_EQ(rowsOf(list, 0), range(0, 20));
    EXPECT_EQ(rowsOf(list, 1), range(0, 63)) << "the next pattern is read from row 0";

    engine->rebuildPatternPlaylist(0, false);
    EXPECT_EQ(engine->patternTiming[0]->startRow, 5);
    EXPECT_EQ(engine->patternTiming[0]->count, 21);
    EXPECT_EQ(engine->patternTiming[0]->entries()[0].order, -1);
}

TEST_F(PlaylistBuildTest, PatternLoopRepeatsRows)
{
    setOrders({0});
    setEffect(0, 2, 4, 'S', 0xB0);
    setEffect(0, 2, 7, 'S', 0xB2);
    const TesselPlaylist& list = rebuildSong();
    std::vector<int> expected = range(0, 7);
    for (int pass = 0; pass < 2; ++pass)
        for (int r = 4; r <= 7; ++r)
            expected.push_back(r);
    for (int r = 8; r <= 63; ++r)
        expected.push_back(r);
    EXPECT_EQ(rowsOf(list, 0), expected);
}

TEST_F(PlaylistBuildTest, OtherCommandOnRowZeroDoesNotDisarmTheLoop)
{
    setOrders({0});
    setEffect(0, 0, 0, 'D', 0x03);   // a volume slide's nibble is no loop count
    setEffect(0, 0, 3, 'S', 0xB1);
    const TesselPlaylist& list = rebuildSong();
    std::vector<int> expected = range(0, 3);
    for (int r = 0; r <= 63; ++r)
        expected.push_back(r);
    EXPECT_EQ(rowsOf(list, 0), expected);
}

TEST_F(PlaylistBuildTest, SongAt125BpmLasts768Seconds)
{
    setOrders({0});
    song().tempo = 125.0;
    const TesselPlaylist& list = rebuildSong();
    ASSERT_EQ(list.count, 64);
    EXPECT_NEAR(list.timeAt(list.count, song().rowsPerQuarter, false), 7.68, 1e-9);
    EXPECT_EQ(list.tempoAt(0).tempo, 125.0);
}

TEST_F(PlaylistBuildTest, TempoChangesAreTimedFromTheirPredecessor)
{
    setOrders({0});
    song().tempo = 125.0;
    setEffect(0, 4, 32, '@', 250);
    const TesselPlaylist& list = rebuildSong();
    ASSERT_EQ(list.tempoMap.size(), 2u);
    EXPECT_EQ(list.tempoMap.at(0).nextChange, 32);
    EXPECT_NEAR(list.tempoMap.at(32).startTime, 3.84, 1e-9);
    EXPECT_EQ(list.tempoAt(31).tempo, 125.0);
    EXPECT_NEAR(list.timeAt(64, 4, false), 3.84 + 1.92, 1e-9);
}

TEST_F(PlaylistBuildTest, SpeedModeRowTimesCarryTheSpeedFactor)
{
    setOrders({0});
    song().tempo = 125.0;
    song().timingMode = TesselModule::Speed;
    setEffect(0, 0, 0, 'A', 3);
    setEffect(0, 1, 32, '@', 250);
    const TesselPlaylist& list = rebuildSong();
    EXPECT_NEAR(list.tempoMap.at(32).startTime, 1.92, 1e-9);
    EXPECT_NEAR(list.timeAt(64, 4, true), 1.92 + 0.96, 1e-9);
}

TEST_F(PlaylistBuildTest, RebuildFromPositionRedoesTheCurrentOrderEntry)
{
    setOrders({0, 1});
    setEffect(1, 0, 10, '@', 200);
    rebuildSong();
    ASSERT_EQ(engine->songTiming.tempoMap.count(74), 1u);

    // The tempo change goes; a speed change appears in the pattern played.
    song().patterns[1].tracks.getTrack(0).freeRow(10);
    setEffect(1, 0, 0, 'A', 3);
    TesselPlayPosition position;
    position.entry = 80;
    const TesselPlaylist& list = rebuildSong(&position);
    EXPECT_EQ(list.count, 128);
    EXPECT_EQ(list.tempoMap.count(74), 0u) << "tempo entries after the cut go with the rows";
    EXPECT_EQ(list.tempoMap.at(0).nextChange, 0);
    EXPECT_EQ(list.entries()[63].speed, song().resolution);
    EXPECT_EQ(list.entries()[64].speed, 3.0);
}

TEST_F(PlaylistBuildTest, EndlessJumpFillsTheListAndStops)
{
    setOrders({0});
    setEffect(0, 0, 0, 'B', 0);
    const TesselPlaylist& list = rebuildSong();
    EXPECT_EQ(list.count, kSongTimingCapacity);
}

TEST_F(PlaylistBuildTest, PatternListsGiveTheEditorsRowSpeed)
{
    setEffect(7, 0, 4, 'A', 9);
    engine->rebuildPatternPlaylists(false);
    EXPECT_EQ(engine->patternTiming[7]->count, 64);
    EXPECT_NEAR(engine->speedAtRow(7, 4), 9.1, 1e-12);
    EXPECT_NEAR(engine->speedAtRow(7, 3), song().resolution + 0.1, 1e-12);
    EXPECT_NEAR(engine->speedAtRow(7, 200), song().resolution + 0.1, 1e-12) << "a row the list lacks";
    EXPECT_NEAR(engine->speedAtRow(-1, 0), song().resolution + 0.1, 1e-12);
}

TEST_F(PlaylistBuildTest, SongListCarriesTheRowBlockOperations)
{
    setOrders({0, 1});
    for (int r = 0; r < 64; ++r)
        song().patterns[1].tracks.getTrack(63).getRow(r).volume = static_cast<int16_t>(r);
    rebuildSong();
    TesselSelection selection;
    selection.active = 1;
    selection.start = {0, 0, 2, 0};
    selection.end = {63, 0, 5, 0};
    selection.pattern = &song().patterns[1];

    ASSERT_TRUE(engine->songTiming.insertSongRows(song(), selection));
    EXPECT_EQ(engine->songTiming.count, 132);
    EXPECT_EQ(song().orderList.entries[2].pattern, 2);
    EXPECT_EQ(song().patterns[2].findRow(63, 3)->volume, 63);
    EXPECT_EQ(song().patterns[1].findRow(63, 2), nullptr);
    EXPECT_EQ(song().patterns[1].findRow(63, 6)->volume, 2);

    engine->rebuildSongPlaylist(nullptr, false);
    ASSERT_TRUE(engine->songTiming.deleteSongRows(song(), selection));
    EXPECT_EQ(selection.active, 0);
    EXPECT_EQ(song().patterns[1].findRow(63, 2)->volume, 2);
    EXPECT_EQ(song().patterns[2].findRow(63, 3), nullptr);

    std::thread([&] {
        EXPECT_TRUE(engine->songTiming.lock().lock(0));
        engine->songTiming.lock().unlock();
        EXPECT_TRUE(song().songLock().lock(0));
        song().songLock().unlock();
    }).join();
}

TEST_F(PlaylistBuildTest, RebuildWithoutTheSongLockKeepsTheOldListOnTimeOut)
{
    setOrders({0});
    rebuildSong();
    ASSERT_EQ(engine->songTiming.count, 64);
    setOrders({0, 1});
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere holder(song().songLock());
        engine->rebuildSongPlaylist(nullptr, false);   // waits in vain for the song lock
        EXPECT_EQ(engine->songTiming.count, 64);
    }
    EXPECT_EQ(rebuildSong().count, 128);
}

TEST_F(PlaylistBuildTest, TempoOnTheFirstRowReplacesTheInitialTempo)
{
    setOrders({0, 1});
    setEffect(0, 0, 0, '@', 150);
    setEffect(1, 0, 0, '@', 100);
    const TesselPlaylist& list = rebuildSong();
    ASSERT_EQ(list.tempoMap.size(), 2u);
    EXPECT_EQ(list.tempoAt(0).tempo, 150.0);
    EXPECT_EQ(list.tempoAt(0).startTime, 0.0);
    EXPECT_EQ(list.tempoAt(0).nextChange, 64);
    EXPECT_NEAR(list.tempoAt(64).startTime, 64 * 60.0 / (4 * 150.0), 1e-9);
    EXPECT_EQ(list.tempoAt(127).tempo, 100.0);
}
