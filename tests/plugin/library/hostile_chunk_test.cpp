// Damaged and hostile songs handed to the library as its chunk: what a song
// may cost is bounded by what the archive really holds, extra fields cost no
// more than their bytes, and damaged samples are named and kept, not lost.
#include "library/song_bytes.h"
#include "library/test_host.h"
#include "library/zip_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using HostileChunkTest = StartedPluginTest;

// Archives whose entries inflate far beyond any real song of their size, and a
// document larger than any song needs, are refused before they are inflated;
// the song stays. Real songs of those sizes load.
TEST_F(HostileChunkTest, ArchivesInflatingFarBeyondTheirSizeAreRefused)
{
    const std::string before = zipEntryOf(host().chunk(), "Module.xml");
    // Twenty samples of 4 MiB of 8-bit silence each: 80 MiB in under 100 KB,
    // every entry small enough to be inflated freely on its own.
    const std::string silence = zipOfEntries(samplesAndDocument(20, silentWav8((4u << 20) - 44)));
    ASSERT_LT(silence.size(), 100u << 10);
    // A document of 300 MiB in an archive of more than 300 MiB / 32, so that
    // only its size gives it away.
    const std::string document = zipWithRepeatedEntry({}, "Module.xml", "<module>" + sparseText(300), 300);
    ASSERT_GT(document.size(), (300u << 20) / 32);

    const long start = residentPeakKiB(true);
    EXPECT_EQ(host().setChunk(silence), 0);
    EXPECT_EQ(host().setChunk(document), 0);
    EXPECT_LT(residentPeakKiB(false) - start, 64L << 10);
    EXPECT_EQ(zipEntryOf(host().chunk(), "Module.xml"), before);

    // Real songs of those sizes: samples of noise, which does not deflate.
    const std::string small = zipOfEntries(samplesAndDocument(20, noiseWav(1000)));
    ASSERT_EQ(host().setChunk(small), 2);
    const std::string large = zipOfEntries(samplesAndDocument(20, noiseWav(105000)));
    ASSERT_GT(large.size(), 8u << 20);
    ASSERT_EQ(host().setChunk(large), 2);
    EXPECT_GT(zipEntryOf(host().chunk(), sampleEntry(19).c_str()).size(), 105000u * 4);
}

// Every entry carrying 64 KB extra fields of empty headers, in the directory
// and before its data: the song loads whole, every sample with it. (How long
// it takes, beside the same song without the fields, is measured by
// bench/hostile_chunk_bench.)
TEST_F(HostileChunkTest, EntriesWithLargeExtraFieldsLoadWhole)
{
    const std::string wav = noiseWav(1000);
    const std::string chunk = zipWithExtraFields(samplesAndDocument(20, wav), 65532);
    ASSERT_GT(chunk.size(), 2500000u);
    ASSERT_EQ(host().setChunk(chunk), 2);
    const std::string saved = host().chunk();
    for (int slot = 0; slot < 20; ++slot)
        EXPECT_TRUE(zipEntryOf(saved, sampleEntry(slot).c_str()).substr(44, 4000) == wav.substr(44, 4000)) << slot;
}

// A song with one sample entry that no longer inflates and one that is no WAV
// file: the rest of the song loads, and the two entries travel on exactly as
// they came, through every later chunk, until the slots are replaced.
TEST_F(HostileChunkTest, DamagedSamplesAreKeptAsTheyCame)
{
    auto entries = samplesAndDocument(3, noiseWav(2000));
    entries[2].second = std::string("RIFF\x20\0\0\0WAVEdata that is no WAV file at all", 40);
    const std::string song = zipWithDamagedEntry(zipOfEntries(entries), "Sample 001.wav");
    ASSERT_TRUE(zipEntryOf(song, "Sample 001.wav") != entries[1].second);   // it really is damaged
    const std::string damaged = zipStoredEntryOf(song, "Sample 001.wav");
    const std::string notWav = zipStoredEntryOf(song, "Sample 002.wav");
    ASSERT_FALSE(damaged.empty());
    ASSERT_FALSE(notWav.empty());

    ASSERT_EQ(host().setChunk(song), 2);
    std::string saved = host().chunk();
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(zipStoredEntryOf(saved, "Sample 001.wav") == damaged) << round;
        EXPECT_TRUE(zipStoredEntryOf(saved, "Sample 002.wav") == notWav) << round;
        EXPECT_EQ(zipEntryOf(saved, "Sample 000.wav").size(), noiseWav(2000).size());
        const std::string document = zipEntryOf(saved, "Module.xml");
        EXPECT_NE(document.find("name=\"s1"), std::string::npos);
        EXPECT_NE(document.find("name=\"s2"), std::string::npos);
        // The chunk that carried them loads the same way again.
        ASSERT_EQ(host().setChunk(saved), 2);
        saved = host().chunk();
    }
}

} // namespace
