// Erasing the song for the editor's "New" command.
#include "engine/transport_fixture.h"

#include "engine/midi/midi_out.h"
#include "engine/song_lock_holder.h"

namespace {

class NewSongTest : public TransportTest {
protected:
    // A song that has been worked on: saved once, edited, playing.
    void workOnTheSong()
    {
        TesselModule& song = engine->song;
        song.songPath = "/music/tune.zip";
        std::snprintf(song.text, sizeof song.text, "%s", "tune");
        song.patterns[0].setLength(32);
        song.patterns[0].tracks.getTrack(0).getRow(0).effect.command = 'A';
        song.outputBus.setName("Strings");
        song.outputBus.type = 1;
        engine->rebuildPatternPlaylists(false);
        ASSERT_EQ(engine->patternTiming[0]->count, 32);
        engine->heldNotes[3][60] = 2;
        engine->currentOrder = 5;
        ASSERT_TRUE(engine->playSong(-1, 0));
        engine->preferences.defaultTempo = 140.0;
        engine->preferences.defaultRowsPerBeat = 8;
        actions().clear();
    }
};

} // namespace

TEST_F(NewSongTest, ErasesThePlayingSongToThePreferredDefaults)
{
    workOnTheSong();
    ASSERT_TRUE(engine->newSong());
    const TesselModule& song = engine->song;

    EXPECT_TRUE(logged(kActStopNow, 0));
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_TRUE(song.songPath.empty());
    EXPECT_STREQ(song.text, "");
    EXPECT_DOUBLE_EQ(song.tempo, 140.0);
    EXPECT_DOUBLE_EQ(engine->tempo, 140.0);
    EXPECT_EQ(song.rowsPerQuarter, 8);
    EXPECT_TRUE(song.patterns[0].tracks.isEmpty());
    EXPECT_EQ(song.patterns[0].length(), 128);
    EXPECT_TRUE(song.orderList.isEmpty());
    EXPECT_TRUE(song.outputBus.isDefault());
    EXPECT_EQ(engine->output.channels, 2);
    // The timing lists follow the new pattern length of 16 x 8 rows.
    EXPECT_EQ(engine->patternTiming[0]->count, 128);
    EXPECT_EQ(engine->heldNotes[3][60], 0);
    EXPECT_EQ(engine->currentOrder, 0);
    EXPECT_EQ(engine->positions.size(), 1u);
    EXPECT_EQ(engine->position().entry, -1);
    for (const TesselChannel& channel : song.channels)
        EXPECT_EQ(channel.midiOut, engine->midiOut);
    for (const TesselInstrument& instrument : song.instruments)
        EXPECT_EQ(instrument.midiPortNumber, 0);   // the host's entry
}

TEST_F(NewSongTest, WithoutTheSongLockItStopsButErasesNothing)
{
    workOnTheSong();
    {
        SongLockHolder holder;
        EXPECT_FALSE(engine->newSong());
    }
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(engine->song.songPath, "/music/tune.zip");
    EXPECT_STREQ(engine->song.text, "tune");
    EXPECT_EQ(engine->patternTiming[0]->count, 32);
}
