#include "engine/midi/fake_midi.h"
#include "engine/rows/row_fixture.h"
#include "song_lock_holder.h"

#include "engine/voice/voice_midi.h"

#include <cmath>

namespace {

bool released(const TesselVoice& v)
{
    return (v.state() & voice_state::kReleased) != 0;
}

float peak(const TesselBusBuffer& out, int frames)
{
    float p = 0.0f;
    for (int c = 0; c < 2; ++c)
        for (int f = 0; f < frames; ++f)
            p = std::max(p, std::fabs(out.channel[c][f]));
    return p;
}

} // namespace

TEST_F(RowEngineTest, PlayNoteIsHeardInTheNextBlock)
{
    ASSERT_TRUE(engine->playNote(note(60, 1), 5));
    EXPECT_EQ(engine->transport, kStoppedReleased) << "a stopped engine renders the note's release";
    ASSERT_EQ(actions().size(), 1u);
    EXPECT_EQ(actions()[0].first, kActPlayNote);
    EXPECT_EQ(actions()[0].second, ((0 * 256 + 60) * 256 + 1) * 256 + '.');

    constexpr int kBlock = 512;
    engine->output.frames = kBlock;
    engine->output.silence();
    TesselEngine::renderVoices(engine->voiceLists, engine->output, kBlock);
    // Level 0.25 at 16 bits, centre panning: far above silence, below full scale.
    EXPECT_GT(peak(engine->output, kBlock), 1e-6f);
    EXPECT_NEAR(engine->output.channel[0][kBlock - 1], engine->output.channel[1][kBlock - 1], 1e-6f);
}

TEST_F(RowEngineTest, APastNoteSoundsBesideTheNewOne)
{
    constexpr int kBlock = 256;
    auto render = [&] {
        engine->output.frames = kBlock;
        engine->output.silence();
        TesselEngine::renderVoices(engine->voiceLists, engine->output, kBlock);
        return engine->output.channel[0][kBlock - 1];
    };
    instrument(1).newNoteAction = 1;   // continue
    ASSERT_TRUE(engine->playNote(note(60, 1), 0));
    const float one = render();
    ASSERT_TRUE(engine->playNote(note(64, 1), 0));
    EXPECT_EQ(chainLength(0), 2);
    EXPECT_NEAR(render(), 2.0f * one, 1e-5f) << "both notes at the same level";
}

TEST_F(RowEngineTest, PlayNoteTakesTheSongsChannelWhileStopped)
{
    engine->song.channels[2].volume = 17;
    engine->song.channels[2].panning = 5;
    ASSERT_TRUE(engine->playNote(note(60, 1), 2));
    EXPECT_EQ(liveChannels()[2].volume, 17);
    EXPECT_EQ(voice(2).panning, 5);
    EXPECT_EQ(voice(2).channelSettings, &engine->song.channels[2]);

    engine->transport = kPlayingSong;
    engine->song.channels[2].volume = 30;
    ASSERT_TRUE(engine->playNote(note(62, 1), 2));
    EXPECT_EQ(liveChannels()[2].volume, 17) << "playback keeps its live record";
    engine->transport = kStoppedCut;
}

TEST_F(RowEngineTest, AHeldNoteMovesFromChannelOneToThree)
{
    ASSERT_TRUE(engine->playNote(note(60, 1), 1));
    EXPECT_EQ(engine->heldNotes[1][60], 2);
    EXPECT_FALSE(released(voice(1)));

    ASSERT_TRUE(engine->playNote(note(60, 1), 3));
    EXPECT_TRUE(released(voice(1))) << "channel 1's voice got its release";
    EXPECT_EQ(engine->heldNotes[1][60], 4);
    EXPECT_FALSE(released(voice(3)));
}

TEST_F(RowEngineTest, CutAndOffNotesEndTheAuditionedNote)
{
    ASSERT_TRUE(engine->playNote(note(60, 1), 0));
    ASSERT_TRUE(engine->playNote(note(254, 1), 0));
    EXPECT_STREQ(voice(0).noteText, "^^^");
    EXPECT_TRUE(released(voice(0)));
    EXPECT_EQ(voice(0).current.gain0, 0.0f);

    ASSERT_TRUE(engine->playNote(note(64, 1), 0));
    ASSERT_TRUE(engine->playNote(note(255, 1), 0));
    EXPECT_STREQ(voice(0).noteText, "===");
    EXPECT_TRUE(released(voice(0)));
}

TEST_F(RowEngineTest, AuditionsKeepTheHeldNoteTableInRange)
{
    EXPECT_TRUE(engine->playNote(note(253, 1), 0));
    EXPECT_TRUE(engine->playNote(note(119, 99), 0));
    EXPECT_TRUE(engine->playNote(note(60, 150), 0));
    EXPECT_TRUE(engine->playNote(note(60, 0), 0));
    EXPECT_TRUE(engine->playNote(note(-5, 1), 0));
    EXPECT_EQ(engine->heldNotes[99][119], 1);
    EXPECT_EQ(engine->heldNotes[0][60], 1);
    EXPECT_FALSE(engine->playNote(note(60, 1), 65));
    EXPECT_FALSE(engine->playNote(note(60, 1), -1));
}

TEST_F(RowEngineTest, PreviewNotePlaysTheGivenModuleOnThePreviewChannel)
{
    auto browsed = std::make_unique<TesselModule>();
    fillSample(browsed->samples[0], 0.5f);
    ASSERT_TRUE(engine->previewNote(note(60, 1), browsed.get()));
    EXPECT_EQ(voice(64).sample, &browsed->samples[0]);
    EXPECT_EQ(voice(64).instrument, &browsed->instruments[0]);
    EXPECT_EQ(voice(64).liveChannel, &liveChannels()[64]);
    EXPECT_EQ(voice(64).channelSettings, &liveChannels()[64]);
    EXPECT_EQ(engine->heldNotes[0][60], 65);

    ASSERT_TRUE(engine->previewNote(note(60, 1), nullptr));
    EXPECT_EQ(voice(64).sample, &engine->song.samples[0]);
    EXPECT_EQ(engine->heldNotes[0][60], 65);
}

TEST_F(RowEngineTest, PlayRowPlaysEveryTrackOfTheRowThatHasOne)
{
    TesselPattern& p = engine->song.patterns[3];
    auto cell = [&](int track, int row) -> TesselSubrow& { return p.tracks.getTrack(track).getRow(row); };
    cell(0, 5).assign(note(60, 1));
    cell(2, 5).assign(note(64, 2));
    p.tracks.getTrack(2).getRow(5).setSubrow(1, note(67, 2));
    cell(4, 6).assign(note(67, 1));

    ASSERT_TRUE(engine->playRow(3, 5));
    EXPECT_STREQ(platform::statusText().c_str(), "Playing (Row: 5 / Pattern: 3)");
    EXPECT_TRUE(voice(0).state() & voice_state::kActive);
    EXPECT_EQ(voice(2).note, 64) << "further subrows are not played";
    EXPECT_EQ(voice(2).subrowIndex, 5);
    for (int c : {1, 3, 4})
        EXPECT_EQ(voice(c).state(), voice_state::kIdle) << c;
    EXPECT_EQ(engine->heldNotes[1][60], 0);
    EXPECT_EQ(engine->transport, kStoppedReleased);

    actions().clear();
    ASSERT_TRUE(engine->playRow(3, 7));   // nothing on that row
    ASSERT_EQ(actions().size(), 1u);
    EXPECT_EQ(actions()[0].first, kActPlayRow);
    EXPECT_EQ(actions()[0].second, 7 + 3 * 65536);
    EXPECT_FALSE(engine->playRow(200, 0));
}

TEST_F(RowEngineTest, AContinuingMidiVoiceStillEndsItsNote)
{
    gMidiSuppressed = 0;
    MidiRig rig;
    engine->song.channels[0].midiOut = rig.out.get();
    TesselInstrument& ins = instrument(1);
    ins.midiOut = 1;
    ins.midiPortNumber = 0;
    ins.newNoteAction = 1;   // continue

    ASSERT_TRUE(engine->playNote(note(60, 1), 0));
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 1);
    ASSERT_TRUE(engine->playNote(note(64, 1), 0));
    EXPECT_EQ(chainLength(0), 1) << "the old MIDI voice is dropped, not kept";
    EXPECT_EQ(rig.out->portState(0).noteOn[0][60], 0) << "but its note got its note off";
    EXPECT_EQ(rig.out->portState(0).noteOn[0][64], 1);

    rig.out->processBlock(false);
    ASSERT_FALSE(rig.host.blocks.empty());
    bool off60 = false;
    for (const HostEvent& e : rig.host.blocks[0])
        off60 = off60 || (e.status == 0x80 && e.data1 == 60);
    EXPECT_TRUE(off60);
    engine->song.channels[0].midiOut = nullptr;
    liveChannels()[0].midiOut = nullptr;
}

TEST_F(RowEngineTest, AnAuditionThatCannotHaveTheSongLockDoesNothing)
{
    {
        SongLockHolder holder;
        EXPECT_FALSE(engine->playNote(note(60, 1), 0));
        EXPECT_FALSE(engine->playRow(0, 0));
    }
    EXPECT_TRUE(actions().empty());
    EXPECT_EQ(engine->heldNotes[1][60], 0);
    EXPECT_EQ(engine->transport, kStoppedCut);
    EXPECT_EQ(voice(0).state(), voice_state::kIdle);
}
