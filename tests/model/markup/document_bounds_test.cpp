#include "document_test_support.h"

// Indexes and counts from a document never reach past the song's tables.
TEST_F(DocumentTest, IndexesOutsideTheTablesAreDropped)
{
    auto song = makeSong();
    const std::string text =
        "<module>"
        "<sample index=\"99\" name=\"a\"/><sample index=\"-1\" name=\"b\"/><sample index=\"2147483647\" name=\"c\"/>"
        "<instrument index=\"99\" name=\"x\"/><instrument index=\"-2147483648\" name=\"y\"/>"
        "<channel index=\"64\" volume=\"1\"/><channel index=\"-1\" volume=\"2\"/>"
        "<pattern index=\"200\" length=\"8\"/><pattern index=\"-1\" length=\"8\"/>"
        "<pattern index=\"3\" length=\"300\"><track index=\"64\"><row index=\"0\" pitch=\"1\"/></track>"
        "<track index=\"-1\"><row index=\"0\" pitch=\"2\"/></track>"
        "<track index=\"2\" length=\"999\"><row index=\"64\" pitch=\"3\"/><row index=\"-1\" pitch=\"4\"/>"
        "<row index=\"63\" pitch=\"5\"><row index=\"-1\" pitch=\"6\"></row><row index=\"2\" pitch=\"7\"></row></row>"
        "</track></pattern>"
        "<pattern index=\"4\" length=\"0\"/><pattern index=\"5\" length=\"256\"/>"
        "<order><entry index=\"256\" pattern=\"1\"/><entry index=\"-1\" pattern=\"1\"/>"
        "<entry index=\"0\" pattern=\"200\"/><entry index=\"1\" pattern=\"-4\"/><entry index=\"2\" pattern=\"-3\"/>"
        "<entry index=\"3\" pattern=\"199\"/><entry index=\"4\"/></order>"
        "<instrument index=\"0\"><general><keymap><row index=\"120\" pitch=\"1\"/><row index=\"-1\" pitch=\"1\"/>"
        "<row index=\"119\" pitch=\"2\"/><map><region key=\"120\" from=\"1\" to=\"2\" value=\"3\"/>"
        "<region key=\"-1\" from=\"1\" to=\"2\" value=\"3\"/><region from=\"1\" to=\"2\" value=\"3\"/></map>"
        "</keymap></general></instrument>"
        "</module>";
    ASSERT_EQ(readSong(*song, text), 2);
    for (const TesselSample& s : song->samples)
        EXPECT_TRUE(s.isEmpty()) << s.index;
    for (int i = 1; i < kInstruments; ++i)
        EXPECT_TRUE(song->instruments[static_cast<size_t>(i)].isEmpty()) << i;
    for (const TesselChannel& c : song->channels)
        EXPECT_EQ(c.volume, 64);

    const TesselPattern& p = song->patterns[3];
    EXPECT_EQ(p.length(), 64);   // 300 rows do not fit
    EXPECT_EQ(p.tracks.trackAt(0), nullptr);
    ASSERT_NE(p.tracks.trackAt(2), nullptr);
    EXPECT_EQ(p.tracks.trackAt(2)->length(), 64);
    EXPECT_EQ(p.findRow(2, 63)->pitch, 5);
    EXPECT_EQ(p.findRow(2, 63)->findSubrow(2)->pitch, 7);
    EXPECT_EQ(p.findRow(2, 63)->subrows()->size(), 1u);
    for (int r = 0; r < 63; ++r)
        EXPECT_EQ(p.findRow(2, r), nullptr) << r;
    EXPECT_EQ(song->patterns[4].length(), 64);
    EXPECT_EQ(song->patterns[5].length(), 256);
    for (int i = 0; i < kPatterns; ++i) {
        if (i != 3 && i != 5) {
            EXPECT_TRUE(song->patterns[static_cast<size_t>(i)].isUnused()) << i;
        }
    }

    const auto& entries = song->orderList.entries;
    EXPECT_EQ(entries[0].pattern, kOrderEmpty);
    EXPECT_EQ(entries[1].pattern, kOrderEmpty);
    EXPECT_EQ(entries[2].pattern, kOrderEnd);
    EXPECT_EQ(entries[3].pattern, 199);
    EXPECT_EQ(entries[4].pattern, kOrderEmpty);
    EXPECT_EQ(entries[255].pattern, kOrderEmpty);

    const TesselInstrument& in = song->instruments[0];
    EXPECT_EQ(in.keymap.keyRow(119).pitch, 2);
    for (int k = 0; k < 119; ++k)
        EXPECT_EQ(in.keymap.keyRow(k).pitch, k);
    EXPECT_EQ(in.keymap.regionsOf(0).regions[0], (TesselKeyRegion{1, 2, 3}));   // "key" absent: key 0
    EXPECT_EQ(in.keymap.regionsOf(0).count(), 1);
}

TEST_F(DocumentTest, AnyPrefixOfADocumentReadsWithoutHarm)
{
    auto song = makeSong();
    song->samples[1].setName("s");
    song->instruments[1].volumeEnvelope().nodeCount = 3;
    song->instruments[1].keymap.regionsOf(3).insert({1, 2, 3});
    song->patterns[2].tracks.getTrack(4).getRow(5).pitch = 6;
    song->orderList.entries[0].pattern = 2;
    const std::string text = writeSong(*song);
    auto read = makeSong();
    for (size_t n = 0; n + 1 < text.size(); n += 13)
        EXPECT_NE(readSong(*read, text.substr(0, n)), 2) << n;
    EXPECT_EQ(readSong(*read, text), 2);
}
