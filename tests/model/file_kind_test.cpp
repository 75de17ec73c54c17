#include "model/file_kind.h"

#include "model/file_test_support.h"

#include <gtest/gtest.h>

using namespace testfiles;

TEST(FileKind, ExtensionsDecideWithoutRegardToCase)
{
    EXPECT_EQ(sampleFileKind("/a/sound.WAV"), kSampleWav);
    EXPECT_EQ(sampleFileKind("b.Flac"), kSampleFlac);
    EXPECT_EQ(sampleFileKind("c.ogg"), kSampleOgg);
    EXPECT_EQ(sampleFileKind("c.oga"), kSampleNone);
    EXPECT_EQ(moduleFileKind("x.IT"), kModuleIt);
    EXPECT_EQ(moduleFileKind("x.s3m"), kModuleS3m);
    EXPECT_EQ(moduleFileKind("x.Xm"), kModuleXm);
    EXPECT_EQ(moduleFileKind("x.mod"), kModuleMod);
    EXPECT_EQ(moduleFileKind("x.mid"), kModuleNone);
    EXPECT_EQ(songFileKind("x.MID"), kSongMidi);
    EXPECT_EQ(songFileKind("x.smf"), kSongMidi);
    EXPECT_EQ(songFileKind("x.xm"), kModuleXm);
    // Only the name part counts: a dotted folder gives no extension.
    for (const char* bare : {"wav", "/some.wav/noext", "/tmp/folder.it/file", ""}) {
        EXPECT_EQ(moduleFileKind(bare), 0) << bare;
        EXPECT_EQ(songFileKind(bare), 0) << bare;
        EXPECT_EQ(sampleFileKind(bare), 0) << bare;
        EXPECT_EQ(instrumentFileKind(bare), 0) << bare;
    }
}

TEST(FileKind, ExtractedNamesMatchOnlyInExactCase)
{
    EXPECT_EQ(sampleFileKind("/any/folder/~qrblwav.tmp"), kSampleWav);
    EXPECT_EQ(sampleFileKind("~qrblwav.tmp"), kSampleWav);
    EXPECT_EQ(sampleFileKind("/any/folder/~QRBLWAV.tmp"), kSampleNone);
    EXPECT_EQ(sampleFileKind("/any/folder/x~qrblwav.tmp"), kSampleNone);

    const std::string folder = freshFolder();
    writeZip(folder + "/~qrblzip.tmp", {"Instrument.xml"});
    writeZip(folder + "/~QRBLZIP.tmp", {"Instrument.xml"});
    EXPECT_EQ(instrumentFileKind(folder + "/~qrblzip.tmp"), 1);
    EXPECT_EQ(instrumentFileKind(folder + "/~QRBLZIP.tmp"), 0);
}

TEST(FileKind, ZipKindsDependOnTheirEntries)
{
    const std::string folder = freshFolder();
    writeZip(folder + "/song.zip", {"Module.xml", "Sample 000.wav", "Archive.zip"});
    writeZip(folder + "/sample.ZIP", {"Sample 000.wav", "Sample.xml"});
    writeZip(folder + "/inst.zip", {"INSTRUMENT.XML"});
    writeZip(folder + "/other.zip", {"readme.txt"});
    writeFile(folder + "/broken.zip", Bytes(100, 'P'));

    EXPECT_EQ(moduleFileKind(folder + "/song.zip"), kModuleZip);
    EXPECT_EQ(songFileKind(folder + "/song.zip"), kModuleZip);
    EXPECT_EQ(sampleFileKind(folder + "/song.zip"), kSampleNone);
    EXPECT_EQ(instrumentFileKind(folder + "/song.zip"), 0);

    EXPECT_EQ(sampleFileKind(folder + "/sample.ZIP"), kSampleZip);
    EXPECT_EQ(moduleFileKind(folder + "/sample.ZIP"), kModuleNone);

    EXPECT_EQ(instrumentFileKind(folder + "/inst.zip"), 1);
    EXPECT_EQ(sampleFileKind(folder + "/inst.zip"), kSampleNone);

    for (const char* name : {"/other.zip", "/broken.zip", "/missing.zip"}) {
        EXPECT_EQ(moduleFileKind(folder + name), 0) << name;
        EXPECT_EQ(sampleFileKind(folder + name), 0) << name;
        EXPECT_EQ(instrumentFileKind(folder + name), 0) << name;
    }
}

TEST(FileKind, ZipFilesNeedTheirNameSizeAndSignature)
{
    const std::string folder = freshFolder();
    writeZip(folder + "/real.zip", {"a"});
    EXPECT_TRUE(isZipFile(folder + "/real.zip"));

    Bytes sixteen{'P', 'K'};
    sixteen.resize(16);
    writeFile(folder + "/small.zip", sixteen);
    EXPECT_FALSE(isZipFile(folder + "/small.zip"));
    sixteen.push_back(0);
    writeFile(folder + "/seventeen.zip", sixteen);
    EXPECT_TRUE(isZipFile(folder + "/seventeen.zip"));
    writeFile(folder + "/seventeen.bin", sixteen);
    EXPECT_FALSE(isZipFile(folder + "/seventeen.bin"));
    writeFile(folder + "/notpk.zip", Bytes(40, 'Q'));
    EXPECT_FALSE(isZipFile(folder + "/notpk.zip"));
    EXPECT_FALSE(isZipFile(folder + "/missing.zip"));
    EXPECT_FALSE(isZipFile(folder));

    EXPECT_TRUE(isDirectory(folder));
    EXPECT_FALSE(isDirectory(folder + "/real.zip"));
    EXPECT_FALSE(isDirectory(folder + "/missing"));
}
