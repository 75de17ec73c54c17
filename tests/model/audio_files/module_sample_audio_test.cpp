#include "model/file_test_support.h"
#include "model/markup/document_test_support.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"
#include "sample_audio_support.h"

TEST_F(DocumentTest, SampleAudioTravelsAsWavEntriesOfTheZip)
{
    ScratchFolder folder;
    const std::string zip = folder.file("song.zip");
    auto song = makeSong();
    giveAudio(song->samples[0]);
    giveAudio(song->samples[12]);
    song->samples[12].setName("twelve");

    // Without the store flag the zip is not touched.
    const std::string withoutAudio = writeSong(*song);
    EXPECT_FALSE(fileExists(zip.c_str()));

    const std::string text = writtenText([&](FILE* f) { song->writeXml(f, zip, true); });
    EXPECT_EQ(text, withoutAudio);
    ZipEntryList entries;
    ASSERT_TRUE(zipListEntries(zip.c_str(), entries));
    ASSERT_EQ(entries.count(), 2);
    EXPECT_EQ(entries.indexOf("SAMPLE 000.WAV"), 0);
    EXPECT_EQ(entries.indexOf("Sample 012.wav"), 1);
    EXPECT_FALSE(fileExists(folder.file("~qrblsmp.tmp").c_str()));

    auto read = makeSong();
    ASSERT_EQ(readSong(*read, text, zip), 2);
    EXPECT_FALSE(fileExists(folder.file("~qrblsmp.tmp").c_str()));
    for (int slot : {0, 12}) {
        const TesselSample& s = read->samples[static_cast<size_t>(slot)];
        ASSERT_NE(s.audio.channel(0), nullptr) << slot;
        EXPECT_GE(s.length, 4);
        EXPECT_EQ(s.audio.buffers[0][1], 1000.0f);
        EXPECT_EQ(s.audio.buffers[0][3], 32767.0f);
        EXPECT_EQ(s.speed, 22050);
        EXPECT_EQ(s.filename, "");   // not the temporary file's name
    }
    EXPECT_EQ(read->samples[12].nameText().substr(0, 6), "twelve");

    // A missing entry leaves the sample without audio.
    auto noAudio = makeSong();
    ASSERT_EQ(readSong(*noAudio, text, folder.file("missing.zip")), 2);
    EXPECT_EQ(noAudio->samples[0].audio.channel(0), nullptr);
    EXPECT_EQ(noAudio->samples[0].speed, 22050);
}

// A module whose sample entry another program wrote as an extensible WAV
// (sox: 24-bit stereo) plays that audio, not silence.
TEST_F(DocumentTest, AnExtensibleWavEntryReadsItsAudio)
{
    ScratchFolder folder;
    auto song = makeSong();
    giveAudio(song->samples[0]);
    const std::string text = writtenText([&](FILE* f) { song->writeXml(f, folder.file("first.zip"), true); });

    const std::string wav = folder.file("stereo24.wav");
    ASSERT_TRUE(testfiles::run("sox -R -n -r 44100 -c 2 -b 24 '" + wav + "' synth 0.01 sine 440 gain -1"))
        << "scripts/install-packages.sh installs sox";
    const std::string zip = folder.file("song.zip");
    ASSERT_TRUE(zipAddFile(wav.c_str(), zip.c_str(), "Sample 000.wav"));
    TesselSample expected;
    ASSERT_TRUE(expected.readWavFile(wav, nullptr));

    auto read = makeSong();
    ASSERT_EQ(readSong(*read, text, zip), 2);
    const TesselSample& s = read->samples[0];
    ASSERT_EQ(s.audio.channels, 2);
    EXPECT_EQ(s.bits, 24);
    EXPECT_EQ(s.fileRate, 44100);
    EXPECT_EQ(framesOf(s, 1), framesOf(expected, 1));
    const std::vector<float> left = framesOf(s, 0);
    EXPECT_GT(*std::max_element(left.begin(), left.end()), 1000000.0f);
}
