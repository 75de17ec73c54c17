#include "model/zip/zip_helpers.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<std::string> names(const ZipEntryList& list)
{
    std::vector<std::string> out;
    for (const ZipEntry& entry : list.entries)
        out.push_back(entry.name);
    return out;
}

// The local calendar fields of a file's last-write time.
struct tm localModified(const std::string& path)
{
    struct stat info;
    struct tm local = {};
    if (stat(path.c_str(), &info) == 0)
        localtime_r(&info.st_mtime, &local);
    return local;
}

} // namespace

TEST(ZipRead, ArchivesOfOtherWritersListWithTheirInformation)
{
    ZipEntryList list;
    ASSERT_TRUE(zipListEntries(testData("zip/debian_zip.zip").c_str(), list));
    EXPECT_EQ(names(list), (std::vector<std::string>{"Module.xml", "Sample 001.wav"}));
    ASSERT_TRUE(list.entries[0].info);
    EXPECT_EQ(list.entries[0].info->compression_method, 8u);
    EXPECT_EQ(list.entries[1].info->compression_method, 0u);
    EXPECT_EQ(list.entries[1].info->uncompressed_size, 700u);
    EXPECT_EQ(list.entries[0].info->tmu_date.tm_year, 2021u);

    ASSERT_TRUE(zipListEntries(testData("zip/python_zipfile.zip").c_str(), list));
    EXPECT_EQ(names(list), (std::vector<std::string>{"Module.xml", "stored.txt"}));
    EXPECT_EQ(list.entries[1].info->compression_method, 0u);

    ASSERT_TRUE(zipListEntries(testData("zip/python_empty.zip").c_str(), list));
    EXPECT_EQ(list.count(), 0);

    EXPECT_FALSE(zipListEntries(testData("zip/missing.zip").c_str(), list));
    EXPECT_FALSE(zipListEntries(testData("zip/Module.xml").c_str(), list));
    EXPECT_EQ(list.count(), 0);
}

TEST(ZipRead, IndexOfIgnoresCase)
{
    ZipEntryList list;
    EXPECT_EQ(list.indexOf("Module.xml"), -1);
    ASSERT_TRUE(zipListEntries(testData("zip/debian_zip.zip").c_str(), list));
    EXPECT_EQ(list.indexOf("module.XML"), 0);
    EXPECT_EQ(list.indexOf("SAMPLE 001.WAV"), 1);
    EXPECT_EQ(list.indexOf("Archive.zip"), -1);
    EXPECT_EQ(list.indexOf("Module.xm"), -1);
}

TEST(ZipRead, ExtractsStoredAndDeflatedEntriesCaseBlindWithTheirDates)
{
    ScratchFolder scratch;
    std::string expected = readWholeFile(testData("zip/Module.xml"));
    ASSERT_FALSE(expected.empty());

    struct Case {
        const char* archive;
        const char* entry;
        int year, month, day, hour, minute, second;
    };
    const Case cases[] = {
        {"zip/debian_zip.zip", "module.xml", 2021, 3, 4, 5, 6, 8},
        {"zip/python_zipfile.zip", "MODULE.XML", 2020, 5, 17, 13, 45, 30},
        {"zip/python_zipfile.zip", "Stored.TXT", 2019, 12, 31, 23, 59, 58},
    };
    for (const Case& c : cases) {
        std::string out = scratch.file(c.entry);
        ASSERT_TRUE(zipExtractFile(testData(c.archive).c_str(), out.c_str(), c.entry)) << c.entry;
        if (std::string(c.entry) != "Stored.TXT")
            EXPECT_EQ(readWholeFile(out), expected);
        else
            EXPECT_EQ(readWholeFile(out).size(), 360u);
        struct tm local = localModified(out);
        EXPECT_EQ(local.tm_year + 1900, c.year);
        EXPECT_EQ(local.tm_mon + 1, c.month);
        EXPECT_EQ(local.tm_mday, c.day);
        EXPECT_EQ(local.tm_hour, c.hour);
        EXPECT_EQ(local.tm_min, c.minute);
        EXPECT_EQ(local.tm_sec, c.second);
    }
}

TEST(ZipRead, FailedExtractionsLeaveNothingBehind)
{
    ScratchFolder scratch;
    std::string out = scratch.file("out");
    std::string archive = testData("zip/debian_zip.zip");
    EXPECT_FALSE(zipExtractFile(testData("zip/missing.zip").c_str(), out.c_str(), "Module.xml"));
    EXPECT_FALSE(zipExtractFile(archive.c_str(), out.c_str(), "Instrument.xml"));
    EXPECT_FALSE(zipExtractFile(archive.c_str(), out.c_str(), std::string(300, 'a').c_str()));
    EXPECT_FALSE(fileExists(out.c_str()));
    // A target that cannot be created is an error.
    EXPECT_FALSE(zipExtractFile(archive.c_str(), scratch.file("no/such/folder").c_str(),
                                "Module.xml"));
}

TEST(ZipRead, DamagedArchivesFailCleanly)
{
    ScratchFolder scratch;
    std::string bytes = readWholeFile(testData("zip/debian_zip.zip"));
    ASSERT_GT(bytes.size(), 100u);
    std::string out = scratch.file("out");

    // Every cut of the archive either lists or fails; nothing reads past the file.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        std::string path = scratch.write("cut.zip", bytes.substr(0, cut));
        ZipEntryList list;
        zipListEntries(path.c_str(), list);
        zipExtractFile(path.c_str(), out.c_str(), "Module.xml");
    }

    // A damaged byte inside the deflated data fails the checksum.
    std::string damaged = bytes;
    size_t data = 30 + std::string("Module.xml").size();
    size_t extra = static_cast<uint8_t>(bytes[28]) | (static_cast<uint8_t>(bytes[29]) << 8);
    damaged[data + extra + 40] ^= 0x55;
    std::string path = scratch.write("damaged.zip", damaged);
    out = scratch.file("fresh");
    EXPECT_FALSE(zipExtractFile(path.c_str(), out.c_str(), "Module.xml"));
    EXPECT_FALSE(fileExists(out.c_str()));
    // The other entry is still fine.
    EXPECT_TRUE(zipExtractFile(path.c_str(), out.c_str(), "Sample 001.wav"));
}

TEST(ZipRead, ModuleSampleListing)
{
    ScratchFolder scratch;
    // Copy the fixture so that the temporary file lands in the scratch folder.
    std::string module = scratch.write("song.zip", readWholeFile(testData("zip/python_zipfile.zip")));
    ZipEntryList list;
    ASSERT_TRUE(zipListModuleSamples(module.c_str(), list));
    // Index 7 is self-contained and not listed; "i" is the short name of "index".
    EXPECT_EQ(names(list),
              (std::vector<std::string>{"Sample 001.wav", "Sample 003.wav", "Sample 012.wav"}));
    EXPECT_FALSE(list.entries[0].info);
    EXPECT_FALSE(fileExists(scratch.file("~qrblxml.tmp").c_str()));

    EXPECT_FALSE(zipListModuleSamples(testData("zip/python_empty.zip").c_str(), list));
    EXPECT_EQ(list.count(), 0);
}

TEST(ZipRead, FileTests)
{
    ScratchFolder scratch;
    std::string path = scratch.write("five", "12345");
    EXPECT_TRUE(fileExists(path.c_str()));
    EXPECT_EQ(fileSize(path.c_str()), 5u);
    EXPECT_FALSE(fileExists(scratch.path().c_str()));
    EXPECT_FALSE(fileExists(scratch.file("none").c_str()));
    EXPECT_EQ(fileSize(scratch.file("none").c_str()), 0u);

    TesselFileTime folder = fileModifiedTime(scratch.path().c_str());
    EXPECT_GE(folder.year, 2000);
    TesselFileTime none = fileModifiedTime(scratch.file("none").c_str());
    EXPECT_EQ(none.year, 0);
    EXPECT_EQ(none.second, 0);
    uint32_t dos = 7;
    EXPECT_FALSE(fileDosTime(scratch.file("none").c_str(), dos));
    EXPECT_EQ(dos, 7u);
}
