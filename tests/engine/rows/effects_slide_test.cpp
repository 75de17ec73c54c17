// Volume, panning and pitch slides tick by tick, with the parameter memory.
#include "engine/voice/voice_rig.h"

#include <cmath>

using namespace voice_flag;

namespace {

constexpr uint16_t kAudition = 0;

std::vector<int> volumesOverTicks(VoiceRig& rig, char letter, int parameter, uint16_t flags, int ticks)
{
    std::vector<int> seen;
    rig.row(letter, parameter, flags);
    seen.push_back(rig.voice->volume);
    for (int t = 1; t < ticks; ++t) {
        rig.tick();
        seen.push_back(rig.voice->volume);
    }
    return seen;
}

} // namespace

TEST(EffectSlides, D0FSlidesFromTickZeroInPlaybackAndAudition)
{
    for (uint16_t flags : {kPlayback, kAudition}) {
        VoiceRig rig;
        EXPECT_EQ(volumesOverTicks(rig, 'D', 0x0F, flags, 4), (std::vector<int>{49, 34, 19, 4})) << flags;
    }
}

TEST(EffectSlides, D05StartsAtTickZeroInPlaybackAndTickOneInAudition)
{
    VoiceRig playback;
    EXPECT_EQ(volumesOverTicks(playback, 'D', 0x05, kPlayback, 3), (std::vector<int>{59, 54, 49}));
    VoiceRig audition;
    EXPECT_EQ(volumesOverTicks(audition, 'D', 0x05, kAudition, 3), (std::vector<int>{64, 59, 54}));
    VoiceRig up;
    up.voice->setVolume(10);
    EXPECT_EQ(volumesOverTicks(up, 'D', 0x30, kPlayback, 3), (std::vector<int>{13, 16, 19}));
}

TEST(EffectSlides, FineSlidesActOnceAndMixedNibblesDoNothing)
{
    VoiceRig fine;
    EXPECT_EQ(volumesOverTicks(fine, 'D', 0xF3, kPlayback, 3), (std::vector<int>{61, 61, 61}));
    VoiceRig fineUp;
    fineUp.voice->setVolume(10);
    EXPECT_EQ(volumesOverTicks(fineUp, 'D', 0x3F, kPlayback, 3), (std::vector<int>{13, 13, 13}));
    VoiceRig mixed;
    EXPECT_EQ(volumesOverTicks(mixed, 'D', 0x33, kPlayback, 3), (std::vector<int>{64, 64, 64}));
}

TEST(EffectSlides, VolumeClampsAndZeroParameterRecallsMemory)
{
    VoiceRig rig;
    rig.voice->setVolume(20);
    EXPECT_EQ(volumesOverTicks(rig, 'D', 0x0F, kPlayback, 3), (std::vector<int>{5, 0, 0}));
    rig.voice->setVolume(40);
    EXPECT_EQ(volumesOverTicks(rig, 'D', 0x00, kPlayback, 2), (std::vector<int>{25, 10}));
    EXPECT_EQ(rig.slot().memoryFor('D')->value, 0x0F);
}

TEST(EffectSlides, ChannelVolumeSlideHoldsForUpSlidesUnlessF0)
{
    VoiceRig audition;
    audition.live.volume = 10;
    audition.row('N', 0x20, kAudition);
    EXPECT_EQ(audition.live.volume, 10);
    audition.tick();
    EXPECT_EQ(audition.live.volume, 12);

    VoiceRig full;
    full.live.volume = 10;
    full.row('N', 0xF0, kAudition);
    EXPECT_EQ(full.live.volume, 25);
    full.tick();
    EXPECT_EQ(full.live.volume, 40);
    EXPECT_EQ(full.voice->volume, 64);   // the voice's own volume is not touched
}

TEST(EffectSlides, PanSlideMovesPositionBitsAndClearsDepthFlag)
{
    VoiceRig rig;
    rig.voice->panning = 0x80 | 30;
    rig.voice->depth = 0x80 | 10;
    rig.row('P', 0x04);
    EXPECT_EQ(rig.voice->panning, 34);
    EXPECT_EQ(rig.voice->depth, 10);
    rig.tick();
    EXPECT_EQ(rig.voice->panning, 38);
    rig.row('P', 0x20);
    EXPECT_EQ(rig.voice->panning, 36);
    rig.row('P', 0xF3);   // fine right, once
    rig.tick();
    EXPECT_EQ(rig.voice->panning, 39);
}

TEST(EffectSlides, SharedMemoryOfEAndF)
{
    const TesselTables& t = tesselTables();
    VoiceRig rig;
    rig.row('E', 0xF2);
    EXPECT_FLOAT_EQ(rig.voice->pitchFactor, t.finePitchInverse[2]);
    rig.voice->pitchFactor = 1.0f;
    rig.row('E', 0x00);
    rig.tick();   // fine: once only
    EXPECT_FLOAT_EQ(rig.voice->pitchFactor, t.finePitchInverse[2]);
    rig.voice->pitchFactor = 1.0f;
    rig.row('F', 0x00);
    EXPECT_FLOAT_EQ(rig.voice->pitchFactor, t.finePitch[2]);
    EXPECT_EQ(rig.slot().memoryFor('E')->value, 0xF2);
    EXPECT_EQ(rig.slot().memoryFor('F')->value, 0xF2);
}

TEST(EffectSlides, ExtraFineAndContinuousPitchSlides)
{
    const TesselTables& t = tesselTables();
    VoiceRig rig;
    rig.row('F', 0xE3);
    rig.tick();
    EXPECT_FLOAT_EQ(rig.voice->pitchFactor, t.finestPitch[3]);

    VoiceRig audition;
    audition.row('E', 0x10, kAudition);
    EXPECT_FLOAT_EQ(audition.voice->pitchFactor, 1.0f);
    audition.tick();
    audition.tick();
    EXPECT_NEAR(audition.voice->pitchFactor, std::pow(2.0, -32.0 / 192.0), 1e-6);
}

TEST(EffectSlides, PortamentoWithoutTargetOrTowardItsOwnPitchStays)
{
    VoiceRig none;
    none.voice->row.pitch = -1;
    none.row('G', 0x10);
    EXPECT_EQ(none.slot().count, 0);
    EXPECT_FLOAT_EQ(none.voice->pitchFactor, 1.0f);

    VoiceRig same;
    same.voice->row.pitch = 60;   // factor 1.0 for this sample
    same.row('G', 0x10);
    EXPECT_FLOAT_EQ(same.slot().slideFactor, 1.0f);
    same.tick();
    EXPECT_FLOAT_EQ(same.voice->pitchFactor, 1.0f);
}

TEST(EffectSlides, PortamentoStopsOnTheTargetAndLContinuesIt)
{
    VoiceRig rig;
    rig.voice->row.pitch = 61;
    rig.row('G', 0x08);
    const float target = rig.voice->noteFactor(61);
    EXPECT_NEAR(rig.voice->pitchFactor, std::pow(2.0, 8.0 / 192.0), 1e-6);
    rig.tick();
    rig.tick();   // reached or passed by now: it lands on the target
    EXPECT_FLOAT_EQ(rig.voice->pitchFactor, target);
    EXPECT_FLOAT_EQ(rig.slot().slideFactor, 1.0f);

    rig.voice->row.pitch = 48;
    rig.row('G', 0x00);   // memory: speed 8 again
    EXPECT_LT(rig.voice->pitchFactor, target);
    rig.voice->row.pitch = -1;
    const float before = rig.voice->pitchFactor;
    rig.voice->setVolume(30);
    rig.row('L', 0x02);
    EXPECT_EQ(rig.voice->volume, 28);
    EXPECT_LT(rig.voice->pitchFactor, before);
    EXPECT_EQ(rig.slot().portamentoTarget, 48);
}
