#include "model/zip/zip_helpers.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>
#include "support/outside_tools.h"

namespace {

uint32_t dos(int year, int month, int day, int hour, int minute, int second)
{
    uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return (date << 16) | time;
}

// Debian's unzip checks every entry's data and checksum.
bool unzipTestPasses(const std::string& archive)
{
    std::string command = "unzip -tqq '" + archive + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245 + 12345;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

} // namespace

TEST(ZipWrite, DosTimeIsLocalAndInTwoSecondSteps)
{
    ScratchFolder scratch;
    std::string path = scratch.write("a", "x");
    setLocalTime(path, 2022, 7, 8, 9, 10, 11);
    uint32_t value = 0;
    ASSERT_TRUE(fileDosTime(path.c_str(), value));
    EXPECT_EQ(value, dos(2022, 7, 8, 9, 10, 10));
}

TEST(ZipWrite, CreatesThenAppendsAndEveryEntryReadsBack)
{
    ScratchFolder scratch;
    std::string first = scratch.write("first.xml", "<module/>\n");
    std::string second = scratch.write("second.wav", pattern(100000));
    std::string empty = scratch.write("empty", "");
    setLocalTime(first, 2022, 7, 8, 9, 10, 11);
    setLocalTime(second, 2001, 2, 3, 4, 5, 6);
    std::string archive = scratch.file("song.zip");

    ASSERT_TRUE(zipAddFile(first.c_str(), archive.c_str(), "Module.xml"));
    ZipEntryList list;
    ASSERT_TRUE(zipListEntries(archive.c_str(), list));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.entries[0].info->compression_method, 8u);
    EXPECT_EQ(list.entries[0].info->dosDate, dos(2022, 7, 8, 9, 10, 10));

    ASSERT_TRUE(zipAddFile(second.c_str(), archive.c_str(), "Sample 001.wav"));
    ASSERT_TRUE(zipAddFile(empty.c_str(), archive.c_str(), "Empty"));
    ASSERT_TRUE(zipListEntries(archive.c_str(), list));
    ASSERT_EQ(list.count(), 3);
    EXPECT_STREQ(list.entries[0].name, "Module.xml");
    EXPECT_STREQ(list.entries[1].name, "Sample 001.wav");
    EXPECT_EQ(list.entries[1].info->uncompressed_size, 100000u);

    std::string out = scratch.file("out");
    ASSERT_TRUE(zipExtractFile(archive.c_str(), out.c_str(), "module.xml"));
    EXPECT_EQ(readWholeFile(out), "<module/>\n");
    ASSERT_TRUE(zipExtractFile(archive.c_str(), out.c_str(), "SAMPLE 001.WAV"));
    EXPECT_EQ(readWholeFile(out), pattern(100000));
    uint32_t extracted = 0;
    ASSERT_TRUE(fileDosTime(out.c_str(), extracted));
    EXPECT_EQ(extracted, dos(2001, 2, 3, 4, 5, 6));
    ASSERT_TRUE(zipExtractFile(archive.c_str(), out.c_str(), "Empty"));
    EXPECT_EQ(fileSize(out.c_str()), 0u);

    ASSERT_TRUE(outside_tools::have({"unzip"}));
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST(ZipWrite, AppendsToAnArchiveOfAnotherWriter)
{
    ScratchFolder scratch;
    std::string archive = scratch.write("other.zip", readWholeFile(testData("zip/debian_zip.zip")));
    std::string source = scratch.write("Archive.zip", pattern(5000));
    ASSERT_TRUE(zipAddFile(source.c_str(), archive.c_str(), "Archive.zip"));
    ZipEntryList list;
    ASSERT_TRUE(zipListEntries(archive.c_str(), list));
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.indexOf("archive.zip"), 2);
    std::string out = scratch.file("out");
    ASSERT_TRUE(zipExtractFile(archive.c_str(), out.c_str(), "Module.xml"));
    EXPECT_EQ(readWholeFile(out), readWholeFile(testData("zip/Module.xml")));
    ASSERT_TRUE(outside_tools::have({"unzip"}));
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST(ZipWrite, AppendsToAnEmptyArchive)
{
    ScratchFolder scratch;
    std::string archive = scratch.write("empty.zip", readWholeFile(testData("zip/python_empty.zip")));
    std::string source = scratch.write("one", "1");
    ASSERT_TRUE(zipAddFile(source.c_str(), archive.c_str(), "One"));
    ZipEntryList list;
    ASSERT_TRUE(zipListEntries(archive.c_str(), list));
    EXPECT_EQ(list.count(), 1);
}

TEST(ZipWrite, FailuresAreReported)
{
    ScratchFolder scratch;
    std::string archive = scratch.file("a.zip");
    // An unreadable source creates nothing and leaves an archive as it was.
    EXPECT_FALSE(zipAddFile(scratch.file("none").c_str(), archive.c_str(), "x"));
    EXPECT_FALSE(fileExists(archive.c_str()));
    std::string source = scratch.write("src", "data");
    ASSERT_TRUE(zipAddFile(source.c_str(), archive.c_str(), "x"));
    std::string before = readWholeFile(archive);
    EXPECT_FALSE(zipAddFile(scratch.file("none").c_str(), archive.c_str(), "y"));
    EXPECT_EQ(readWholeFile(archive), before);
    // A file that is not an archive is not appended to.
    std::string text = scratch.write("text.zip", "not an archive at all");
    EXPECT_FALSE(zipAddFile(source.c_str(), text.c_str(), "x"));
    EXPECT_EQ(readWholeFile(text), "not an archive at all");
    // An archive that cannot be created.
    EXPECT_FALSE(zipAddFile(source.c_str(), scratch.file("no/folder.zip").c_str(), "x"));
}

TEST(ZipWrite, ModuleSampleListingStopsAtNinetyNine)
{
    ScratchFolder scratch;
    std::string xml = "<module>\n";
    for (int i = 1; i <= 150; ++i)
        xml += " <sample index=\"" + std::to_string(i) + "\">\n </sample>\n";
    xml += "</module>\n";
    std::string source = scratch.write("Module.xml", xml);
    std::string archive = scratch.file("big.zip");
    ASSERT_TRUE(zipAddFile(source.c_str(), archive.c_str(), "Module.xml"));
    ZipEntryList list;
    ASSERT_TRUE(zipListModuleSamples(archive.c_str(), list));
    ASSERT_EQ(list.count(), kModuleSampleListLimit);
    EXPECT_STREQ(list.entries[98].name, "Sample 099.wav");
}
