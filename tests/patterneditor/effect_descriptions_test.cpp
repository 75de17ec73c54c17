// The info panel's effect descriptions: every row, the lookup's fall-backs
// to '*', the slide directions as the replay has them, and the value line.
#include "patterneditor/effect_descriptions.h"

#include <gtest/gtest.h>

namespace {

TEST(EffectDescriptions, TheTableHoldsItsRowsAndFallsBackToWildcards)
{
    TesselEffectTable table;
    fillEffectDescriptions(table);
    EXPECT_EQ(table.byKey.size(), 113u);
    const struct {
        char letter;
        int parameter;
        const char* text;
    } cases[] = {
        {'D', 0x00, "Volume Slide (Dxx)"},
        {'D', 0x40, "Volume Slide Up (Dx0)"},
        {'D', 0xF0, "Volume Slide Up (Dx0)"},
        {'D', 0x04, "Volume Slide Down (D0x)"},
        {'D', 0x4F, "Fine Volume Slide Up (DxF)"},
        {'D', 0xF4, "Fine Volume Slide Down (DFx)"},
        {'D', 0x44, "Volume Slide (Dxx)"},
        // K, L and N slide as D does: a high digit up, a low digit down.
        {'K', 0x40, "Vibrato + Volume Slide Up (Kx0)"},
        {'K', 0x04, "Vibrato + Volume Slide Down (K0x)"},
        {'K', 0x4F, "Vibrato + Fine Volume Slide Up (KxF)"},
        {'K', 0xF4, "Vibrato + Fine Volume Slide Down (KFx)"},
        {'L', 0x30, "Portamento + Volume Slide Up (Lx0)"},
        {'L', 0x03, "Portamento + Volume Slide Down (L0x)"},
        {'N', 0x20, "Channel Volume Slide Up (Nx0)"},
        {'N', 0xF2, "Fine Channel Volume Slide Down (NFx)"},
        // P, V and W keep their own directions.
        {'P', 0x20, "Panning Slide Down (Px0)"},
        {'P', 0x02, "Panning Slide Up (P0x)"},
        {'S', 0x71, "Release Previous Note (S7x)"},
        {'S', 0x7F, "Special Extended Effect (Sxx)"},
        {'S', 0xB0, "Set / Trigger Repeat (SBx)"},
        {'S', 0xB3, "Trigger Repeats (SBx)"},
        {'Z', 0x83, "Set Filter Resonance (Z8x)"},
        {'U', 0x12, "Fine Vibrato (Hxy)"},
        {'5', 0x12, "MIDI Effect 5 (5xx)"},
        {'.', 0x00, "No effect"},
    };
    for (const auto& c : cases) {
        const TesselEffectDescription* row = table.find(effectKey(c.letter, c.parameter));
        ASSERT_NE(row, nullptr) << c.letter;
        EXPECT_EQ(row->text, c.text) << effectKey(c.letter, c.parameter);
    }
    EXPECT_EQ(table.find(effectKey('q', 0x12)), nullptr);
}

TEST(EffectDescriptions, TheBarTellsTheValueOrTheHint)
{
    TesselEffectTable table;
    fillEffectDescriptions(table);
    const struct {
        char letter;
        int parameter;
        const char* title;
        const char* detail;
    } cases[] = {
        {'@', 0x7D, "@7D  Set Tempo (@xx)", "tempo 125"},
        {'A', 0x40, "A40  Set Pattern Resolution (Axx)", "resolution 64 (out of range)"},
        {'D', 0x30, "D30  Volume Slide Up (Dx0)", "speed 3"},
        {'D', 0x05, "D05  Volume Slide Down (D0x)", "speed 5"},
        {'H', 0x48, "H48  Vibrato (Hxy)", "rate x 4, y 8"},
        {'M', 0x41, "M41  Set Channel Volume (Mxx)", "volume 65 (out of range)"},
        {'S', 0x72, "S72  Release Previous Note (S7x)", "(0 = cut, 1 = off, 2 = fade)"},
        {'q', 0x00, "q00  Invalid effect", "(click or press F1 for effect list)"},
        {'.', 0x00, ".00  No effect", ""},
    };
    for (const auto& c : cases) {
        const TesselEffectSummary summary = describeEffect(table, c.letter, c.parameter);
        EXPECT_EQ(summary.title, c.title);
        EXPECT_EQ(summary.detail, c.detail) << c.title;
    }
}

} // namespace
