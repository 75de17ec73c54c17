// A new note taken through the row's steps (defaults, note start, effect
// set-up) and its ticks, down to the gains the mixer ramps to.
#include "engine/random.h"
#include "voice_rig.h"

using namespace voice_flag;

namespace {

void nextTick(VoiceRig& rig)
{
    rig.tick();
    rig.voice->computeTick();
}

// The voice row step as row processing runs it for a new note with a new
// instrument and pitch, followed by the tick update of tick 0.
void startRow(VoiceRig& rig, TesselRandom& random, char letter, int parameter)
{
    TesselVoice& v = *rig.voice;
    v.row.pitch = static_cast<int16_t>(v.note);
    v.row.effect.command = letter;
    v.row.effect.parameter = static_cast<int16_t>(parameter);
    v.flags = kPlayback | kNewNote | kNewPitch | kNewInstrument | kSetup;
    v.takePitchDefaults();
    v.takeInstrumentDefaults();
    v.setState(voice_state::kActive | voice_state::kSample);
    v.startNote();
    v.takeNoteDefaults(random);
    v.takeSeparation();
    v.runEffectSlots();
    v.flags &= static_cast<uint16_t>(~(kNewNote | kSetup));
    rig.rowFlags = v.flags;
    nextTick(rig);
}

} // namespace

TEST(VoiceRow, NewNoteSlidesAndFollowsItsEnvelopeIntoTheGains)
{
    VoiceRig rig;
    TesselRandom random;
    rig.sample.defaultVolume = 48;
    rig.live.panning = 0;
    rig.live.depth = 32;
    TesselEnvelope& env = rig.instrument.volumeEnvelope();
    setEnvelopeNodes(env, {{0, 64}, {2, 32}, {10, 32}});
    env.sustain.type = 1;   // held on the flat part
    env.sustain.begin = 1;
    env.sustain.end = 2;
    rig.voice->note = 72;
    rig.voice->key = 72;

    startRow(rig, random, 'D', 0x04);
    const TesselVoice& v = *rig.voice;
    EXPECT_STREQ(v.noteText, "C-6");
    EXPECT_NEAR(v.current.pitch, 2.0, 1e-6);
    EXPECT_EQ(v.volume, 44);   // the slide acts on tick 0 in playback
    EXPECT_EQ(v.volumeProduct, ((64 * 64 * 64) >> 6) * 64 * 44 >> 6);
    EXPECT_FLOAT_EQ(v.current.gain0, static_cast<float>(v.volumeProduct) * 64.0f / 16777216.0f);
    EXPECT_FLOAT_EQ(v.ramp[1], v.current.gain0);

    nextTick(rig);
    EXPECT_EQ(v.volume, 40);
    EXPECT_FLOAT_EQ(v.envelopes[kVolumeEnvelope].value, 48.0f);
    nextTick(rig);
    nextTick(rig);
    EXPECT_EQ(v.volume, 32);
    EXPECT_FLOAT_EQ(v.envelopes[kVolumeEnvelope].value, 32.0f);
    EXPECT_EQ(v.volumeProduct, ((32 * 64 * 64) >> 6) * 64 * 32 >> 6);
    EXPECT_EQ(v.state() & voice_state::kReleased, 0);
}

TEST(VoiceRow, NoteOffRunsTheEnvelopeToItsEndAndThenFades)
{
    VoiceRig rig;
    TesselRandom random;
    rig.instrument.fadeOut = 512;
    TesselEnvelope& env = rig.instrument.volumeEnvelope();
    setEnvelopeNodes(env, {{0, 64}, {3, 16}});
    env.sustain.type = 1;
    env.sustain.begin = 0;
    env.sustain.end = 0;
    rig.voice->key = 60;
    startRow(rig, random, '.', 0);
    nextTick(rig);
    EXPECT_FLOAT_EQ(rig.voice->envelopes[kVolumeEnvelope].value, 64.0f);   // held on node 0

    rig.voice->noteOff();
    EXPECT_EQ(rig.voice->fade, -1);   // the envelope's end starts the fade
    nextTick(rig);
    EXPECT_FLOAT_EQ(rig.voice->envelopes[kVolumeEnvelope].value, 48.0f);
    EXPECT_EQ(rig.voice->fade, -1);
    nextTick(rig);   // position 2 = last - 1: ended, the fade starts and takes its first step
    EXPECT_EQ(rig.voice->envelopes[kVolumeEnvelope].running, 0);
    EXPECT_FLOAT_EQ(rig.voice->envelopes[kVolumeEnvelope].value, 16.0f);
    EXPECT_EQ(rig.voice->fade, 512);
    EXPECT_TRUE(rig.voice->state() & voice_state::kReleased);
    nextTick(rig);
    EXPECT_EQ(rig.voice->fade, 0);
    EXPECT_EQ(rig.voice->volumeProduct, 0);
    EXPECT_EQ(rig.voice->leftGain, 0);
}
