// Envelope ticks: segments, sustain and release loops, the end that starts
// the fade, millisecond steps, and node data from a damaged file.
#include "voice_rig.h"

namespace {

// Enables an envelope of the instrument and of the voice, as a note start does.
TesselEnvelopeState& enable(VoiceRig& rig, int kind, uint8_t mode = TesselEnvelope::Ticks)
{
    rig.instrument.envelopes[static_cast<size_t>(kind)].enabled = mode;
    TesselEnvelopeState& e = rig.voice->envelopes[kind];
    e = TesselEnvelopeState{};
    e.enabled = mode;
    e.running = mode;
    return e;
}

std::vector<float> values(VoiceRig& rig, int kind, int ticks)
{
    std::vector<float> seen;
    for (int t = 0; t < ticks; ++t) {
        rig.voice->tickEnvelopes();
        seen.push_back(rig.voice->envelopes[kind].value);
    }
    return seen;
}

} // namespace

TEST(EnvelopeStep, SegmentsThenTheEndStartsTheFade)
{
    VoiceRig rig;
    rig.instrument.fadeOut = 64;
    setEnvelopeNodes(rig.instrument.volumeEnvelope(), {{0, 64}, {4, 0}});
    TesselEnvelopeState& e = enable(rig, kVolumeEnvelope);
    EXPECT_EQ(values(rig, kVolumeEnvelope, 3), (std::vector<float>{64, 48, 32}));
    EXPECT_EQ(e.running, 1);
    rig.voice->tickEnvelopes();   // position 3 = last - 1: ended on the last value
    EXPECT_EQ(e.running, 0);
    EXPECT_FLOAT_EQ(e.value, 0.0f);
    EXPECT_TRUE(rig.voice->state() & voice_state::kReleased);
    EXPECT_EQ(rig.voice->fade, 1024);
    EXPECT_EQ(rig.voice->newNoteAction, 3);
}

TEST(EnvelopeStep, SustainLoopRepeatsWhileHeldAndReleaseLeavesIt)
{
    VoiceRig rig;
    TesselEnvelope& env = rig.instrument.panningEnvelope();
    setEnvelopeNodes(env, {{0, 0}, {2, 20}, {4, 40}, {6, 0}});
    env.sustain.type = 1;
    env.sustain.begin = 1;
    env.sustain.end = 2;
    TesselEnvelopeState& e = enable(rig, kPanningEnvelope);
    EXPECT_EQ(values(rig, kPanningEnvelope, 8), (std::vector<float>{0, 10, 20, 30, 20, 30, 20, 30}));
    e.phase = 3;
    // Released at position 4: one more segment value, then the end one tick
    // before the last node (position 5 = 6 - 1) takes the last value.
    EXPECT_EQ(values(rig, kPanningEnvelope, 4), (std::vector<float>{40, 0, 0, 0}));
    EXPECT_EQ(e.running, 0);
}

TEST(EnvelopeStep, PingPongSustainTurnsAtBothEnds)
{
    VoiceRig rig;
    TesselEnvelope& env = rig.instrument.pitchEnvelope();
    setEnvelopeNodes(env, {{0, 0}, {2, 20}, {4, 40}});
    env.sustain.type = 2;
    env.sustain.begin = 0;
    env.sustain.end = 2;
    enable(rig, kPitchEnvelope);
    EXPECT_EQ(values(rig, kPitchEnvelope, 10), (std::vector<float>{0, 10, 20, 30, 40, 30, 20, 10, 0, 10}));
}

TEST(EnvelopeStep, ReleaseLoopKeepsRunningAfterTheKeyIsReleased)
{
    VoiceRig rig;
    TesselEnvelope& env = rig.instrument.volumeEnvelope();
    setEnvelopeNodes(env, {{0, 64}, {2, 32}, {4, 0}});
    env.loop.type = 1;
    env.loop.begin = 1;
    env.loop.end = 2;
    TesselEnvelopeState& e = enable(rig, kVolumeEnvelope);
    EXPECT_EQ(values(rig, kVolumeEnvelope, 7), (std::vector<float>{64, 48, 32, 16, 32, 16, 32}));
    EXPECT_EQ(e.running, 1);
}

TEST(EnvelopeStep, SecondValueOnlyForTwoValueEnvelopes)
{
    VoiceRig rig;
    TesselEnvelope& env = rig.instrument.filterEnvelope();
    setEnvelopeNodes(env, {{0, 64}, {8, 0}});
    env.node(0).value2 = 0;
    env.node(1).value2 = 64;
    env.computeSlopes();
    TesselEnvelopeState& e = enable(rig, kFilterEnvelope);
    e.running = 2;
    rig.voice->tickEnvelopes();
    rig.voice->tickEnvelopes();
    EXPECT_FLOAT_EQ(e.value, 56.0f);
    EXPECT_FLOAT_EQ(e.secondValue, 8.0f);

    TesselEnvelopeState& pan = enable(rig, kPanningEnvelope);
    setEnvelopeNodes(rig.instrument.panningEnvelope(), {{0, 10}, {8, 10}});
    pan.secondValue = 32.0f;
    rig.voice->tickEnvelopes();
    EXPECT_FLOAT_EQ(pan.value, 10.0f);
    EXPECT_FLOAT_EQ(pan.secondValue, 32.0f);
}

TEST(EnvelopeStep, MillisecondStepPassesSeveralNodesWithinTheNodeList)
{
    VoiceRig rig;
    rig.positions->msPerTick = 20.0;   // step trunc(20.5001) = 20
    TesselEnvelope& env = rig.instrument.volumeEnvelope();
    setEnvelopeNodes(env, {{0, 64}, {3, 50}, {6, 40}, {9, 30}, {12, 20}, {30, 10}});
    TesselEnvelopeState& e = enable(rig, kVolumeEnvelope, TesselEnvelope::Milliseconds);
    rig.voice->tickEnvelopes();
    EXPECT_EQ(e.step, 20);
    EXPECT_EQ(e.position, 20);
    EXPECT_EQ(e.node, 4);
    rig.voice->tickEnvelopes();
    EXPECT_FLOAT_EQ(e.value, 20.0f - 8.0f * 10.0f / 18.0f);
    EXPECT_EQ(e.node, 5);
    EXPECT_EQ(e.position, 40);
    rig.voice->tickEnvelopes();
    EXPECT_EQ(e.running, 0);
    EXPECT_FLOAT_EQ(e.value, 10.0f);
}

TEST(EnvelopeStep, DamagedNodeDataStaysInsideTheNodesAndValueRange)
{
    VoiceRig rig;
    rig.positions->msPerTick = 5000.0;
    TesselEnvelope& env = rig.instrument.panningEnvelope();
    setEnvelopeNodes(env, {{0, 300}, {10, 65535}});
    env.nodeCount = 1000;   // more than the record holds
    env.sustain.type = 2;
    env.sustain.begin = 200;
    env.sustain.end = -5;
    TesselEnvelopeState& e = enable(rig, kPanningEnvelope, TesselEnvelope::Milliseconds);
    e.node = 250;
    for (int t = 0; t < 50; ++t) {
        rig.voice->tickEnvelopes();
        ASSERT_GE(e.value, 0.0f);
        ASSERT_LE(e.value, 64.0f);
        ASSERT_LT(e.node, kEnvelopeNodes);
    }
    e.phase = 3;
    env.loop.type = 7;   // no such loop: the envelope just runs on
    for (int t = 0; t < 50; ++t)
        rig.voice->tickEnvelopes();
    EXPECT_LE(e.value, 64.0f);
}

TEST(EnvelopeStep, DisabledOrEmptyEnvelopesDoNotMove)
{
    VoiceRig rig;
    TesselEnvelopeState& e = enable(rig, kVolumeEnvelope);
    rig.voice->tickEnvelopes();
    EXPECT_EQ(e.position, 0);   // no nodes
    setEnvelopeNodes(rig.instrument.volumeEnvelope(), {{0, 10}, {5, 20}});
    e.enabled = 0;   // S77
    rig.voice->tickEnvelopes();
    EXPECT_EQ(e.position, 0);
    e.enabled = 1;
    rig.voice->tickEnvelopes();
    EXPECT_EQ(e.position, 1);
}
