#include "document_song_fixture.h"
#include "document_test_support.h"
#include "model/file_test_support.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"

TEST_F(DocumentTest, WriteReadWriteKeepsEveryByteOfAFullSong)
{
    auto song = makeSong();
    fillEverything(*song);
    checkEverything(*song);
    const std::string first = writeSong(*song);

    auto read = makeSong();
    ASSERT_EQ(readSong(*read, first), 2);
    resolveMidiPorts(*read);
    checkEverything(*read);
    const std::string second = writeSong(*read);
    EXPECT_EQ(second, first);
    EXPECT_EQ(markupDepth, 0);

    // Spot checks of the layout: nodes on one line, regions a line per key.
    EXPECT_NE(first.find("<node tick=\"1\" value=\"64\" value2=\"0\"/><node tick=\"11\""), std::string::npos);
    EXPECT_NE(first.find("<region key=\"60\" from=\"0\" to=\"63\" value=\"5\"/>     "
                         "<region key=\"60\" from=\"64\" to=\"127\" value=\"6\"/>\n"),
              std::string::npos);
    EXPECT_NE(first.find("MIDIEffect0=\"20\""), std::string::npos);
    EXPECT_NE(first.find("MIDIEffect9=\"29\""), std::string::npos);
}

TEST_F(DocumentTest, ShortNamesReadLikeLongNames)
{
    auto song = makeSong();
    fillEverything(*song);
    const std::string longText = writeSong(*song);
    const std::string shortText = toShortNames(longText);
    ASSERT_EQ(shortText.rfind("<mo v=\"1.100000\" t=\"133.500000\" s=\"4\" m=\"0\" R=\"3\">", 0), 0u) << shortText;
    ASSERT_NE(shortText.find("<pi i=\"1\" o=\"1\" t=\"1\" p=\"Synth &quot;A&quot; &lt;1&gt;\" c=\"10\" P=\"5\" "
                             "B=\"1\" b=\"2\" m=\"12\" M=\"1\" v=\"100\" m0=\"20\""),
              std::string::npos);
    ASSERT_NE(shortText.find("<ro i=\"3\" v=\"10\" x=\"0\"></ro>"), std::string::npos);

    auto fromShort = makeSong();
    ASSERT_EQ(readSong(*fromShort, shortText), 2);
    resolveMidiPorts(*fromShort);
    checkEverything(*fromShort);
    EXPECT_EQ(writeSong(*fromShort), longText);
}

TEST_F(DocumentTest, OutputIsWellFormedForAnIndependentParser)
{
    ASSERT_TRUE(outside_tools::have({"xmllint"}));
    auto song = makeSong();
    fillEverything(*song);
    ScratchFolder folder;
    const std::string path = folder.write("Module.xml", writeSong(*song));
    EXPECT_TRUE(testfiles::run("xmllint --noout '" + path + "'"));
    const std::string emptyPath = folder.write("Empty.xml", writeSong(*makeSong()));
    EXPECT_TRUE(testfiles::run("xmllint --noout '" + emptyPath + "'"));
    // The checker does fail on broken text.
    const std::string broken = folder.write("Broken.xml", "<module><row></module>");
    EXPECT_FALSE(testfiles::run("xmllint --noout '" + broken + "' 2>/dev/null"));
}
