// The audio block allocates nothing: this test binary's operator new counts
// the allocations made on a thread while it is being watched.
#include "allocation_watch.h"
#include "block_fixture.h"

TEST(AllocationWatchTest, TheWatchSeesAnAllocation)
{
    AllocationWatch watch;
    auto* p = new int(3);
    EXPECT_EQ(watch.count(), 1);
    delete p;
}

// Sixteen channels of notes every other row with slides, vibrato, a note
// delay, cuts and offs, past notes that keep sounding; a host that plays,
// loops and changes its tempo.
TEST_F(BlockTest, ABusySongAllocatesNothingAfterTheFirstBlock)
{
    addInstrument(60000);
    TesselInstrument& instrument = engine->song.instruments[0];
    instrument.newNoteAction = 3;   // fade: earlier notes stay as past notes
    const char letters[] = {'D', 'H', 'E', 'F', 'R', 'Y', 'S', '.'};
    for (int c = 0; c < 16; ++c)
        for (int row = c % 2; row < 32; row += 2) {
            addNote(c, row, 36 + (c * 5 + row) % 48);
            TesselRow& cell = engine->song.patterns[0].tracks.getTrack(c).getRow(row);
            cell.effect.command = letters[(c + row) % 8];
            cell.effect.parameter = cell.effect.command == 'S' ? 0xD2 : 0x34;
            if (row % 8 == 6)
                cell.pitch = row % 16 == 6 ? 254 : 255;
        }
    engine->rebuildSongPlaylist(nullptr, true);
    engine->hostSendsTime = 1;
    plugin.play(125.0, 44100.0);
    plugin.time.flags |= kVstTransportCycleActive | kVstCyclePosValid;
    plugin.time.cycleStartPos = 1.0;
    plugin.time.cycleEndPos = 5.0;
    ASSERT_TRUE(engine->process(512));
    plugin.advance(512);
    ASSERT_EQ(engine->transport, kPlayingSong);

    long allocations = 0;
    int voices = 0;
    for (int block = 0; block < 400; ++block) {
        if (block == 200)
            plugin.time.tempo = 131.0;
        {
            AllocationWatch watch;
            ASSERT_TRUE(engine->process(block % 3 == 0 ? 1000 : 512));
            allocations += watch.count();
        }
        plugin.advance(block % 3 == 0 ? 1000 : 512);
        int sounding = 0;
        for (const TesselChannelVoiceList& list : engine->voiceLists)
            for (TesselVoiceListNode* node = list.head; node; node = node->next)
                sounding += node->voice && node->voice->state() != voice_state::kIdle;
        voices = std::max(voices, sounding);
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GE(voices, 16);   // the song was busy
}
