// Letters that act on chosen ticks: retrigger, note cut, tremor, arpeggio,
// and the one-shot letters on their raw parameter.
#include "engine/voice/voice_rig.h"

#include <cmath>

using namespace voice_flag;

namespace {

// Ticks 0..n-1 of a row on which the sample restarted.
std::vector<int> restartTicks(VoiceRig& rig, char letter, int parameter, uint16_t flags, int ticks)
{
    std::vector<int> seen;
    rig.voice->position = 500;
    rig.row(letter, parameter, flags);
    for (int t = 0; t < ticks; ++t) {
        if (t > 0)
            rig.tick();
        if (rig.voice->position == 0)
            seen.push_back(t);
        rig.voice->position = 500;
    }
    return seen;
}

} // namespace

TEST(EffectTiming, Q13WithNewNoteRestartsEveryThirdTickWithoutVolumeChange)
{
    VoiceRig rig;
    rig.voice->setVolume(40);
    EXPECT_EQ(restartTicks(rig, 'Q', 0x13, kPlayback | kNewNote | kNewPitch, 10), (std::vector<int>{3, 6, 9}));
    EXPECT_EQ(rig.voice->volume, 40);
}

TEST(EffectTiming, Q93WithoutNewPitchAddsOnePerRestart)
{
    VoiceRig rig;
    rig.voice->setVolume(40);
    EXPECT_EQ(restartTicks(rig, 'Q', 0x93, kPlayback, 7), (std::vector<int>{0, 3, 6}));
    EXPECT_EQ(rig.voice->volume, 43);
}

TEST(EffectTiming, RetriggerVolumeTypes)
{
    struct Case {
        int type;
        int from;
        int to;
    } cases[] = {{1, 40, 39}, {5, 10, 0},   {6, 40, 26},  {7, 41, 20}, {8, 40, 40},
                 {13, 60, 64}, {14, 41, 61}, {15, 40, 64}, {0, 40, 40}};
    for (const Case& c : cases) {
        VoiceRig rig;
        rig.voice->setVolume(c.from);
        rig.row('Q', c.type << 4);
        EXPECT_EQ(rig.voice->volume, c.to) << c.type;
    }
}

TEST(EffectTiming, NoteCutAtTickX)
{
    for (auto [parameter, cutTick] : {std::pair{0xC0, 1}, {0xC1, 1}, {0xC4, 4}}) {
        VoiceRig rig;
        rig.row('S', parameter);
        int seen = -1;
        for (int t = 0; t < 8 && seen < 0; ++t) {
            if (t > 0)
                rig.tick();
            if (rig.voice->state() & voice_state::kReleased)
                seen = t;
        }
        EXPECT_EQ(seen, cutTick) << std::hex << parameter;
        EXPECT_EQ(rig.voice->volume, 0);
        EXPECT_EQ(rig.slot().count, 0);
    }
}

TEST(EffectTiming, TremorSoundsHiTicksThenSilentLoTicks)
{
    VoiceRig rig;
    rig.row('I', 0x23);
    std::vector<int> off{rig.slot().tremorOff};
    for (int t = 1; t < 8; ++t) {
        rig.tick();
        off.push_back(rig.slot().tremorOff);
    }
    EXPECT_EQ(off, (std::vector<int>{0, 0, 1, 1, 1, 0, 0, 0}));
}

TEST(EffectTiming, ArpeggioCyclesNoteAndTwoIntervals)
{
    VoiceRig rig;
    rig.row('J', 0x47);
    std::vector<double> factors{rig.slot().arpeggioFactor};
    for (int t = 1; t < 5; ++t) {
        rig.tick();
        factors.push_back(rig.slot().arpeggioFactor);
    }
    const double expected[] = {1.0, std::pow(2.0, 4 / 12.0), std::pow(2.0, 7 / 12.0), 1.0, std::pow(2.0, 4 / 12.0)};
    for (int t = 0; t < 5; ++t)
        EXPECT_NEAR(factors[static_cast<size_t>(t)], expected[t], 1e-5) << t;
    // The nibble memory keeps the half a later parameter leaves at zero.
    rig.row('J', 0x05);
    EXPECT_EQ(rig.slot().memoryFor('J')->value, 0x45);
}

TEST(EffectTiming, RawLettersPanningCutoffResonanceAndVolume)
{
    VoiceRig rig;
    rig.row('X', 255);
    EXPECT_EQ(rig.voice->panning, 63);
    EXPECT_EQ(rig.live.panning, 63);
    rig.row('S', 0x8F);
    EXPECT_EQ(rig.voice->panning, 60);
    EXPECT_EQ(rig.live.panning, 60);
    rig.row('Z', 64);
    EXPECT_EQ(rig.voice->cutoff, 64);
    rig.row('Z', 143);
    EXPECT_EQ(rig.voice->resonance, 127);
    rig.row('Z', 136);
    EXPECT_EQ(rig.voice->resonance, 68);   // 8 x 128 / 15 = 68.27
    rig.row('Z', 144);
    EXPECT_EQ(rig.voice->resonance, 68);
    EXPECT_EQ(rig.voice->cutoff, 64);
    rig.row('M', 20);
    EXPECT_EQ(rig.live.volume, 20);
    EXPECT_EQ(rig.voice->volume, 64);
    rig.voice->setState(voice_state::kActive | voice_state::kMidi);
    rig.row('M', 100);
    EXPECT_EQ(rig.voice->volume, 64);
    rig.row('M', 7);
    EXPECT_EQ(rig.voice->volume, 7);
    EXPECT_EQ(rig.live.volume, 20);
}

TEST(EffectTiming, SampleOffsetNeedsNewNoteAndUsesHighOffset)
{
    VoiceRig rig;
    rig.voice->position = 7;
    rig.row('O', 0x80);
    EXPECT_EQ(rig.voice->position, 7);
    rig.row('S', 0xA1);
    EXPECT_EQ(rig.live.highOffset, 1);
    rig.voice->fraction = 0.5f;
    rig.row('O', 0x80, kPlayback | kNewNote);
    EXPECT_EQ(rig.voice->position, (256 + 128) * 256);
    EXPECT_EQ(rig.voice->position, 98304);
    EXPECT_FLOAT_EQ(rig.voice->fraction, 0.0f);
}

TEST(EffectTiming, DigitsStoreTheirByteOnly)
{
    VoiceRig rig;
    rig.row('3', 0x00);
    EXPECT_EQ(rig.slot().memoryFor('3')->value, 0);
    rig.row('3', 0x1A7);
    EXPECT_EQ(rig.slot().memoryFor('3')->value, 0xA7);
    EXPECT_EQ(rig.slot().command, '3');
    EXPECT_EQ(rig.slot().count, 0);
    rig.row('.', 0);
    EXPECT_EQ(rig.slot().command, '.');
}
