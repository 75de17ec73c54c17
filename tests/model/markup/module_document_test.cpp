#include "document_test_support.h"

#include <cstring>

namespace {

std::string emptySongText()
{
    std::string text = "<module version=\"1.100000\" tempo=\"120.000000\" resolution=\"6\" midiIn=\"1\" "
                       "rowsPerQuarter=\"4\">\n";
    char line[96];
    for (int i = 0; i < kChannels; ++i) {
        std::snprintf(line, sizeof line, " <channel index=\"%d\" name=\"Channel %-2d    \"/>\n", i, i + 1);
        text += line;
    }
    return text + "</module>\n";
}

} // namespace

TEST_F(DocumentTest, AnEmptySongIsTheModuleElementAndSixtyFourChannels)
{
    auto song = makeSong();
    documentVersion() = 0.5f;
    EXPECT_EQ(writeSong(*song), emptySongText());
    EXPECT_EQ(documentVersion(), platform::programVersion());
    EXPECT_EQ(markupDepth, 0);

    auto again = makeSong();
    again->tempo = 99.0;
    EXPECT_EQ(readSong(*again, emptySongText()), 2);
    EXPECT_EQ(writeSong(*again), emptySongText());
}

TEST_F(DocumentTest, TimingAttributesAndTheirDefaults)
{
    auto song = makeSong();
    song->timingMode = TesselModule::Speed;
    song->resolution = 5.95;
    song->tempo = 137.25;
    const std::string text = writeSong(*song);
    EXPECT_TRUE(contains(text, "tempo=\"137.250000\" speed=\"6\" midiIn"));
    EXPECT_FALSE(contains(text, "resolution="));

    auto read = makeSong();
    ASSERT_EQ(readSong(*read, text), 2);
    EXPECT_EQ(read->timingMode, TesselModule::Speed);
    EXPECT_EQ(read->resolution, 6.0);
    EXPECT_EQ(read->tempo, 137.25);

    // Nothing given: 120, resolution mode 6, midiIn 1, rows per quarter 4,
    // and the document version is the program's own.
    documentVersion() = 0.5f;
    read->tempo = 1.0;
    read->timingMode = TesselModule::Speed;
    ASSERT_EQ(readSong(*read, "<module/>"), 2);
    EXPECT_EQ(read->tempo, 120.0);
    EXPECT_EQ(read->timingMode, TesselModule::Resolution);
    EXPECT_EQ(read->resolution, 6.0);
    EXPECT_EQ(read->midiIn, 1);
    EXPECT_EQ(read->rowsPerQuarter, 4);
    EXPECT_EQ(documentVersion(), platform::programVersion());

    // A zero value keeps 6; "resolution" wins over "speed"; 0 rows per quarter is dropped.
    ASSERT_EQ(readSong(*read, "<module resolution=\"0\" speed=\"3\" rowsPerQuarter=\"0\" midiIn=\"0\"/>"), 2);
    EXPECT_EQ(read->timingMode, TesselModule::Resolution);
    EXPECT_EQ(read->resolution, 6.0);
    EXPECT_EQ(read->rowsPerQuarter, 4);
    EXPECT_EQ(read->midiIn, 0);
    ASSERT_EQ(readSong(*read, "<module version=\"0.9\" s=\"3\" R=\"12\" t=\"90\">"), 0);
    EXPECT_EQ(read->timingMode, TesselModule::Speed);
    EXPECT_EQ(read->resolution, 3.0);
    EXPECT_EQ(read->rowsPerQuarter, 12);
    EXPECT_EQ(read->tempo, 90.0);
    EXPECT_FLOAT_EQ(documentVersion(), 0.9f);
}

TEST_F(DocumentTest, PatternsAreLeftOutOnlyWhenEmptyWithTheFixedDefaults)
{
    auto song = makeSong();
    song->reset(120.0, 6.0, 8);   // defaults 128 rows, steps 32 and 8
    for (TesselPattern& p : song->patterns) {
        p.setLength(64);
        p.majorStep = 16;
        p.minorStep = 4;
    }
    song->patterns[3].setLabel("Abc");
    song->patterns[4].setLength(32);
    song->patterns[5].setLength(128);
    song->patterns[5].majorStep = 32;
    song->patterns[5].minorStep = 8;
    const std::string text = writeSong(*song);
    EXPECT_TRUE(contains(text, " <pattern index=\"3\" label=\"Abc\" majorStep=\"16\" minorStep=\"4\" length=\"64\">\n"
                               " </pattern>\n"));
    EXPECT_TRUE(contains(text, "<pattern index=\"4\" majorStep=\"16\" minorStep=\"4\" length=\"32\">"));
    EXPECT_TRUE(contains(text, "<pattern index=\"5\" majorStep=\"32\" minorStep=\"8\" length=\"128\">"));
    size_t patterns = 0;
    for (size_t at = text.find("<pattern "); at != std::string::npos; at = text.find("<pattern ", at + 1))
        ++patterns;
    EXPECT_EQ(patterns, 3u);

    // Read back during a load the defaults are 64, 16 and 4 whatever the song said.
    auto read = makeSong();
    read->reset(120.0, 6.0, 2);
    ASSERT_EQ(readSong(*read, text), 2);
    EXPECT_EQ(patternDefaults().length, 64);
    EXPECT_EQ(read->patterns[3].length(), 64);
    EXPECT_STREQ(read->patterns[3].label, "Abc");
    EXPECT_EQ(read->patterns[4].length(), 32);
    EXPECT_EQ(read->patterns[5].majorStep, 32);
    EXPECT_EQ(read->patterns[0].length(), 64);
}

TEST_F(DocumentTest, RowsWithEffectsAndSubrowsFormOneLineEach)
{
    TesselPattern pattern;
    pattern.index = 2;
    TesselTrack& track = pattern.tracks.getTrack(1);
    TesselRow& row = track.getRow(0);
    row.pitch = 60;
    row.instrument = 1;
    row.effect.command = 'D';
    TesselSubrow later(1);
    later.pitch = 62;
    later.panning = 10;
    row.setSubrow(1, later);
    TesselRow& other = track.getRow(63);
    other.volume = 0;
    other.panning = 64;
    other.effect.command = static_cast<char>(-56);
    other.effect.parameter = 0x1FF;
    const std::string text = writtenText([&](FILE* f) { pattern.writeXml(f); });
    EXPECT_EQ(text, "<pattern index=\"2\" majorStep=\"16\" minorStep=\"4\" length=\"64\">\n"
                    " <track index=\"1\">\n"
                    "  <row index=\"0\" pitch=\"60\" instrument=\"1\"><effect command=\"68\"/>"
                    "   <row index=\"1\" pitch=\"62\" panning=\"10\"></row>\n"
                    "</row>\n"
                    "  <row index=\"63\" volume=\"0\" panning=\"64\"><effect command=\"-56\" parameter=\"511\"/></row>\n"
                    " </track>\n"
                    "</pattern>\n");

    TesselPattern read;
    ASSERT_TRUE(readFirst(text, [&](TesselMemoryFile& f, const TesselElement& e) { return read.readXml(f, e); }));
    EXPECT_EQ(read.index, 2);
    const TesselRow* first = read.findRow(1, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->effect.command, 'D');
    EXPECT_EQ(first->effect.parameter, 0);
    ASSERT_NE(first->findSubrow(1), nullptr);
    EXPECT_EQ(first->findSubrow(1)->pitch, 62);
    EXPECT_EQ(first->findSubrow(1)->panning, 10);
    const TesselRow* last = read.findRow(1, 63);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->effect.command, static_cast<char>(-56));
    EXPECT_EQ(last->effect.parameter, 0x1FF);
    EXPECT_EQ(last->panning, 64);
    EXPECT_EQ(writtenText([&](FILE* f) { read.writeXml(f); }), text);
}

TEST_F(DocumentTest, TrackRowsAreWrittenOnlyInsideTheRowCount)
{
    TesselTrack track(5, kMaxRows);
    track.getRow(255).pitch = 1;
    track.getRow(10);   // exists but empty
    EXPECT_EQ(writtenText([&](FILE* f) { track.writeRows(f); }), "<row index=\"255\" pitch=\"1\"></row>\n");
    track.setLength(0);
    EXPECT_EQ(writtenText([&](FILE* f) { track.writeRows(f); }), "");

    TesselTrack blank(0, 64);
    blank.getRow(3);
    EXPECT_EQ(writtenText([&](FILE* f) { blank.writeRows(f); }), "");
}

TEST_F(DocumentTest, SamplesWriteTheirDataLoopsAndAnAlwaysPresentVibratoLine)
{
    auto song = makeSong();
    TesselSample& s = song->samples[4];
    s.setName("Snare");
    s.defaultPan = 20;
    s.speed = 22050;
    const std::string text = writeSong(*song);
    EXPECT_TRUE(contains(text,
                         " <sample index=\"4\" name=\"Snare                    \" defaultVolume=\"64\" "
                         "globalVolume=\"64\" defaultPan=\"20\">\n"
                         "<samplefile speed=\"22050\"/>"
                         "  <loop type=\"0\" begin=\"0\" end=\"0\"/>\n"
                         "  <sustain type=\"0\" begin=\"0\" end=\"0\"/>\n"
                         "  <vi s=\"0\" w=\"0\" r=\"0\" d=\"0\"/>\n"
                         " </sample>\n"))
        << text;

    // The open form of "samplefile" carries the file name as text.
    TesselSample read;
    const std::string open = "<sample index=\"7\" n=\"x\"><samplefile s=\"8000\" p=\"-128\">C:\\\\songs\\\\a&amp;b&lt;\n"
                             ".wav</samplefile><vibrato speed=\"1\" waveform=\"2\" rate=\"3\" depth=\"4\"/></sample>";
    ASSERT_TRUE(readFirst(open, [&](TesselMemoryFile& f, const TesselElement& e) { return read.readXml(f, nullptr, e); }));
    EXPECT_EQ(read.index, 7);
    EXPECT_EQ(read.filename, "C:\\songs\\a&b<.wav");
    EXPECT_EQ(read.speed, 8000);
    EXPECT_EQ(read.pitch, 119);   // the byte 128 is past the highest note
    EXPECT_EQ(read.nameText(), std::string("x") + std::string(24, ' '));
    EXPECT_EQ(read.vibrato, (TesselVibrato{1, 2, 4, 3}));
}

TEST_F(DocumentTest, ChannelsOrderAndOutputs)
{
    auto song = makeSong();
    TesselChannel& c = song->channels[2];
    c.panning = 0;
    c.volume = 10;
    c.cutoff = 50;
    c.resonance = 9;
    c.mute = 1;
    c.solo = 2;
    c.setName("<Bass & \"Co\">");
    c.colour = 0;
    song->orderList.entries[0].pattern = 3;
    song->orderList.entries[1].pattern = kOrderSkip;
    song->orderList.entries[7].pattern = kOrderEnd;
    song->outputBus.setName("A very long bus name indeed");
    song->outputBus.type = 1;
    const std::string text = writeSong(*song);
    EXPECT_TRUE(contains(text, " <channel index=\"2\" panning=\"0\" volume=\"10\" cutoff=\"50\" resonance=\"9\" "
                               "mute=\"1\" solo=\"2\" name=\"&lt;Bass &amp; &quot;Co&quot;&gt;\" colour=\"0\"/>\n"));
    EXPECT_TRUE(contains(text, " <order>\n  <entry index=\"0\" pattern=\"3\"/>\n  <entry index=\"1\" pattern=\"-2\"/>\n"
                               "  <entry index=\"7\" pattern=\"-3\"/>\n </order>\n"));
    EXPECT_TRUE(contains(text, " <outputs>\n  <bus index=\"0\" name=\"A very long b\" type=\"1\"/>\n </outputs>\n"));
    EXPECT_STREQ(song->outputBus.name, "A very long b");

    auto read = makeSong();
    ASSERT_EQ(readSong(*read, text), 2);
    EXPECT_EQ(read->channels[2].solo, 2);
    EXPECT_STREQ(read->channels[2].name, "<Bass & \"Co\">");
    EXPECT_EQ(read->channels[2].colour, 0u);
    EXPECT_EQ(read->orderList.entries[1].pattern, kOrderSkip);
    EXPECT_EQ(read->orderList.entries[7].pattern, kOrderEnd);
    EXPECT_EQ(read->orderList.length, 8);
    EXPECT_STREQ(read->outputBus.name, "A very long b");
    EXPECT_EQ(read->outputBus.type, 1);
    EXPECT_EQ(writeSong(*read), text);

    // Only bus 0 is the song's; a type above 2 becomes 2.
    ASSERT_EQ(readSong(*read, "<module><outputs><bus index=\"1\" name=\"x\" type=\"0\"/>"
                              "<b i=\"0\" n=\"Main bus of the song\" t=\"9\"/></outputs></module>"),
              2);
    EXPECT_STREQ(read->outputBus.name, "Main bus of t");
    EXPECT_EQ(read->outputBus.type, 2);
}

TEST_F(DocumentTest, AnUnfinishedDocumentKeepsWhatWasReadAndAnswersZero)
{
    auto song = makeSong();
    EXPECT_EQ(readSong(*song, "<module tempo=\"100\"><channel index=\"1\" volume=\"3\"/><pattern index=\"1\" "
                              "length=\"16\"><track index=\"0\"><row index=\"2\" pitch=\"5\">"),
              0);
    EXPECT_EQ(song->tempo, 100.0);
    EXPECT_EQ(song->channels[1].volume, 3);
    ASSERT_NE(song->patterns[1].findRow(0, 2), nullptr);
    EXPECT_EQ(song->patterns[1].findRow(0, 2)->pitch, 5);
    EXPECT_EQ(song->patterns[1].length(), 16);
}
