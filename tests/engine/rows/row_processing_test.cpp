#include "row_fixture.h"

namespace {

bool active(const TesselVoice& v)
{
    return (v.state() & voice_state::kActive) != 0;
}

bool released(const TesselVoice& v)
{
    return (v.state() & voice_state::kReleased) != 0;
}

} // namespace

TEST_F(RowEngineTest, ANoteStartsItsSampleWithTheKeyMapsPitch)
{
    row(0, note(72, 1));
    const TesselVoice& v = voice(0);
    EXPECT_TRUE(active(v));
    EXPECT_EQ(v.note, 72);
    EXPECT_EQ(v.key, 72);
    EXPECT_EQ(v.sample, &engine->song.samples[0]);
    EXPECT_EQ(v.instrumentNumber, 1);
    EXPECT_STREQ(v.noteText, "C-6");
    EXPECT_EQ(v.velocity, 64);
    EXPECT_NEAR(v.current.pitch, 2.0, 1e-6);
    EXPECT_EQ(v.flags & (voice_flag::kNewNote | voice_flag::kSetup), 0);
    ASSERT_NE(v.events, nullptr);
    EXPECT_GT(v.events->gain0, 0.0f);
}

TEST_F(RowEngineTest, NoteDelayCountsOncePerTick)
{
    // SD3: the note waits through ticks 0..2 and starts on tick 3.
    row(0, note(60, 1, 'S', 0xD3));
    for (int t = 1; t < 3; ++t) {
        EXPECT_FALSE(active(voice(0))) << "tick " << t - 1;
        EXPECT_TRUE(voice(0).state() & voice_state::kDelayed);
        tick(0);
    }
    EXPECT_FALSE(active(voice(0))) << "tick 2";
    tick(0);
    EXPECT_TRUE(active(voice(0))) << "tick 3";
    EXPECT_EQ(voice(0).state() & voice_state::kDelayed, 0);
    EXPECT_EQ(list(0).head->delay, -1);
    EXPECT_EQ(voice(0).note, 60);

    // S00 recalls the remembered D2: the next note starts on tick 2.
    row(0, note(62, 1, 'S', 0xD2));
    tick(0);
    tick(0);
    EXPECT_EQ(voice(0).note, 62);
    row(0, note(64, 1, 'S', 0x00));
    EXPECT_EQ(voice(0).note, 62);
    tick(0);
    EXPECT_EQ(voice(0).note, 62);
    tick(0);
    EXPECT_EQ(voice(0).note, 64);

    // SD0 plays on tick 0.
    row(0, note(67, 1, 'S', 0xD0));
    EXPECT_EQ(voice(0).note, 67);
}

TEST_F(RowEngineTest, ADelayLongerThanTheRowGivesWayToTheNextRow)
{
    row(0, note(60, 1));
    row(0, note(62, 1, 'S', 0xDF));
    tick(0);
    tick(0);
    EXPECT_EQ(voice(0).note, 60);
    row(0, note(65, 1));
    EXPECT_EQ(voice(0).note, 65) << "the new row plays on tick 0";
    EXPECT_EQ(list(0).head->delay, -1);
    for (int t = 0; t < 20; ++t)
        tick(0);
    EXPECT_EQ(voice(0).note, 65) << "the dropped note never plays";
}

TEST_F(RowEngineTest, PortamentoKeepsTheVoiceOfTheSameInstrument)
{
    row(0, note(60, 1));
    TesselVoice* before = &voice(0);
    row(0, note(72, 1, 'G', 0x20));
    EXPECT_EQ(&voice(0), before);
    EXPECT_EQ(chainLength(0), 1) << "no past note";
    EXPECT_EQ(voice(0).note, 60) << "the note glides instead of restarting";
    EXPECT_EQ(liveChannels()[0].effectSlots[1].portamentoTarget, 72);
    const float pitch = voice(0).pitchFactor;
    tick(0);
    EXPECT_GT(voice(0).pitchFactor, pitch);

    // L (volume slide and portamento) with no instrument keeps the voice too.
    row(0, note(74, 0, 'L', 0x01));
    EXPECT_EQ(chainLength(0), 1);
    EXPECT_EQ(voice(0).instrumentNumber, 1);
}

TEST_F(RowEngineTest, PortamentoWithAnotherInstrumentRestartsAndKeepsThePastNote)
{
    instrument(1).newNoteAction = 2;   // note off
    row(0, note(60, 1));
    row(0, note(64, 2, 'G', 0x20));
    ASSERT_EQ(chainLength(0), 2);
    const TesselVoice& past = voice(0, 1);
    EXPECT_EQ(past.instrumentNumber, 1);
    EXPECT_EQ(past.note, 60);
    EXPECT_TRUE(released(past));
    EXPECT_EQ(voice(0).instrumentNumber, 2);
    EXPECT_EQ(voice(0).sample, &engine->song.samples[1]);
    EXPECT_TRUE(active(voice(0)));
    EXPECT_FALSE(released(voice(0)));
}

TEST_F(RowEngineTest, CutAndOffRowsSetTheNoteTextAndDoNotRestart)
{
    row(0, note(60, 1));
    row(0, note(254, 1));
    EXPECT_STREQ(voice(0).noteText, "^^^");
    EXPECT_TRUE(released(voice(0)));
    EXPECT_EQ(voice(0).volume, 0);
    EXPECT_EQ(chainLength(0), 1) << "a cut leaves no past note";

    row(0, note(60, 1));
    EXPECT_FALSE(released(voice(0)));
    row(0, note(255, 0));
    EXPECT_STREQ(voice(0).noteText, "===");
    EXPECT_TRUE(released(voice(0)));
    EXPECT_EQ(voice(0).sustainState, 3);
}

TEST_F(RowEngineTest, NewNoteActionsLeavePastNotesThatS7xReaches)
{
    instrument(1).newNoteAction = 1;   // continue
    row(0, note(60, 1));
    row(0, note(64, 1));
    row(0, note(67, 1));
    ASSERT_EQ(chainLength(0), 3);
    EXPECT_EQ(voice(0, 1).note, 64) << "the newest past note comes second";
    EXPECT_EQ(voice(0, 2).note, 60);
    EXPECT_FALSE(released(voice(0, 1)));

    // S71: note off to every past note; the row's own note is not touched.
    row(0, note(-1, 0, 'S', 0x71));
    EXPECT_TRUE(released(voice(0, 1)));
    EXPECT_TRUE(released(voice(0, 2)));
    EXPECT_STREQ(voice(0, 1).noteText, "===");
    EXPECT_FALSE(released(voice(0)));

    // S70 cuts without writing the cut text.
    row(0, note(-1, 0, 'S', 0x70));
    EXPECT_STREQ(voice(0, 1).noteText, "===");
}

TEST_F(RowEngineTest, FadeActionStartsThePastNotesFade)
{
    instrument(1).newNoteAction = 3;   // fade
    instrument(1).fadeOut = 64;
    row(0, note(60, 1));
    row(0, note(64, 1));
    ASSERT_EQ(chainLength(0), 2);
    EXPECT_EQ(voice(0, 1).fade, 1024 - 64) << "the fade starts and takes its first tick";
    EXPECT_EQ(voice(0, 1).newNoteAction, 3);
}

TEST_F(RowEngineTest, DuplicateCheckActsOnPastNotesOfTheSameInstrument)
{
    TesselInstrument& ins = instrument(1);
    ins.newNoteAction = 1;
    ins.duplicateCheckType = 1;   // same note
    ins.duplicateAction = 0;      // cut
    row(0, note(60, 1));
    row(0, note(64, 1));
    row(0, note(60, 1));
    ASSERT_EQ(chainLength(0), 3);
    EXPECT_STREQ(voice(0, 2).noteText, "^^^") << "the old 60 is cut";
    EXPECT_TRUE(released(voice(0, 2)));
    EXPECT_FALSE(released(voice(0, 1))) << "64 is another note";

    // Same sample: both keys map to sample 1, so 64 goes with a note off.
    ins.duplicateCheckType = 2;
    ins.duplicateAction = 1;
    row(0, note(62, 1));
    EXPECT_TRUE(released(voice(0, 2)));
    EXPECT_STREQ(voice(0, 2).noteText, "===");
}

TEST_F(RowEngineTest, EnvelopeCarryFollowsTheSameInstrument)
{
    TesselInstrument& ins = instrument(1);
    ins.newNoteAction = 1;
    TesselEnvelope& env = ins.volumeEnvelope();
    env.enabled = TesselEnvelope::Ticks;
    env.nodeCount = 2;
    env.node(0) = {};
    env.node(1).tick = 100;
    env.node(1).value = env.node(1).value2 = 64;
    env.computeSlopes();
    env.carry = 1;
    row(0, note(60, 1));
    for (int t = 0; t < 5; ++t)
        tick(0);
    const uint16_t position = voice(0).envelopes[kVolumeEnvelope].position;
    row(0, note(64, 1));
    EXPECT_EQ(voice(0).envelopes[kVolumeEnvelope].position, position + 1) << "carried, then one tick on";
}

TEST_F(RowEngineTest, OutOfRangeNotesAndNumbersStayInsideTheTables)
{
    // Keys 120..127 have no key-map row and no regions; notes above 127 no key.
    row(0, note(125, 1));
    EXPECT_EQ(voice(0).key, 125);
    EXPECT_EQ(voice(0).sample, nullptr);
    EXPECT_FALSE(active(voice(0)));
    row(0, note(200, 1));
    EXPECT_EQ(voice(0).key, -1);
    EXPECT_FALSE(active(voice(0)));
    row(0, note(60, 150));
    EXPECT_EQ(voice(0).instrument, nullptr);
    row(0, note(60, -3));
    EXPECT_EQ(voice(0).instrument, nullptr);

    // A key-map entry may name any pitch up to 253 and any sample number.
    instrument(1).keymap.getRow(61).pitch = 253;
    instrument(1).keymap.getRow(62).instrument = 300;
    row(0, note(61, 1));
    EXPECT_EQ(static_cast<uint8_t>(voice(0).note), 253);
    row(0, note(62, 1));
    EXPECT_EQ(voice(0).sample, nullptr);
}

TEST_F(RowEngineTest, VelocityRegionsChooseTheSampleOfAKeyWithoutOne)
{
    TesselKeymap& map = instrument(1).keymap;
    map.getRow(60).instrument = 0;
    map.regionsOf(60).insert({0, 40, 1});
    map.regionsOf(60).insert({41, 127, 2});
    TesselSubrow soft = note(60, 1);
    soft.volume = 20;
    row(0, soft);
    EXPECT_EQ(voice(0).sample, &engine->song.samples[0]);
    row(0, note(60, 1));   // velocity 64
    EXPECT_EQ(voice(0).sample, &engine->song.samples[1]);
}
