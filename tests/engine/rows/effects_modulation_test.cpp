// Waveform tables, vibrato, tremolo and panbrello, the S subcommands and the
// key-map entry's slot.
#include "engine/voice/voice_rig.h"
#include "engine/voice/waveforms.h"

#include <cmath>

using namespace voice_flag;

TEST(Waveforms, FixedValuesOfTheFourTables)
{
    // waveform, position, value
    const int cases[][3] = {
        {0, 137, -4}, {0, 0, 0}, {0, 64, 64}, {0, 16, 24}, {0, 138, -16},
        {0, 192, -64}, {1, 127, 64}, {1, 128, -64}, {2, 0, 64}, {2, 1, 63},
        {2, 190, -31}, {2, 191, -64}, {2, 192, -33}, {2, 254, -64}, {2, 255, 0},
        {3, 0, 64}, {3, 128, -64}, {3, 129, -63}, {3, 255, 63},
    };
    for (const auto& [waveform, position, value] : cases)
        EXPECT_EQ(waveformValue(waveform, static_cast<uint8_t>(position)), value) << waveform << " at " << position;
    // Waveform numbers from outside 0..3 read the nearest table.
    EXPECT_EQ(waveformValue(9, 128), waveformValue(3, 128));
    EXPECT_EQ(waveformValue(-2, 64), waveformValue(0, 64));
}

TEST(EffectModulation, VibratoStepsThroughTheSine)
{
    VoiceRig rig;
    rig.voice->row.pitch = 60;
    rig.row('H', 0x44);   // speed 4, depth 4 x 4
    EXPECT_FLOAT_EQ(rig.slot().vibratoFactor, 1.0f);
    rig.tick();
    // sine[16] = 24; (24 x 16) >> 6 = 6
    EXPECT_NEAR(rig.slot().vibratoFactor, std::pow(2.0, 6.0 / 768.0), 1e-6);
    EXPECT_EQ(rig.slot().vibratoPosition, 32);

    // A row with a note restarts the phase; a G row keeps it.
    rig.row('H', 0);
    EXPECT_EQ(rig.slot().vibratoPosition, 16);
    rig.voice->row.pitch = -1;
    rig.row('U', 0x80);   // speed 8, the depth stays
    EXPECT_EQ(rig.slot().vibratoSpeed, 8);
    EXPECT_EQ(rig.slot().vibratoDepth, 16);
    EXPECT_EQ(rig.slot().vibratoPosition, 48);
}

TEST(EffectModulation, VibratoAppliesToThePitchOnlyUnderItsLetters)
{
    VoiceRig rig;
    rig.row('S', 0x31);   // square
    rig.row('H', 0x4F);   // depth 60
    rig.voice->computeTick();
    EXPECT_NEAR(rig.voice->current.pitch, std::pow(2.0, 60.0 / 768.0), 1e-5);
    rig.row('D', 0x01);
    rig.voice->computeTick();
    EXPECT_FLOAT_EQ(rig.voice->current.pitch, 1.0f);
}

TEST(EffectModulation, TremoloAndTremorInTheEffectiveVolume)
{
    VoiceRig rig;
    rig.voice->setVolume(40);
    rig.row('S', 0x41);
    rig.row('R', 0x18, kPlayback | kNewNote);   // speed 1, depth 16
    rig.voice->computeTick();
    EXPECT_EQ(rig.slot().tremoloValue, 16);
    EXPECT_EQ(rig.voice->effectiveVolume, 56);
    EXPECT_EQ(rig.voice->volume, 40);

    rig.row('I', 0x01);   // on for no tick: off from tick 0
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->effectiveVolume, 0);
}

TEST(EffectModulation, PanbrelloAndSeparationInTheEffectivePanning)
{
    VoiceRig rig;
    rig.voice->panning = 32;
    rig.row('S', 0x51);   // square
    rig.row('Y', 0x14);   // speed 1, depth 8
    rig.voice->separation = 0x1FC;   // low byte -4
    rig.voice->computeTick();
    EXPECT_EQ(rig.slot().panbrelloValue, 8);
    EXPECT_EQ(rig.slot().panbrelloPosition, 1);
    EXPECT_EQ(rig.voice->effectivePanning, 36);
}

TEST(EffectModulation, NewNoteActionsAndEnvelopeSwitches)
{
    VoiceRig rig;
    for (int x = 3; x <= 6; ++x) {
        rig.row('S', 0x70 + x);
        EXPECT_EQ(rig.voice->newNoteAction, x - 3);
    }
    for (int e = 0; e < kEnvelopes; ++e) {
        rig.row('S', 0x78 + 2 * e);
        EXPECT_EQ(rig.voice->envelopes[e].enabled, 1) << e;
        rig.row('S', 0x77 + 2 * e);
        EXPECT_EQ(rig.voice->envelopes[e].enabled, 0) << e;
    }
    rig.row('S', 0x34);   // not a waveform: ignored
    EXPECT_EQ(rig.slot().vibratoWaveform, 0);
}

TEST(EffectModulation, LoopPassesMarkAndReset)
{
    VoiceRig rig;
    rig.row('S', 0xB2);
    EXPECT_EQ(rig.slot().loopPasses, 1);
    EXPECT_EQ(rig.slot().loopMark, 0);
    rig.row('S', 0xB2);
    EXPECT_EQ(rig.slot().loopPasses, 2);
    EXPECT_EQ(rig.slot().loopMark, 6);
    rig.row('S', 0xB2);
    rig.row('S', 0xB2);
    rig.row('S', 0xB2);
    EXPECT_EQ(rig.slot().loopPasses, 5);
    rig.row('S', 0xB2);
    EXPECT_EQ(rig.slot().loopPasses, 6);
    EXPECT_EQ(rig.slot().loopMark, 6);
    rig.row('S', 0xB2);   // the mark equals the passes: both restart
    EXPECT_EQ(rig.slot().loopPasses, 1);
    EXPECT_EQ(rig.slot().loopMark, 0);
}

TEST(EffectModulation, KeyMapSlotRunsOnNewNotesAndWhileCounting)
{
    VoiceRig rig;
    TesselSubrow entry;
    entry.pitch = 60;
    entry.instrument = 1;
    entry.effect.command = 'D';
    entry.effect.parameter = 0x01;
    rig.instrument.keymap.getRow(60).TesselSubrow::assign(entry);
    rig.voice->key = 60;
    rig.voice->row.effect.command = '.';

    rig.row('.', 0);   // no new note, count 0: skipped
    EXPECT_EQ(rig.slot(0).command, '.');
    EXPECT_EQ(rig.voice->volume, 64);
    rig.row('.', 0, kPlayback | kNewNote);
    EXPECT_EQ(rig.slot(0).command, 'D');
    EXPECT_EQ(rig.voice->volume, 63);
    rig.row('.', 0);   // still counting: set up again from the entry
    EXPECT_EQ(rig.voice->volume, 62);

    rig.voice->key = -1;   // no key-map entry: slot 0 never runs
    rig.tick();
    EXPECT_EQ(rig.voice->volume, 62);
}
