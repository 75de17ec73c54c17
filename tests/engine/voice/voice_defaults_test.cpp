// What a new pitch, instrument or note takes from the instrument, sample,
// key-map entry and channel, with the engine's own random swings.
#include "engine/random.h"
#include "voice_rig.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

TEST(VoiceDefaults, NoteFactorFromSampleRateBaseNoteAndOutputRate)
{
    VoiceRig rig;
    EXPECT_FLOAT_EQ(rig.voice->noteFactor(60), 1.0f);
    EXPECT_NEAR(rig.voice->noteFactor(72), 2.0, 1e-6);
    rig.sample.speed = 22050;
    EXPECT_NEAR(rig.voice->noteFactor(60), 0.5, 1e-6);
    rig.sample.pitch = 250;   // a base note from a file far from any played note
    EXPECT_FLOAT_EQ(rig.voice->noteFactor(0), tesselRateTables().note[0] * 0.5f);
    rig.voice->sample = nullptr;
    EXPECT_FLOAT_EQ(rig.voice->noteFactor(60), 1.0f);
    fillRateTables(48000.0);
    EXPECT_NEAR(rig.voice->noteFactor(60), 44100.0 / 48000.0, 1e-6);
    EXPECT_NEAR(rig.voice->noteFactor(48), 0.5 * 44100.0 / 48000.0, 1e-6);
    fillRateTables(44100.0);
}

TEST(VoiceDefaults, NewPitchSetsFactorTextAndPortamentoTargets)
{
    VoiceRig rig;
    rig.voice->note = 73;
    rig.voice->takePitchDefaults();
    EXPECT_STREQ(rig.voice->noteText, "C#6");
    EXPECT_NEAR(rig.voice->pitchFactor, std::pow(2.0, 13.0 / 12.0), 1e-5);
    EXPECT_EQ(rig.slot(0).portamentoTarget, 73);
    EXPECT_EQ(rig.slot(1).portamentoTarget, 73);
    rig.voice->note = 11;
    rig.voice->takePitchDefaults();
    EXPECT_STREQ(rig.voice->noteText, "B-0");
}

TEST(VoiceDefaults, NewInstrumentTakesMidiOrSampleVolume)
{
    VoiceRig rig;
    rig.sample.defaultVolume = 48;
    rig.voice->takeInstrumentDefaults();
    EXPECT_EQ(rig.voice->volume, 48);
    rig.sample.defaultVolume = 200;
    rig.voice->takeInstrumentDefaults();
    EXPECT_EQ(rig.voice->volume, 64);
    rig.instrument.midiOut = 1;
    rig.instrument.midiDefaultVelocity = 100;
    rig.voice->setVolume(3);
    rig.voice->takeInstrumentDefaults();
    EXPECT_EQ(rig.voice->velocity, 100);
    EXPECT_EQ(rig.voice->volume, 64);
}

TEST(VoiceDefaults, KeyMapVolumeCutoffAndResonance)
{
    VoiceRig rig;
    TesselRandom random;
    rig.voice->key = 60;
    rig.instrument.keymap.getRow(60).volume = 20;
    rig.live.cutoff = 90;
    rig.live.resonance = 5;
    rig.voice->takeNoteDefaults(random);
    EXPECT_EQ(rig.voice->volume, 20);
    EXPECT_EQ(rig.voice->cutoff, 90);
    EXPECT_EQ(rig.voice->resonance, 5);

    rig.instrument.filterCutoff = 40;
    rig.instrument.filterResonance = 0x17;   // low nibble 7: 7 x 128 / 15 = 59.7
    rig.voice->setState(voice_state::kActive | voice_state::kMidi);
    rig.voice->takeNoteDefaults(random);
    EXPECT_EQ(rig.voice->velocity, 20);
    EXPECT_EQ(rig.voice->volume, 64);
    EXPECT_EQ(rig.voice->cutoff, 40);
    EXPECT_EQ(rig.voice->resonance, 60);
    rig.instrument.filterResonance = 15;
    rig.voice->takeNoteDefaults(random);
    EXPECT_EQ(rig.voice->resonance, 127);
}

TEST(VoiceDefaults, PanningDepthAndRotationByPrecedence)
{
    VoiceRig rig;
    TesselRandom random;
    rig.voice->key = 60;
    auto placementAfterNote = [&] {
        rig.voice->takeNoteDefaults(random);
        return std::array<int, 3>{rig.voice->panning, rig.voice->depth, rig.voice->rotation};
    };
    rig.live.panning = 40;
    rig.live.depth = 41;
    rig.live.rotation = 42;
    rig.live.outputBus = 3;
    EXPECT_EQ(placementAfterNote(), (std::array<int, 3>{40, 41, 42})) << "from the channel";
    EXPECT_EQ(rig.voice->current.bus, 3);

    rig.sample.defaultPan = 30;
    rig.sample.defaultDepth = 31;
    rig.sample.defaultRotation = 32;
    EXPECT_EQ(placementAfterNote(), (std::array<int, 3>{30, 31, 32})) << "sample over channel";

    rig.instrument.defaultPan = 20;
    rig.instrument.defaultDepth = 21;
    rig.instrument.defaultRotation = 22;
    EXPECT_EQ(placementAfterNote(), (std::array<int, 3>{20, 21, 22})) << "instrument over sample";

    rig.instrument.keymap.getRow(60).panning = 10;
    rig.instrument.keymap.getRow(60).depth = 11;
    EXPECT_EQ(placementAfterNote(), (std::array<int, 3>{10, 11, 22})) << "key map over instrument";

    rig.instrument.defaultPan = 500;   // out of range from a file
    rig.instrument.keymap.getRow(60).panning = -1;
    EXPECT_EQ(placementAfterNote()[0], 64);
}

TEST(VoiceDefaults, VolumeSwingSpreadsOverTheRangeAndZeroLeavesIt)
{
    VoiceRig rig;
    TesselRandom random(1234);
    rig.voice->setVolume(37);
    rig.voice->takeNoteDefaults(random);
    EXPECT_EQ(rig.voice->volume, 37);

    rig.instrument.volumeSwing = 100;
    std::set<int> seen;
    int full = 0;
    for (int i = 0; i < 4000; ++i) {
        rig.voice->setVolume(64);
        rig.voice->takeNoteDefaults(random);
        ASSERT_GE(rig.voice->volume, 0);
        ASSERT_LE(rig.voice->volume, 64);
        seen.insert(rig.voice->volume);
        full += rig.voice->volume == 64;
    }
    EXPECT_TRUE(seen.count(0));
    EXPECT_EQ(seen.size(), 65u);
    // 0 - 64 + 0..129: everything above 63 (about half the draws) becomes 64.
    EXPECT_GT(full, 1800);
    EXPECT_LT(full, 2300);
}

TEST(VoiceDefaults, PanningSwingIsClampedAndSeparationTruncates)
{
    VoiceRig rig;
    TesselRandom random(7);
    rig.instrument.panningSwing = 64;
    for (int i = 0; i < 500; ++i) {
        rig.voice->takeNoteDefaults(random);
        ASSERT_LE(rig.voice->panning, 64);
    }
    rig.instrument.pitchSeparation = 8;
    rig.voice->note = 50;
    rig.voice->takeSeparation();
    EXPECT_EQ(rig.voice->separation, -10);
    rig.instrument.pitchSeparation = 3;
    rig.voice->note = 57;
    rig.voice->takeSeparation();
    EXPECT_EQ(rig.voice->separation, -1);
}

TEST(EngineRandom, OwnSequenceUntouchedByTheSharedGenerator)
{
    TesselRandom a(99);
    TesselRandom b(99);
    std::vector<int32_t> first;
    for (int i = 0; i < 100; ++i) {
        first.push_back(a.next());
        ASSERT_GE(first.back(), 0);
        ASSERT_LE(first.back(), TesselRandom::kMax);
    }
    for (int i = 0; i < 100; ++i) {
        (void)std::rand();
        EXPECT_EQ(b.next(), first[static_cast<size_t>(i)]);
    }
    EXPECT_NE(std::set<int32_t>(first.begin(), first.end()).size(), 1u);
}

TEST(EngineRandom, MulDivRoundsToNearest)
{
    // a x b / c, and -1 for a zero divisor
    const int32_t cases[][4] = {{1, 1, 2, 1}, {-1, 1, 2, -1}, {7, 128, 15, 60}, {100, 64, 100, 64},
                                {32767, 129, 32767, 129}, {5, 5, 0, -1}, {5, -3, -2, 8}};
    for (const auto& [a, b, c, result] : cases)
        EXPECT_EQ(mulDiv(a, b, c), result) << a << " x " << b << " / " << c;
}
