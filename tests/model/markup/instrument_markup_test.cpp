#include "document_test_support.h"

namespace {

std::string moduleWith(const char* version, const std::string& body)
{
    return std::string("<module version=\"") + version + "\">" + body + "</module>";
}

const char kCarryEverywhere[] =
    "<instrument index=\"0\" colour=\"2\"><volume><envelope carry=\"1\"/></volume>"
    "<panning><envelope c=\"1\"></envelope></panning><filter><envelope carry=\"1\"></envelope></filter>"
    "<pitch><envelope carry=\"1\" enabled=\"1\"></envelope></pitch></instrument>";

} // namespace

TEST_F(DocumentTest, OldDocumentsLoseCarryFlagsAndUsePaletteColours)
{
    auto song = makeSong();
    ASSERT_EQ(readSong(*song, moduleWith("0.9", kCarryEverywhere)), 2);
    const TesselInstrument& old = song->instruments[0];
    for (const TesselEnvelope& e : old.envelopes)
        EXPECT_EQ(e.carry, 0);
    EXPECT_EQ(old.envelopes[kPitchEnvelope].enabled, 1);
    EXPECT_EQ(old.colour, 0x80FF80u);

    ASSERT_EQ(readSong(*song, moduleWith("1.0", kCarryEverywhere)), 2);
    for (const TesselEnvelope& e : song->instruments[0].envelopes)
        EXPECT_EQ(e.carry, 1);
    EXPECT_EQ(song->instruments[0].colour, 0x80FF80u);

    // 0.935 itself is not below 0.935; palette indexes outside 0..4 are dropped.
    ASSERT_EQ(readSong(*song, moduleWith("0.935", "<in i=\"1\" c=\"5\"><vo><en c=\"1\"/></vo></in>")), 2);
    EXPECT_EQ(song->instruments[1].volumeEnvelope().carry, 1);
    EXPECT_EQ(song->instruments[1].colour, 0xFFFFFFu);
    ASSERT_EQ(readSong(*song, moduleWith("1.003", "<in i=\"1\" c=\"2\"/>")), 2);
    EXPECT_EQ(song->instruments[1].colour, 2u);
    EXPECT_FLOAT_EQ(documentVersion(), 1.003f);
}

TEST_F(DocumentTest, EnvelopesWithOnlyCarryAreWrittenAndNodesStopAtThirtyTwo)
{
    TesselInstrument in;
    in.index = 5;
    in.reset();
    in.volumeEnvelope().carry = 1;
    const std::string text = writtenText([&](FILE* f) { in.writeXml(5, f); });
    EXPECT_EQ(text, "<instrument index=\"5\" name=\"                         \" label=\"06\" colour=\"16777215\">\n"
                    " <general>\n </general>\n"
                    " <volume>\n  <envelope carry=\"1\">\n  </envelope>\n </volume>\n"
                    " <panning>\n </panning>\n <filter>\n </filter>\n <pitch>\n </pitch>\n"
                    "</instrument>\n");
    TesselInstrument read;
    ASSERT_TRUE(readFirst(text, [&](TesselMemoryFile& f, const TesselElement& e) { return read.readXml(f, e); }));
    EXPECT_EQ(read.index, 5);
    EXPECT_EQ(read.volumeEnvelope().carry, 1);
    EXPECT_STREQ(read.label, "06");

    std::string nodes = "<envelope enabled=\"1\">";
    for (int i = 0; i < 40; ++i)
        nodes += "<node tick=\"" + std::to_string(i * 2) + "\" value=\"" + std::to_string(i) + "\"/>";
    nodes += "</envelope>";
    TesselEnvelope envelope;
    ASSERT_TRUE(readFirst(nodes, [&](TesselMemoryFile& f, const TesselElement& e) { return envelope.readXml(f, e); }));
    EXPECT_EQ(envelope.count(), kEnvelopeNodes);
    EXPECT_EQ(envelope.node(31).tick, 62);
    EXPECT_FLOAT_EQ(envelope.node(31).slope, 0.5f);
}

TEST_F(DocumentTest, KeyMapsWriteOnlyTheKeysThatDifferAndKeepFourSortedRegions)
{
    TesselInstrument in;
    in.index = 2;
    in.reset();
    in.keymap.getRow(60).pitch = 72;
    const std::string text = writtenText([&](FILE* f) { in.writeXml(2, f); });
    EXPECT_TRUE(contains(text, " <general>\n  <keymap>\n   <row index=\"60\" pitch=\"72\" instrument=\"3\"></row>\n"
                               "  </keymap>\n </general>\n"))
        << text;
    EXPECT_FALSE(contains(text, "<map>"));

    const std::string five = "<in i=\"2\"><ge><ke><row i=\"61\" p=\"1\"/><mp>"
                             "<rg k=\"7\" f=\"50\" t=\"60\" v=\"1\"/><rg k=\"7\" f=\"10\" t=\"90\" v=\"2\"/>"
                             "<rg k=\"7\" f=\"10\" t=\"20\" v=\"3\"/><rg k=\"7\" f=\"70\" t=\"80\" v=\"4\"/>"
                             "<rg k=\"7\" f=\"0\" t=\"5\" v=\"5\"/></mp></ke></ge></in>";
    TesselInstrument read;
    ASSERT_TRUE(readFirst(five, [&](TesselMemoryFile& f, const TesselElement& e) { return read.readXml(f, e); }));
    const auto& regions = read.keymap.regionsOf(7).regions;
    EXPECT_EQ(regions[0], (TesselKeyRegion{10, 20, 3}));
    EXPECT_EQ(regions[1], (TesselKeyRegion{10, 90, 2}));
    EXPECT_EQ(regions[2], (TesselKeyRegion{50, 60, 1}));
    EXPECT_EQ(regions[3], (TesselKeyRegion{70, 80, 4}));
    EXPECT_EQ(read.keymap.keyRow(61).pitch, 1);
    EXPECT_EQ(read.keymap.keyRow(61).instrument, 0);   // a self-contained key row replaces the whole row
    EXPECT_EQ(read.keymap.keyRow(62).instrument, 3);
}

TEST_F(DocumentTest, ShortFlagNamesAreReadByTheirExactCase)
{
    // "m" is the pitch-bend range and "M" the high-resolution flag; "P" is
    // the program and "p" the port; "V" the global volume and "v" the default.
    TesselInstrument a;
    ASSERT_TRUE(readFirst("<in i=\"0\"><pi m=\"48\" P=\"7\"/></in>",
                          [&](TesselMemoryFile& f, const TesselElement& e) { return a.readXml(f, e); }));
    EXPECT_EQ(a.midiPitchBend, 48);
    EXPECT_EQ(a.midiPitchBendHiRes, 0);
    EXPECT_EQ(a.midiProgram, 7);
    EXPECT_STREQ(a.midiOutPort, kDefaultMidiOutPort);

    TesselInstrument b;
    ASSERT_TRUE(readFirst("<in i=\"0\"><pi M=\"1\" p=\"Port 9\"/></in>",
                          [&](TesselMemoryFile& f, const TesselElement& e) { return b.readXml(f, e); }));
    EXPECT_EQ(b.midiPitchBend, kDefaultMidiPitchBend);
    EXPECT_EQ(b.midiPitchBendHiRes, 1);
    EXPECT_EQ(b.midiProgram, -1);
    EXPECT_STREQ(b.midiOutPort, "Port 9");

    auto song = makeSong();
    ASSERT_EQ(readSong(*song, "<mo><sa i=\"1\" V=\"9\"/><ch i=\"0\" M=\"1\" S=\"1\"/></mo>"), 2);
    EXPECT_EQ(song->samples[1].globalVolume, 9);
    EXPECT_EQ(song->samples[1].defaultVolume, 64);
    EXPECT_EQ(song->channels[0].mute, 0);
    EXPECT_EQ(song->channels[0].solo, 0);
}
