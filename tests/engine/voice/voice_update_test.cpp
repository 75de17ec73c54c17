// The tick computation: pitch, volume product with fade, gains, filter.
#include "voice_rig.h"

#include <cmath>

namespace {

// The filter coefficients computed in double precision from the formulas.
struct Reference {
    double a0, b1, b2;
};

Reference referenceFilter(double rate, int mode, int cutoff, int resonance)
{
    const double divisor[] = {24.0, 20.0, 17.0};
    const double c = rate / (691.150390625 * std::pow(2.0, cutoff / divisor[mode] + 0.25));
    const double r = std::pow(10.0, -resonance * 24.0 / 2560.0);
    const double t = std::min((1.0 - r) / c, 2.0);
    const double a0 = 1.0 / ((r - t) * c + 1.0 + c * c);
    const double b2 = -(a0 * c * c);
    return {a0, 1.0 - a0 - b2, b2};
}

} // namespace

TEST(VoiceUpdate, PitchEnvelopeExtremesStopAt255Steps)
{
    VoiceRig rig;
    rig.voice->pitchFactor = 2.0f;
    rig.voice->envelopes[kPitchEnvelope].value = 64.0f;
    rig.voice->tickPitch();
    EXPECT_NEAR(rig.voice->current.pitch, 2.0 * std::pow(2.0, 255.0 / 192.0), 1e-5);
    rig.voice->envelopes[kPitchEnvelope].value = 0.0f;
    rig.voice->tickPitch();
    EXPECT_NEAR(rig.voice->current.pitch, 2.0 * std::pow(2.0, -255.0 / 192.0), 1e-6);
    rig.voice->envelopes[kPitchEnvelope].value = 33.9f;   // truncated to 1: 8 steps
    rig.voice->tickPitch();
    EXPECT_NEAR(rig.voice->current.pitch, 2.0 * std::pow(2.0, 8.0 / 192.0), 1e-5);
}

TEST(VoiceUpdate, PitchIsCappedAtTheSampleLength)
{
    VoiceRig rig;
    rig.sample.length = 3;
    rig.voice->pitchFactor = 10.0f;
    rig.voice->tickPitch();
    EXPECT_FLOAT_EQ(rig.voice->current.pitch, 3.0f);
}

TEST(VoiceUpdate, VolumeEnvelopeRoundsHalfUp)
{
    VoiceRig rig;
    rig.voice->envelopes[kVolumeEnvelope].value = 63.5f;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, 1 << 18);
    EXPECT_EQ(rig.voice->leftGain, 1 << 24);   // panning 0, depth 32: X = 0
    EXPECT_FLOAT_EQ(rig.voice->current.gain0, 1.0f);
    EXPECT_EQ(rig.voice->rightGain, 0);
    rig.voice->envelopes[kVolumeEnvelope].value = 63.4f;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, ((63 * 64 * 64) >> 6) * 64 * 64 >> 6);
}

TEST(VoiceUpdate, FadeOf1024SilencesAfterOneTick)
{
    VoiceRig rig;
    rig.instrument.fadeOut = 1024;
    rig.voice->fade = 1024;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->fade, 0);
    EXPECT_EQ(rig.voice->volumeProduct, 0);
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, 0);
    EXPECT_EQ(rig.voice->leftGain, 0);
}

TEST(VoiceUpdate, FadeStepsInMillisecondsAndHalvesTheProduct)
{
    VoiceRig rig;
    rig.instrument.fadeOut = 100;
    rig.instrument.volumeEnvelope().enabled = TesselEnvelope::Milliseconds;
    rig.positions->msPerTick = 20.0;
    rig.voice->fade = 1024;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->fade, 1024 - 96);   // trunc(100 x 20 x 0.048 + 0.5)

    VoiceRig half;
    half.instrument.fadeOut = 512;
    half.voice->fade = 1024;
    half.voice->computeTick();
    EXPECT_EQ(half.voice->volumeProduct, (1 << 18) / 2);
}

TEST(VoiceUpdate, StereoSamplesUseTheRootTwoTables)
{
    VoiceRig rig;
    rig.sample.channels = 2;
    rig.voice->depth = 32;
    rig.voice->computeTick();
    const TesselTables& t = tesselTables();
    EXPECT_EQ(rig.voice->leftGain, (1 << 18) * t.quarterCosineR2[0]);

    rig.voice->panning = 32;
    rig.voice->computeTick();
    const int x = t.rotation[0][32][32].x;
    EXPECT_EQ(x, 32);
    EXPECT_EQ(rig.voice->leftGain, (1 << 18) * t.quarterCosineR2[32]);
    EXPECT_EQ(rig.voice->rightGain, (1 << 18) * t.quarterSineR2[32]);
}

TEST(VoiceUpdate, GainsJumpWithoutRampOnce)
{
    VoiceRig rig;
    rig.voice->depth = 32;
    rig.voice->setState(voice_state::kActive | voice_state::kSample | voice_state::kNoRamp);
    rig.voice->computeTick();
    EXPECT_FLOAT_EQ(rig.voice->ramp[0], 1.0f);
    EXPECT_FLOAT_EQ(rig.voice->ramp[1], 1.0f);
    EXPECT_EQ(rig.voice->state() & voice_state::kNoRamp, 0);
    rig.voice->setVolume(32);
    rig.voice->computeTick();
    EXPECT_FLOAT_EQ(rig.voice->ramp[0], 1.0f);
    EXPECT_FLOAT_EQ(rig.voice->ramp[1], 0.5f);
}

TEST(VoiceUpdate, MutedChannelGivesZeroGainsWhileEnvelopesAndFadeRun)
{
    VoiceRig rig;
    rig.live.mute = 1;
    rig.instrument.fadeOut = 100;
    setEnvelopeNodes(rig.instrument.volumeEnvelope(), {{0, 64}, {10, 0}});
    rig.voice->envelopes[kVolumeEnvelope].enabled = 1;
    rig.voice->fade = 1024;
    rig.voice->computeTick();
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->leftGain, 0);
    EXPECT_EQ(rig.voice->rightGain, 0);
    EXPECT_EQ(rig.voice->envelopes[kVolumeEnvelope].position, 2);
    EXPECT_FLOAT_EQ(rig.voice->envelopes[kVolumeEnvelope].value, 64.0f - 6.4f);
    EXPECT_EQ(rig.voice->fade, 824);
    EXPECT_GT(rig.voice->volumeProduct, 0);
}

TEST(VoiceUpdate, SampleLessVoiceKeepsTheUnshiftedProduct)
{
    VoiceRig rig;
    rig.voice->sample = nullptr;
    rig.voice->setState(voice_state::kActive | voice_state::kMidi);
    rig.live.volume = 50;
    rig.instrument.globalVolume = 40;
    rig.voice->setVolume(30);
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, 50 * 40 * 30);
}

TEST(VoiceUpdate, LoadedVolumesOutsideTheirRangeAreHeld)
{
    VoiceRig rig;
    rig.instrument.globalVolume = 100000;
    rig.sample.globalVolume = -7;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, 0);
    rig.sample.globalVolume = 1 << 30;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->volumeProduct, 1 << 18);
}

TEST(VoiceUpdate, AutoVibratoSweepsUpToItsDepth)
{
    VoiceRig rig;
    rig.sample.vibrato = {64, 0, 64, 16384};   // speed, waveform, depth, sweep
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->autoVibratoDepth, 64 * 256);
    EXPECT_EQ(rig.voice->autoVibratoPhase, 64);
    EXPECT_FLOAT_EQ(rig.voice->current.pitch, 1.0f);   // sine[0] = 0
    rig.voice->computeTick();
    EXPECT_NEAR(rig.voice->current.pitch, std::pow(2.0, 64.0 / 768.0), 1e-6);
}

TEST(VoiceFilter, CutoffAt127BypassesWhateverTheResonance)
{
    VoiceRig rig;
    rig.voice->setResonance(127);
    rig.voice->setCutoff(127);
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->lastResonance, 127);
    EXPECT_FLOAT_EQ(rig.voice->filter[0], 1.0f);
    EXPECT_FLOAT_EQ(rig.voice->filter[1], 0.0f);
    EXPECT_FLOAT_EQ(rig.voice->filter[2], 0.0f);
}

TEST(VoiceFilter, CoefficientsMatchADoublePrecisionReference)
{
    for (double rate : {44100.0, 48000.0, 96000.0}) {
        fillRateTables(rate);
        for (int mode = 0; mode < 3; ++mode)
            for (int cutoff : {0, 17, 64, 100, 126})
                for (int resonance : {0, 40, 127}) {
                    VoiceRig rig;
                    fillRateTables(rate);
                    rig.instrument.filterRange = static_cast<uint8_t>(mode);
                    rig.voice->setCutoff(cutoff);
                    rig.voice->setResonance(resonance);
                    rig.voice->updateFilter();
                    const Reference ref = referenceFilter(rate, mode, cutoff, resonance);
                    const double* want[] = {&ref.a0, &ref.b1, &ref.b2};
                    for (int i = 0; i < 3; ++i)
                        EXPECT_NEAR(rig.voice->filter[i], *want[i], 2e-5 * std::max(1.0, std::fabs(*want[i])))
                            << rate << " mode " << mode << " cutoff " << cutoff << " resonance " << resonance
                            << " #" << i;
                }
    }
    fillRateTables(44100.0);
}

TEST(VoiceFilter, FilterModeFromAFileIsHeldToTheTable)
{
    VoiceRig wild;
    wild.instrument.filterRange = 9;
    wild.voice->setCutoff(50);
    wild.voice->updateFilter();
    VoiceRig two;
    two.instrument.filterRange = 2;
    two.voice->setCutoff(50);
    two.voice->updateFilter();
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(wild.voice->filter[i], two.voice->filter[i]);
}

TEST(VoiceFilter, FilterEnvelopeScalesCutoffAndResonanceAndUnchangedValuesKeepTheCoefficients)
{
    VoiceRig rig;
    rig.voice->setCutoff(100);
    rig.voice->setResonance(10);
    rig.voice->envelopes[kFilterEnvelope].value = 32.0f;
    rig.voice->envelopes[kFilterEnvelope].secondValue = 64.0f;
    rig.voice->computeTick();
    EXPECT_EQ(rig.voice->effectiveCutoff, 50);
    EXPECT_EQ(rig.voice->effectiveResonance, 10);
    rig.voice->filter[0] = 42.0f;   // not recomputed while cutoff and resonance stay
    rig.voice->computeTick();
    EXPECT_FLOAT_EQ(rig.voice->filter[0], 42.0f);
}
