#include "model/instrument/instrument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

std::unique_ptr<TesselInstrument> slot(int index)
{
    auto i = std::make_unique<TesselInstrument>();
    i->index = index;
    i->reset();
    return i;
}

} // namespace

TEST(InstrumentTest, NewSlotIsEmptyWithDefaultKeymapAndLabel)
{
    auto i = slot(4);
    EXPECT_STREQ(i->label, "05");
    EXPECT_EQ(i->compareDefaultLabel(), 0);
    EXPECT_EQ(i->keymap.length(), 120);
    EXPECT_EQ(i->keymap.index, -1);
    for (int k = 0; k < kKeys; ++k) {
        ASSERT_NE(i->keymap.rowAt(k), nullptr);
        EXPECT_EQ(i->keymap.rowAt(k)->pitch, k);
        EXPECT_EQ(i->keymap.rowAt(k)->instrument, 5);
    }
    EXPECT_STREQ(i->midiOutPort, "(VST Host)");
    EXPECT_NEAR(i->midiPitchBendScale, 5909.2789, 1e-4);
    EXPECT_EQ(i->midiEffects[9], 9);
    EXPECT_TRUE(i->isEmpty());
    i->setName("Bass");
    EXPECT_FALSE(i->isEmpty());
}

TEST(InstrumentTest, EachOfTheSevenRulesBreaksEmptiness)
{
    auto changed = [](auto change) {
        auto i = slot(2);
        change(*i);
        return i->isEmpty();
    };
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.setLabel("AB"); }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.colour = 0xFF0000; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.keymap.getRow(7).volume = 40; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.keymap.regionsOf(3).insert({1, 64, 3}); }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.keymap.freeRow(10); }));   // a blank row is not key 10
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.defaultRotation = 0; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.midiPortNumber = -1; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.filterRange = 1; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.envelopes[kFilterEnvelope].carry = 1; }));
    EXPECT_FALSE(changed([](TesselInstrument& i) { i.midiEffects[3] = 0; }));
    // The port name is no part of the test.
    EXPECT_TRUE(changed([](TesselInstrument& i) { i.setMidiOutPort("Synth"); }));
}

TEST(InstrumentTest, CopiedLabelsFollowTheSourcesOwnLabelOnly)
{
    auto source = slot(2);
    auto target = slot(7);
    source->setName("Lead");
    source->keymap.regionsOf(60).insert({1, 64, 3});
    source->envelopes[kVolumeEnvelope].nodeCount = 2;
    source->envelopes[kVolumeEnvelope].nodes[1] = {10, 0, 0.0f, 0, 0.0f};
    source->envelopes[kVolumeEnvelope].nodes[0].value = 64;
    source->midiPortNumber = 3;
    target->assign(*source);
    EXPECT_STREQ(target->label, "08");
    EXPECT_EQ(target->index, 7);
    EXPECT_EQ(target->nameText(), source->nameText());
    EXPECT_EQ(target->keymap.regionsOf(60), source->keymap.regionsOf(60));
    EXPECT_EQ(target->keymap.rowAt(0)->instrument, 3);   // the rows are copied as they are
    EXPECT_FLOAT_EQ(target->envelopes[kVolumeEnvelope].nodes[1].slope, -6.4f);
    EXPECT_EQ(target->midiPortNumber, 3);

    source->setLabel("Bd");
    target->assign(*source);
    EXPECT_STREQ(target->label, "Bd");

    TesselInstrument copy(*source);
    EXPECT_EQ(copy.index, 2);
    EXPECT_STREQ(copy.label, "Bd");
}

TEST(InstrumentTest, PitchBendScaleNeedsARangeAboveSix)
{
    auto i = slot(0);
    i->setMidiPitchBend(12);
    EXPECT_NEAR(i->midiPitchBendScale, 11818.56, 0.01);
    for (int range : {0, 6, 3, -12}) {
        i->setMidiPitchBend(range);
        EXPECT_EQ(i->midiPitchBend, range);
        EXPECT_NEAR(i->midiPitchBendScale, 11818.56, 0.01);
        EXPECT_TRUE(std::isfinite(i->midiPitchBendScale));
    }
}

TEST(EnvelopeTest, SlopesBetweenNodesAndOnOneTick)
{
    TesselEnvelope e;
    e.nodeCount = 4;
    e.nodes[0] = {0, 64, 0.0f, 0, 0.0f};
    e.nodes[1] = {10, 0, 0.0f, 20, 0.0f};
    e.nodes[2] = {10, 32, 0.0f, 0, 0.0f};   // same tick: a step
    e.nodes[3] = {5, 0, 0.0f, 0, 0.0f};     // out of order
    e.nodes[0].slope = 9.0f;
    e.computeSlopes();
    EXPECT_FLOAT_EQ(e.nodes[1].slope, -6.4f);
    EXPECT_FLOAT_EQ(e.nodes[1].slope2, 2.0f);
    EXPECT_EQ(e.nodes[2].slope, 0.0f);
    EXPECT_EQ(e.nodes[2].slope2, 0.0f);
    EXPECT_EQ(e.nodes[3].slope, 0.0f);
    EXPECT_EQ(e.nodes[0].slope, 9.0f);   // node 0 is left alone

    // Values are unsigned 16-bit: 65535 down to 0 is a large negative slope.
    e.nodeCount = 2;
    e.nodes[0] = {0, 65535, 0.0f, 0, 0.0f};
    e.nodes[1] = {65535, 0, 0.0f, 0, 0.0f};
    e.computeSlopes();
    EXPECT_FLOAT_EQ(e.nodes[1].slope, -1.0f);

    e.nodeCount = 999;   // a broken count reads no further than the nodes
    e.computeSlopes();
}

TEST(EnvelopeTest, AssignTakesNodesAndLoopsAndEmptinessLooksAtAllFields)
{
    TesselEnvelope a;
    EXPECT_TRUE(a.isEmpty());
    a.enabled = TesselEnvelope::Milliseconds;
    a.loop = {1, 2, 3, {7, 0.5f}, {9, 0.5f}};
    a.nodeCount = 3;
    a.nodes[2].tick = 30;
    TesselEnvelope b;
    b.assign(a);
    EXPECT_EQ(b.enabled, 2);
    EXPECT_EQ(b.loop.workingBegin, (TesselSamplePos{2, 0.0f}));
    EXPECT_EQ(b.loop.workingEnd, (TesselSamplePos{3, 0.0f}));
    EXPECT_EQ(b.nodes[2].tick, 30);
    EXPECT_FALSE(b.isEmpty());
    b.reset();
    EXPECT_TRUE(b.isEmpty());
    b.sustain.end = 1;
    EXPECT_FALSE(b.isEmpty());
}

TEST(KeymapTest, RegionLookupStopsAtTheFirstZeroRegion)
{
    TesselKeyRegions r;
    r.regions[0] = {1, 64, 3};
    r.regions[1] = {65, 127, 4};
    ASSERT_NE(r.find(100, 0), nullptr);
    EXPECT_EQ(r.find(100, 0)->value, 4);
    EXPECT_EQ(r.find(100, 1), nullptr);
    EXPECT_EQ(r.find(0, 0), nullptr);
    EXPECT_EQ(r.find(256 + 100, 0)->value, 4);   // compared as 8-bit

    r.regions[0] = {0, 0, 0};
    EXPECT_EQ(r.find(100, 0), nullptr);

    TesselKeyRegions overlap;
    overlap.regions = {{{1, 127, 5}, {50, 60, 6}}};
    EXPECT_EQ(overlap.find(55, 0)->value, 5);
    EXPECT_EQ(overlap.find(55, 1)->value, 6);
}

TEST(KeymapTest, InsertKeepsRegionsSortedAndRefusesAFifth)
{
    TesselKeyRegions r;
    EXPECT_EQ(r.insert({65, 127, 4}), 0);
    EXPECT_EQ(r.insert({1, 64, 3}), 0);
    EXPECT_EQ(r.insert({1, 32, 2}), 0);
    EXPECT_EQ(r.insert({65, 100, 9}), 2);
    EXPECT_EQ(r.regions[0], (TesselKeyRegion{1, 32, 2}));
    EXPECT_EQ(r.regions[1], (TesselKeyRegion{1, 64, 3}));
    EXPECT_EQ(r.regions[2], (TesselKeyRegion{65, 100, 9}));
    EXPECT_EQ(r.regions[3], (TesselKeyRegion{65, 127, 4}));
    EXPECT_EQ(r.insert({2, 3, 1}), -1);
    EXPECT_EQ(r.regions[3], (TesselKeyRegion{65, 127, 4}));
    TesselKeyRegions empty;
    EXPECT_EQ(empty.insert({0, 0, 0}), -1);
}

TEST(KeymapTest, DefaultnessAndSampleUse)
{
    TesselKeymap map;
    map.reset(4);
    EXPECT_TRUE(map.isDefault(4));
    EXPECT_FALSE(map.isDefault(3));
    EXPECT_TRUE(map.usesSample(5));
    EXPECT_FALSE(map.usesSample(6));
    map.getRow(20).volume = 40;
    EXPECT_FALSE(map.isDefault(4));
    map.reset(4);
    map.regionsOf(119).regions[3].value = 6;   // a slot behind the list still counts as use
    EXPECT_TRUE(map.usesSample(6));
    EXPECT_TRUE(map.isDefault(4));   // only first regions count for defaultness
    map.regionsOf(0).regions[0] = {1, 2, 0};
    EXPECT_FALSE(map.isDefault(4));
    map.getRow(1).effect.command = 'D';
    map.reset(4);
    EXPECT_TRUE(map.isDefault(4));
}
