#include "model/import/it_import_test_support.h"

namespace {

using ittest::Bytes;
using ittest::Envelope;

TEST_F(ItImportTest, NewLayoutInstrumentWithEnvelopesKeyTableAndMidi)
{
    ittest::File f;
    f.compatible = 0x214;
    f.flags = 0x100D;   // extended filter range
    f.pitchWheelDepth = 12;
    Envelope volume{0x07, {{64, 0}, {32, 10}, {0, 30}}};
    volume.loopBegin = 0;
    volume.loopEnd = 2;
    volume.sustainBegin = 1;
    volume.sustainEnd = 1;
    const Envelope panning{0x09, {{-32, 0}, {32, 20}, {0, 40}}};
    const Envelope filter{0x81, {{-32, 0}, {0, 4}}};
    Bytes in = ittest::newInstrument("A long instrument name here", {volume, panning, filter});
    ittest::put8(in, 17, 3);       // new-note action
    ittest::put8(in, 18, 1);
    ittest::put8(in, 19, 2);
    ittest::put16(in, 20, 512);    // fade-out
    ittest::put8(in, 22, 0xF0);    // pitch-pan separation -16
    ittest::put8(in, 23, 48);
    ittest::put8(in, 24, 100);
    ittest::put8(in, 25, 0x80 | 20);   // pan off
    ittest::put8(in, 60, 17);
    ittest::put8(in, 61, 255);
    ittest::put8(in, 62, 3);
    ittest::put8(in, 63, 255);
    ittest::put8(in, 64 + 2 * 60, 72);        // key 60 plays note 72
    ittest::put8(in, 65 + 2 * 60, 7);         // of sample 7
    ittest::put8(in, 65 + 2 * 61, 120);       // no such sample
    f.instruments.push_back(in);
    Bytes second = ittest::newInstrument("second", {});
    ittest::put8(second, 25, 40);
    ittest::put8(second, 60, 0);
    f.instruments.push_back(second);
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());

    const TesselInstrument& i = song->instruments[0];
    EXPECT_EQ(i.nameText(), "A long instrument name he");
    EXPECT_EQ(i.newNoteAction, 3);
    EXPECT_EQ(i.duplicateCheckType, 1);
    EXPECT_EQ(i.duplicateAction, 2);
    EXPECT_EQ(i.fadeOut, 512);
    EXPECT_EQ(i.pitchSeparation, 0xF0);
    EXPECT_EQ(i.pitchCentre, 48);
    EXPECT_EQ(i.globalVolume, 100);
    EXPECT_EQ(i.defaultPan, -1);
    EXPECT_EQ(i.midiChannel, 0);
    EXPECT_EQ(i.midiOut, 1);
    EXPECT_EQ(i.midiProgram, 0);
    EXPECT_EQ(i.midiBankMsb, 3);
    EXPECT_EQ(i.midiBankLsb, 0);
    EXPECT_EQ(i.midiPitchBend, 12);
    EXPECT_EQ(i.filterRange, 1);
    EXPECT_EQ(i.keymap.keyRow(0).pitch, 0);
    EXPECT_EQ(i.keymap.keyRow(0).instrument, 1);
    EXPECT_EQ(i.keymap.keyRow(60).pitch, 72);
    EXPECT_EQ(i.keymap.keyRow(60).instrument, 7);
    EXPECT_EQ(i.keymap.keyRow(61).instrument, 0);

    const TesselEnvelope& v = i.envelopes[kVolumeEnvelope];
    EXPECT_EQ(v.enabled, TesselEnvelope::Ticks);
    EXPECT_EQ(v.carry, 0);
    EXPECT_EQ(v.loop.type, 1);
    EXPECT_EQ(v.loop.end, 2);
    EXPECT_EQ(v.sustain.type, 1);
    EXPECT_EQ(v.sustain.begin, 1);
    ASSERT_EQ(v.count(), 3);
    EXPECT_EQ(v.node(1).tick, 10);
    EXPECT_EQ(v.node(1).value, 32);
    EXPECT_FLOAT_EQ(v.node(1).slope, -3.2f);
    const TesselEnvelope& p = i.envelopes[kPanningEnvelope];
    EXPECT_EQ(p.carry, 1);
    EXPECT_EQ(p.loop.type, 0);
    EXPECT_EQ(p.node(0).value, 0);
    EXPECT_EQ(p.node(1).value, 64);
    EXPECT_EQ(p.node(2).value, 32);
    // A filter envelope in the third slot is not taken as pitch.
    EXPECT_EQ(i.envelopes[kPitchEnvelope].enabled, TesselEnvelope::Off);
    EXPECT_EQ(i.envelopes[kPitchEnvelope].count(), 2);

    const TesselInstrument& j = song->instruments[1];
    EXPECT_EQ(j.defaultPan, 40);
    EXPECT_EQ(j.midiChannel, 1);
    EXPECT_EQ(j.midiOut, 0);
    EXPECT_EQ(j.filterRange, 1);
}

TEST_F(ItImportTest, HostileEnvelopesAndKeyTablesAreBoundedWithWarnings)
{
    ittest::File f;
    f.compatible = 0x214;
    Envelope volume{0x07, {{64, 0}, {100, 40000}}};
    volume.count = 200;      // more nodes than the file has room for
    volume.loopBegin = 30;   // past the nodes
    volume.loopEnd = 250;
    volume.sustainBegin = 5;
    volume.sustainEnd = 2;
    const Envelope panning{0x01, {{100, 0}, {-100, 5}}};
    Bytes in = ittest::newInstrument("bad", {volume, panning, {}});
    ittest::put8(in, 64 + 2 * 5, 200);   // key 5 plays a note past 119
    ittest::put8(in, 64 + 2 * 6, 254);   // key 6 cuts
    ittest::put8(in, 64 + 2 * 7, 253);   // key 7 is unused: no warning
    ittest::put8(in, 65 + 2 * 7, 0);
    ittest::put8(in, 25, 127);           // default pan past 64
    f.instruments.push_back(in);
    ASSERT_EQ(import(f.build()), kImportLoaded);

    const TesselInstrument& i = song->instruments[0];
    EXPECT_EQ(i.keymap.keyRow(5).pitch, 5);
    EXPECT_EQ(i.keymap.keyRow(6).pitch, 254);
    EXPECT_EQ(i.keymap.keyRow(7).pitch, 7);
    EXPECT_EQ(i.defaultPan, 64);
    const TesselEnvelope& v = i.envelopes[kVolumeEnvelope];
    EXPECT_EQ(v.count(), 25);
    EXPECT_EQ(v.loop.begin, 24);
    EXPECT_EQ(v.loop.end, 24);
    EXPECT_LE(v.sustain.begin, v.sustain.end);
    EXPECT_EQ(v.node(1).value, 64);
    EXPECT_EQ(v.node(1).tick, kMaxEnvelopeTick);
    const TesselEnvelope& p = i.envelopes[kPanningEnvelope];
    EXPECT_EQ(p.node(0).value, 64);
    EXPECT_EQ(p.node(1).value, 0);
    // Key table, node count, loop points, and node values (once per envelope that has them).
    EXPECT_EQ(report.warnings.size(), 5u);
}

TEST_F(ItImportTest, OldLayoutInstrumentEndsItsNodeListAtTick255)
{
    ittest::File f;
    f.compatible = 0x100;
    Bytes in = ittest::oldInstrument("old one", 0x03, {{0, 64}, {8, 16}, {255, 0}, {9, 9}});
    ittest::put8(in, 18, 0);
    ittest::put8(in, 19, 1);
    ittest::put16(in, 24, 200);
    ittest::put8(in, 26, 2);
    ittest::put8(in, 27, 5);
    f.instruments.push_back(in);
    Bytes plain = ittest::oldInstrument("plain", 0, {});
    f.instruments.push_back(plain);
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());

    const TesselInstrument& i = song->instruments[0];
    EXPECT_EQ(i.nameText().substr(0, 7), "old one");
    EXPECT_EQ(i.fadeOut, 200);
    EXPECT_EQ(i.newNoteAction, 2);
    EXPECT_EQ(i.duplicateCheckType, 1);
    EXPECT_EQ(i.duplicateAction, 0);
    EXPECT_EQ(i.globalVolume, 64);
    const TesselEnvelope& v = i.envelopes[kVolumeEnvelope];
    EXPECT_EQ(v.enabled, TesselEnvelope::Ticks);
    EXPECT_EQ(v.loop.type, 1);
    EXPECT_EQ(v.loop.end, 1);
    ASSERT_EQ(v.count(), 2);
    EXPECT_EQ(v.node(1).tick, 8);
    EXPECT_EQ(v.node(1).value, 16);
    EXPECT_FLOAT_EQ(v.node(1).slope, -6.0f);
    EXPECT_EQ(song->instruments[1].duplicateCheckType, 0);
    EXPECT_EQ(song->instruments[1].envelopes[kVolumeEnvelope].count(), 0);
}

} // namespace
