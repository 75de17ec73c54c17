// Inserting and deleting blocks of song rows across patterns in play order.
#include "module_test_support.h"

#include "model/song/play_sequence.h"
#include "platform/status_text.h"

#include <string>
#include <thread>
#include <vector>

namespace {

// The song's rows in play order, as a timing list would hold them.
class FakeSequence : public TesselPlaySequence {
public:
    explicit FakeSequence(int32_t capacity = 1000) : capacity_(capacity) {}

    void build(const TesselModule& song)
    {
        rows.clear();
        for (int f = 0; f < song.orderList.length; ++f) {
            const int p = song.orderList.entries[static_cast<size_t>(f)].pattern;
            if (p >= 0)
                for (int r = 0; r < song.patterns[static_cast<size_t>(p)].length(); ++r)
                    rows.push_back({f, r});
        }
    }
    int32_t sequenceLength() const override { return static_cast<int32_t>(rows.size()); }
    TesselSequenceRow sequenceRow(int32_t i) const override { return rows[static_cast<size_t>(i)]; }
    bool appendSequenceRow(int32_t order, int32_t row) override
    {
        if (sequenceLength() >= capacity_)
            return false;
        rows.push_back({order, row});
        return true;
    }
    platform::RecursiveTimedMutex& sequenceLock() override { return *mutex_; }

    std::vector<TesselSequenceRow> rows;

private:
    int32_t capacity_;
    platform::SharedMutex mutex_ = platform::openNamedMutex("QB_TEST_SEQUENCE");
};

// Each cell names where it came from: instrument = pattern + 1, volume = row,
// panning = channel.
void fillPattern(TesselPattern& pattern, int p)
{
    for (int c = 0; c < kChannels; ++c)
        for (int r = 0; r < pattern.length(); ++r) {
            TesselRow& row = pattern.tracks.getTrack(c).getRow(r);
            row.instrument = static_cast<int16_t>(p + 1);
            row.volume = static_cast<int16_t>(r);
            row.panning = static_cast<int16_t>(c);
        }
}

class SongRowsTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        status_ = platform::statusText();
        song = makeSong();
        song->orderList.entries[0].pattern = 0;
        song->orderList.entries[1].pattern = 1;
        song->orderList.updateLength();
        fillPattern(song->patterns[0], 0);
        fillPattern(song->patterns[1], 1);
        sequence.build(*song);
        selection.active = 1;
        selection.start = {0, 0, 10, 0};
        selection.end = {63, 0, 13, 0};
        selection.pattern = &song->patterns[0];
    }
    void TearDown() override
    {
        platform::setStatusText(status_.c_str());
        ModuleTest::TearDown();
    }

    // Every channel of the row holds the cell of (pattern, row), or is empty for -1.
    ::testing::AssertionResult holds(int p, int r, int sourcePattern, int sourceRow)
    {
        for (int c = 0; c < kChannels; ++c) {
            const TesselRow* row = song->patterns[static_cast<size_t>(p)].findRow(c, r);
            if (sourcePattern < 0) {
                if (row)
                    return ::testing::AssertionFailure() << "pattern " << p << " row " << r << " not empty";
                continue;
            }
            if (!row || row->instrument != sourcePattern + 1 || row->volume != sourceRow || row->panning != c)
                return ::testing::AssertionFailure() << "pattern " << p << " row " << r << " channel " << c
                                                     << " is not the former " << sourcePattern << ":" << sourceRow;
        }
        return ::testing::AssertionSuccess();
    }

    static bool freeOnAnotherThread(platform::RecursiveTimedMutex& m)
    {
        bool free = false;
        std::thread([&] {
            free = m.lock(0);
            if (free)
                m.unlock();
        }).join();
        return free;
    }

    std::unique_ptr<TesselModule> song;
    FakeSequence sequence;
    TesselSelection selection;

private:
    std::string status_;
};

} // namespace

TEST_F(SongRowsTest, SelectionCountsRowsAndChannels)
{
    EXPECT_EQ(selection.rowCount(), 4);
    EXPECT_TRUE(selection.spansAllChannels());
    selection.end.channel = 62;
    EXPECT_FALSE(selection.spansAllChannels());
    selection.active = 0;
    EXPECT_EQ(selection.rowCount(), 0);
}

TEST_F(SongRowsTest, InsertMovesRowsAcrossThePatternBoundaryIntoANewOrderEntry)
{
    ASSERT_TRUE(insertSongRows(sequence, *song, selection));
    for (int r = 0; r < 10; ++r)
        EXPECT_TRUE(holds(0, r, 0, r));
    for (int r = 10; r < 14; ++r)
        EXPECT_TRUE(holds(0, r, -1, 0));
    for (int r = 14; r < 64; ++r)
        EXPECT_TRUE(holds(0, r, 0, r - 4));
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(holds(1, r, 0, 60 + r));
    for (int r = 4; r < 64; ++r)
        EXPECT_TRUE(holds(1, r, 1, r - 4));

    EXPECT_EQ(song->orderList.entries[2].pattern, 2);
    EXPECT_EQ(song->orderList.length, 3);
    ASSERT_EQ(sequence.sequenceLength(), 132);
    EXPECT_EQ(sequence.rows[131].order, 2);
    EXPECT_EQ(sequence.rows[131].row, 3);
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(holds(2, r, 1, 60 + r));
    EXPECT_EQ(song->patterns[2].length(), 64);
    EXPECT_EQ(patternMap()[7], 7) << "no repeat: the map is the identity";
    EXPECT_TRUE(freeOnAnotherThread(song->songLock()));
    EXPECT_TRUE(freeOnAnotherThread(sequence.sequenceLock()));
}

TEST_F(SongRowsTest, InsertLengthensTheFreePatternToTheBlock)
{
    selection.end.row = 109;   // 100 rows, more than a pattern holds by default
    ASSERT_TRUE(insertSongRows(sequence, *song, selection));
    EXPECT_EQ(song->patterns[2].length(), 100);
    EXPECT_EQ(sequence.sequenceLength(), 228);
    EXPECT_TRUE(holds(2, 99, 1, 63));
    EXPECT_TRUE(holds(1, 45, -1, 0)) << "the opened block reaches into the second pattern";
    EXPECT_TRUE(holds(1, 46, 0, 10));
}

TEST_F(SongRowsTest, DeleteMovesRowsUpAndEmptiesTheSongsLastRows)
{
    ASSERT_TRUE(deleteSongRows(sequence, *song, selection));
    for (int r = 0; r < 10; ++r)
        EXPECT_TRUE(holds(0, r, 0, r));
    for (int r = 10; r < 60; ++r)
        EXPECT_TRUE(holds(0, r, 0, r + 4));
    for (int r = 60; r < 64; ++r)
        EXPECT_TRUE(holds(0, r, 1, r - 60));
    for (int r = 0; r < 60; ++r)
        EXPECT_TRUE(holds(1, r, 1, r + 4));
    for (int r = 60; r < 64; ++r)
        EXPECT_TRUE(holds(1, r, -1, 0));
    EXPECT_EQ(selection.active, 0);
    EXPECT_EQ(sequence.sequenceLength(), 128);
    EXPECT_EQ(song->orderList.length, 2);
    EXPECT_TRUE(freeOnAnotherThread(song->songLock()));
    EXPECT_TRUE(freeOnAnotherThread(sequence.sequenceLock()));
}

TEST_F(SongRowsTest, RefusedSelectionsChangeNothingAndLeaveBothLocksFree)
{
    TesselSelection narrow = selection;
    narrow.end.channel = 62;
    TesselSelection inactive = selection;
    inactive.active = 0;
    TesselSelection unplayed = selection;
    unplayed.pattern = &song->patterns[5];
    song->patterns[5].index = 5;
    TesselSelection upside = selection;
    upside.start.row = 13;
    upside.end.row = 10;
    for (TesselSelection* s : {&narrow, &inactive, &unplayed, &upside}) {
        EXPECT_FALSE(insertSongRows(sequence, *song, *s));
        EXPECT_FALSE(deleteSongRows(sequence, *song, *s));
        EXPECT_TRUE(freeOnAnotherThread(song->songLock()));
        EXPECT_TRUE(freeOnAnotherThread(sequence.sequenceLock()));
    }
    EXPECT_EQ(unplayed.active, 1) << "a refused delete keeps the selection";
    for (int r = 0; r < 64; ++r) {
        EXPECT_TRUE(holds(0, r, 0, r));
        EXPECT_TRUE(holds(1, r, 1, r));
    }
    EXPECT_EQ(sequence.sequenceLength(), 128);
    EXPECT_EQ(song->orderList.length, 2);

    FakeSequence empty;
    EXPECT_FALSE(insertSongRows(empty, *song, selection));
}

TEST_F(SongRowsTest, RepeatedPatternIsRenumberedBeforeTheRowsMove)
{
    song->orderList.entries[0].pattern = 5;
    song->orderList.entries[1].pattern = 3;
    song->orderList.entries[2].pattern = 5;
    song->orderList.updateLength();
    for (int p : {3, 5}) {
        song->patterns[static_cast<size_t>(p)].tracks.clear();
        fillPattern(song->patterns[static_cast<size_t>(p)], p);
    }
    song->patterns[0].tracks.clear();
    song->patterns[1].tracks.clear();
    sequence.build(*song);
    selection.pattern = &song->patterns[5];
    ASSERT_TRUE(deleteSongRows(sequence, *song, selection));

    EXPECT_EQ(song->orderList.entries[0].pattern, 0);
    EXPECT_EQ(song->orderList.entries[1].pattern, 1);
    EXPECT_EQ(song->orderList.entries[2].pattern, 0);
    EXPECT_EQ(patternMap()[5], 0);
    EXPECT_EQ(patternMap()[3], 1);
    // The former pattern 3 follows the former 5's rows 0..9 up by 4.
    EXPECT_TRUE(holds(1, 0, 3, 4));
}

TEST_F(SongRowsTest, RowsPushedOffTheEndWithoutAFreePatternAreReported)
{
    for (int p = 2; p < kPatterns; ++p)
        song->patterns[static_cast<size_t>(p)].setLabel("X");
    platform::clearStatusText();
    ASSERT_TRUE(insertSongRows(sequence, *song, selection));
    EXPECT_NE(platform::statusText().find("lost"), std::string::npos) << platform::statusText();
    EXPECT_EQ(sequence.sequenceLength(), 128);
    EXPECT_EQ(song->orderList.length, 2);
    EXPECT_TRUE(holds(1, 63, 1, 59));
}
