// The row advance of song and pattern playback and its status line.
#include "engine/transport_fixture.h"

#include "engine/voice/voice.h"
#include "platform/vst2_records.h"

#include <cmath>
#include <vector>

namespace {

struct PlaybackEditor : TesselEditorLink {
    void setPlaybackPosition(int32_t o, int32_t p, int32_t r) override
    {
        order = o;
        pattern = p;
        row = r;
    }
    int32_t order = -2, pattern = -2, row = -2;
};

class AdvanceRowTest : public TransportTest {
protected:
    void SetUp() override
    {
        TransportTest::SetUp();
        engine->editor = &editor;
    }

    TesselRow& cell(int pattern, int channel, int row)
    {
        return engine->song.patterns[static_cast<size_t>(pattern)].tracks.getTrack(channel).getRow(row);
    }
    void setEffect(int pattern, int channel, int row, char letter, int parameter)
    {
        TesselRow& r = cell(pattern, channel, row);
        r.effect.command = letter;
        r.effect.parameter = static_cast<int16_t>(parameter);
    }

    // What the block does when the song time reaches the next row.
    void nextRow(const VstTimeInfo* time = nullptr)
    {
        TesselPlayPosition& at = engine->position();
        // The first block after a start plays the row the time is in.
        if (static_cast<int32_t>(at.time) == at.entry)
            at.time = std::floor(at.time) + 1.0;
        at.entry = static_cast<int32_t>(at.time);
        at.tick = 0;
        at.ticks = 0.0;
        for (size_t i = 1; i < engine->positions.size(); ++i)
            ++engine->positions[i].entry;
        engine->advanceRow(time, 0);
    }
    void tick(int n)
    {
        engine->position().tick = n;
        engine->advanceRow(nullptr, 0);
    }
    std::vector<int> loopedRows(int count)
    {
        std::vector<int> rows;
        for (int i = 0; i < count; ++i) {
            nextRow();
            rows.push_back(engine->position().row);
        }
        return rows;
    }
    int16_t channelPitch(int channel) { return engine->voiceLists[static_cast<size_t>(channel)].head->voice->row.pitch; }

    PlaybackEditor editor;
};

} // namespace

TEST_F(AdvanceRowTest, LoopedPatternWrapsAndFollowsTheBreakRow)
{
    engine->song.patterns[0].setLength(4);
    engine->playPattern(0, 0);
    EXPECT_EQ(loopedRows(6), (std::vector<int>{0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(platform::statusText(), "Playing Looped Pattern (000:001  )");
    EXPECT_EQ(editor.order, -1);
    EXPECT_EQ(editor.pattern, 0);
    EXPECT_EQ(editor.row, 1);

    // C00 goes back to the pattern's start from the row that holds it.
    engine->song.patterns[0].setLength(8);
    setEffect(0, 5, 2, 'C', 0);
    engine->playPattern(0, 0);
    EXPECT_EQ(loopedRows(7), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));

    // A break to a row past the end wraps into the pattern.
    setEffect(0, 5, 2, 'C', 13);
    engine->playPattern(0, 1);
    EXPECT_EQ(loopedRows(4), (std::vector<int>{1, 2, 5, 6}));
}

TEST_F(AdvanceRowTest, LoopedPatternRepeatsItsPatternLoops)
{
    engine->song.patterns[0].setLength(6);
    setEffect(0, 1, 1, 'S', 0xB0);
    setEffect(0, 1, 3, 'S', 0xB2);
    engine->playPattern(0, 0);
    EXPECT_EQ(loopedRows(11), (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 4}));
}

TEST_F(AdvanceRowTest, LoopedPatternTakesTempoAndSpeed)
{
    engine->setSampleRate(44100.0f);
    setEffect(0, 0, 1, '@', 150);
    setEffect(0, 1, 1, 'A', 200);
    engine->playPattern(0, 0);
    nextRow();
    nextRow();
    EXPECT_DOUBLE_EQ(engine->tempo, 150.0);
    EXPECT_DOUBLE_EQ(engine->speed, 100.0);
}

TEST_F(AdvanceRowTest, SongRowsShowWhereTheyPlayAndEndAtTheListsEnd)
{
    ASSERT_TRUE(engine->playSong(-1, 0));
    nextRow();
    EXPECT_EQ(engine->position().row, 0);
    EXPECT_EQ(engine->currentOrder, 0);
    EXPECT_EQ(platform::statusText(), "Playing Song (Order: 0 / Pattern: 000:000  )");
    EXPECT_EQ(editor.order, 0);
    EXPECT_EQ(editor.pattern, 0);

    VstTimeInfo host{};
    host.flags = kVstTransportPlaying;
    engine->song.patterns[0].setLabel("AB");
    nextRow(&host);
    EXPECT_EQ(platform::statusText(), "Playing Song with Host (Order: 0 / Pattern: AB:001  )");

    // Other messages stay until the editor clears them.
    platform::setStatusText("Saving... complete.");
    nextRow();
    EXPECT_EQ(platform::statusText(), "Saving... complete.");

    engine->position().time = engine->songTiming.count;
    nextRow();
    EXPECT_EQ(platform::statusText(), "End of order list.");
    EXPECT_EQ(editor.order, -1);
    EXPECT_TRUE(engine->isPlaying());
    nextRow();
    EXPECT_FALSE(engine->isPlaying());
}

TEST_F(AdvanceRowTest, SongEntryWithoutPatternBeforeAnyPattern)
{
    ASSERT_TRUE(engine->playSong(-1, 0));
    engine->songTiming.entries()[0].order = 40;   // beyond the 32 entries that hold patterns
    nextRow();
    EXPECT_EQ(platform::statusText(), "No entry in order list (Order: 40)");
    EXPECT_EQ(engine->position().pattern, nullptr);
}

TEST_F(AdvanceRowTest, RowsAndTheirFurtherSubrowsReachTheChannels)
{
    cell(0, 2, 0).pitch = 48;
    TesselSubrow later(2);
    later.pitch = 50;
    cell(0, 2, 0).setSubrow(2, later);
    cell(0, 2, 1).pitch = 52;

    ASSERT_TRUE(engine->playSong(-1, 0));
    nextRow();
    EXPECT_EQ(channelPitch(2), 48);
    tick(1);
    EXPECT_EQ(channelPitch(2), 48);
    tick(2);
    EXPECT_EQ(channelPitch(2), 50);
    EXPECT_EQ(engine->tickFlags & 0x100, 0);
    nextRow();
    EXPECT_EQ(channelPitch(2), 52);
    tick(2);   // row 1 has no further subrows
    EXPECT_EQ(channelPitch(2), 52);
}

// Later ticks look at the playing row afresh: what an edit between two ticks
// leaves there is what the next tick plays, and a freed row or track is
// simply nothing to play.
TEST_F(AdvanceRowTest, EditsBetweenTicksReachTheNextTickOfThePlayingRow)
{
    cell(0, 2, 0).pitch = 48;
    cell(0, 2, 5).pitch = 40;   // the track holds more than the playing row
    const auto addSubrow = [this](int tickNumber, int pitch) {
        TesselSubrow later(static_cast<int16_t>(tickNumber));
        later.pitch = static_cast<int16_t>(pitch);
        cell(0, 2, 0).setSubrow(tickNumber, later);
    };
    ASSERT_TRUE(engine->playSong(-1, 0));
    nextRow();
    tick(1);
    EXPECT_EQ(channelPitch(2), 48);

    addSubrow(2, 50);
    tick(2);
    EXPECT_EQ(channelPitch(2), 50);

    addSubrow(3, 51);
    cell(0, 2, 0).removeSubrow(3);
    cell(0, 2, 0).pruneSubrows();
    tick(3);
    EXPECT_EQ(channelPitch(2), 50);

    // The row freed, then made again with a subrow for tick 5.
    TesselTrack& track = engine->song.patterns[0].tracks.getTrack(2);
    track.freeRow(0);
    tick(4);
    EXPECT_EQ(channelPitch(2), 50);
    addSubrow(5, 53);
    tick(5);
    EXPECT_EQ(channelPitch(2), 53);

    // A row left beyond a shortened track, whose length holds nothing, is
    // no row; nor is one whose track went.
    track.setLength(0);
    addSubrow(6, 54);
    tick(6);
    EXPECT_EQ(channelPitch(2), 53);
    engine->song.patterns[0].tracks.clear();
    tick(7);
    EXPECT_EQ(channelPitch(2), 53);
}

TEST_F(AdvanceRowTest, FurtherPositionsPlayTheirCellsFirst)
{
    cell(0, 3, 0).pitch = 40;
    cell(0, 4, 0).pitch = 41;
    cell(7, 3, 0).pitch = 60;
    ASSERT_TRUE(engine->playSong(-1, 0));
    engine->positions.resize(2);
    engine->positions[1].pattern = &engine->song.patterns[7];
    engine->positions[1].entry = -1;
    nextRow();
    EXPECT_EQ(channelPitch(3), 60);
    EXPECT_EQ(channelPitch(4), 41);
    EXPECT_EQ(platform::statusText(), "Playing Song (Order: 0 / Pattern: 000:000  007:000  )");
    EXPECT_EQ(engine->positions[1].row, 0);

    // Past the end of its list a further position starts over.
    engine->positions[1].entry = engine->patternTiming[7]->count - 1;
    nextRow();
    EXPECT_EQ(engine->positions[1].entry, 0);
    EXPECT_EQ(channelPitch(3), 60);
}

TEST_F(AdvanceRowTest, SongTempoChangesApplyAtTheirRowsUnlessTheHostSendsTime)
{
    engine->setSampleRate(44100.0f);
    engine->hostSendsTime = 0;
    setEffect(0, 6, 2, '@', 150);
    ASSERT_TRUE(engine->playSong(-1, 0));
    EXPECT_DOUBLE_EQ(engine->tempo, engine->song.tempo);
    EXPECT_EQ(engine->nextTempoChange, 2);
    nextRow();
    nextRow();
    EXPECT_DOUBLE_EQ(engine->tempo, engine->song.tempo);
    nextRow();
    EXPECT_DOUBLE_EQ(engine->tempo, 150.0);

    // Starting from a later row takes the tempo in force there.
    engine->setTempo(90.0);
    ASSERT_TRUE(engine->playSong(0, 10));
    EXPECT_DOUBLE_EQ(engine->tempo, 150.0);

    engine->hostSendsTime = 1;
    engine->setTempo(90.0);
    ASSERT_TRUE(engine->playSong(0, 10));
    EXPECT_DOUBLE_EQ(engine->tempo, 90.0);   // the host's tempo stays
}

TEST_F(AdvanceRowTest, NothingAdvancesWhileStopped)
{
    cell(0, 2, 0).pitch = 48;
    engine->position().tick = 0;
    engine->advanceRow(nullptr, 0);
    EXPECT_EQ(channelPitch(2), -1);
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_EQ(editor.row, -2);
}

TEST_F(AdvanceRowTest, ThePlayingOrderFollowsTheTimingListAndIsNoneInPitchMode)
{
    TesselOrderList& orders = engine->song.orderList;
    orders.reset();
    orders.entries[0].pattern = 0;
    orders.entries[1].pattern = kOrderSkip;   // passed over
    orders.entries[2].pattern = 1;
    orders.updateLength();
    engine->song.patterns[0].setLength(2);
    engine->song.patterns[1].setLength(2);
    engine->rebuildSongPlaylist(nullptr);
    ASSERT_TRUE(engine->playSong(-1, 0));
    std::vector<int32_t> seen;
    for (int i = 0; i < 4; ++i) {
        nextRow();
        seen.push_back(engine->getPlayingOrder());
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{0, 0, 2, 2}));
    orders.pitchMode = 1;
    EXPECT_EQ(engine->getPlayingOrder(), -1);
    orders.pitchMode = 0;
    EXPECT_EQ(engine->getPlayingOrder(), 2);
}
