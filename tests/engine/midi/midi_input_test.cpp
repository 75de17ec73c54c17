// MIDI notes from the host into the pattern editor's pattern: modes 1 and
// 2, the volume from the velocity, note-offs and their counters, the note
// delay while following playback, and what the editor is asked to do.
#include "engine/block_fixture.h"
#include "support/lock_held_elsewhere.h"

#include "model/model_globals.h"


namespace {

class MidiInputTest : public BlockTest {
protected:
    void SetUp() override
    {
        BlockTest::SetUp();
        editor.entry.channel = 10;
        editor.entry.row = 4;
        editor.entry.rowStep = 2;
        editor.entry.instrument = 3;
    }

    void send(std::initializer_list<std::array<int, 3>> events)
    {
        block_test::MidiList list;
        for (const auto& e : events)
            list.add(e[0], e[1], e[2]);
        engine->processMidiInput(list.get());
    }
    // As the editor sees the cell after its idle pass has written the notes.
    const TesselRow* cell(int channel, int row)
    {
        engine->enterMidiCells();
        const TesselTrack* track = engine->song.patterns[0].tracks.trackAt(channel);
        return track ? track->rowAt(row) : nullptr;
    }
    int32_t held(int channel) const { return engine->midiInSlots[static_cast<size_t>(channel)].count; }
};

} // namespace

TEST_F(MidiInputTest, SpreadModeTakesTheFirstFreeChannelFromTheCursor)
{
    engine->preferences.midiInMode = kMidiInSpread;
    send({{{0x90, 60, 100}}, {{0x90, 64, 100}}, {{0x90, 67, 100}}});
    ASSERT_NE(cell(10, 4), nullptr);
    EXPECT_EQ(cell(10, 4)->pitch, 60);
    EXPECT_EQ(cell(11, 4)->pitch, 64);
    EXPECT_EQ(cell(12, 4)->pitch, 67);
    EXPECT_EQ(cell(12, 4)->instrument, 0);   // the page does not enter instruments
    EXPECT_EQ(engine->midiNoteChannel[67], 12);
    EXPECT_EQ(held(10) + held(11) + held(12), 3);

    // Releasing the middle key frees its channel for the next note.
    send({{{0x80, 64, 0}}, {{0x90, 72, 90}}});
    EXPECT_EQ(cell(11, 4)->pitch, 72);
    EXPECT_EQ(engine->midiInSlots[11].lastNote, 72);

    const auto asked = engine->midiInputRequests.take();
    EXPECT_EQ(asked.cursorSteps, 0);   // no step after a chord unless the page asks
    EXPECT_EQ(asked.redrawChannels, (uint64_t{1} << 10) | (uint64_t{1} << 11) | (uint64_t{1} << 12));
    EXPECT_EQ(asked.lastNote, 72);
}

TEST_F(MidiInputTest, SpreadModeWithEveryChannelHeldStaysOnTheCursorChannel)
{
    engine->preferences.midiInMode = kMidiInSpread;
    for (int c = 10; c < 64; ++c)
        engine->midiInSlots[static_cast<size_t>(c)].count = 1;
    editor.entry.stepAfterChord = true;
    send({{{0x90, 50, 100}}});
    EXPECT_EQ(cell(10, 4)->pitch, 50);
    EXPECT_EQ(held(10), 2);
    EXPECT_EQ(engine->midiInputRequests.take().cursorSteps, 1);
}

TEST_F(MidiInputTest, OneChannelModeStepsTheCursorAfterEachNote)
{
    engine->preferences.midiInMode = kMidiInOneChannel;
    editor.entry.enterVolume = true;
    editor.entry.enterInstrument = true;
    editor.entry.panning = 20;
    send({{{0x90, 60, 127}}, {{0x91, 62, 1}}});
    ASSERT_NE(cell(10, 4), nullptr);
    EXPECT_EQ(cell(10, 4)->pitch, 60);
    EXPECT_EQ(cell(10, 4)->volume, 64);
    EXPECT_EQ(cell(10, 4)->instrument, 3);
    EXPECT_EQ(cell(10, 4)->panning, 20);
    // The second note of the list goes where the first step takes the cursor.
    ASSERT_NE(cell(10, 6), nullptr);
    EXPECT_EQ(cell(10, 6)->pitch, 62);
    EXPECT_EQ(cell(10, 6)->volume, 1);
    EXPECT_EQ(engine->midiInSlots[10].lastVolume, 1);
    EXPECT_EQ(cell(11, 4), nullptr);
    EXPECT_EQ(engine->midiInputRequests.take().cursorSteps, 2);
}

TEST_F(MidiInputTest, AVelocityZeroNoteOnIsANoteOffAndCountsStayAtZero)
{
    engine->preferences.midiInMode = kMidiInSpread;
    send({{{0x90, 60, 100}}});
    EXPECT_EQ(held(10), 1);
    send({{{0x90, 60, 0}}});
    EXPECT_EQ(held(10), 0);
    // Mended: a note-off without its note-on drove the count negative, and the
    // channel then never looked free again.
    send({{{0x80, 60, 0}}, {{0x80, 60, 0}}});
    EXPECT_EQ(held(10), 0);
    send({{{0x90, 61, 100}}});
    EXPECT_EQ(cell(10, 4)->pitch, 61);
}

TEST_F(MidiInputTest, FollowingPlaybackTheNoteIsDelayedToItsTick)
{
    engine->preferences.midiInMode = kMidiInOneChannel;
    engine->preferences.followPattern = 1;
    editor.entry.enterLetter = true;
    editor.entry.enterParameter = true;
    editor.entry.letter = 'A';
    editor.entry.parameter = 0x11;
    engine->transport = kPlayingSong;
    engine->position().ticks = 3.4;
    send({{{0x90, 60, 100}}});
    EXPECT_EQ(cell(10, 4)->effect.command, 'S');
    EXPECT_EQ(cell(10, 4)->effect.parameter, 0xD3);
    EXPECT_EQ(engine->midiInputRequests.take().cursorSteps, 0);

    // On the row's first tick there is nothing to delay.
    engine->position().ticks = 0.5;
    send({{{0x90, 62, 100}}});
    EXPECT_EQ(cell(10, 4)->effect.command, 'A');
    EXPECT_EQ(cell(10, 4)->effect.parameter, 0x11);
    engine->transport = kStoppedCut;
}

TEST_F(MidiInputTest, EventsAreDroppedUnlessTheyAreNotesForTheShownPage)
{
    engine->preferences.midiInMode = kMidiInSpread;
    editor.entry.isCurrentPage = false;
    send({{{0x90, 60, 100}}});
    editor.entry.isCurrentPage = true;
    editor.entry.wantsKeys = true;
    send({{{0x90, 60, 100}}});
    editor.entry.wantsKeys = false;
    engine->preferences.midiInMode = kMidiInOff;
    send({{{0x90, 60, 100}}});
    engine->preferences.midiInMode = kMidiInSpread;
    editor.hasPage = false;
    send({{{0x90, 60, 100}}});
    editor.hasPage = true;
    editor.pattern = 250;
    send({{{0x90, 60, 100}}});
    editor.pattern = 0;
    // Notes above B-9 have no place in a pattern.
    send({{{0x90, 125, 100}}});
    EXPECT_EQ(cell(10, 4), nullptr);
    EXPECT_EQ(held(10), 0);

    // A sysex event in the list is skipped, the note after it entered.
    block_test::MidiList list;
    list.add(0x90, 60, 100);
    list.events[0].type = kVstSysExType;
    list.add(0x90, 48, 100);
    engine->processMidiInput(list.get());
    EXPECT_EQ(cell(10, 4)->pitch, 48);
    engine->processMidiInput(nullptr);
}

// The audio thread never writes the song: the cell waits for the editor's
// thread (whose drawing then never meets a half-written cell), and a song
// loaded in between takes none of it.
TEST_F(MidiInputTest, CellsAreWrittenOnTheEditorsPassOnly)
{
    engine->preferences.midiInMode = kMidiInSpread;
    editor.entry.enterInstrument = true;
    send({{{0x90, 60, 100}}});
    const TesselTrack* track = engine->song.patterns[0].tracks.trackAt(10);
    EXPECT_TRUE(!track || !track->rowAt(4));
    ASSERT_NE(cell(10, 4), nullptr);
    EXPECT_EQ(cell(10, 4)->pitch, 60);
    EXPECT_EQ(cell(10, 4)->instrument, 3);

    send({{{0x80, 60, 0}}, {{0x90, 62, 100}}});
    songCounter().fetch_add(1);   // what a load does under the song lock
    EXPECT_EQ(cell(10, 4)->pitch, 60);
}

TEST_F(MidiInputTest, WhileTheSongIsLockedElsewhereNothingIsWritten)
{
    engine->preferences.midiInMode = kMidiInSpread;
    {
        LockHeldElsewhere holder(engine->song.songLock());
        send({{{0x90, 60, 100}}});
    }
    EXPECT_EQ(cell(10, 4), nullptr);
    EXPECT_EQ(this->held(10), 0);
}
