#include "model/file_kind.h"
#include "model/sample/sample.h"
#include "model/zip/zip_helpers.h"

#include "model/audio_files/sample_audio_support.h"
#include "model/audio_files/wav_test_support.h"
#include "model/file_test_support.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace testfiles;

namespace {

void giveSettings(TesselSample& s)
{
    giveAudio(s);
    s.setName("Kick");
    s.defaultVolume = 40;
    s.loop.type = 2;
    s.loop.setBegin(1);
    s.loop.setEnd(3);
}

void expectSameSample(const TesselSample& a, const TesselSample& b)
{
    EXPECT_EQ(a.nameText(), b.nameText());
    EXPECT_EQ(a.defaultVolume, b.defaultVolume);
    EXPECT_EQ(loopOf(a.loop), loopOf(b.loop));
    // The WAV reader counts one frame more than the file holds.
    ASSERT_EQ(a.length + 1, b.length);
    for (int i = 0; i < a.length; ++i)
        EXPECT_EQ(a.audio.buffers[0][i], b.audio.buffers[0][i]) << i;
}

// A stereo 16-bit WAV of `frames` frames with optional extra chunks before the data.
Bytes stereoWav(uint32_t frames, const std::vector<std::pair<std::string, Bytes>>& before = {})
{
    WavLayout layout;
    layout.channels = 2;
    layout.before = before;
    Bytes data;
    for (uint32_t i = 0; i < frames * 2; ++i)
        append16(data, i & 0x7FFF);
    return makeWav(layout, data);
}

// A folder entry of the temporary name that neither remove nor open can
// get past, so that the save fails after its first step.
void blockTemporary(const ScratchFolder& folder, const char* name)
{
    ASSERT_EQ(mkdir(folder.file(name).c_str(), 0700), 0);
    folder.write(std::string(name) + "/keep", "x");
}

} // namespace

TEST(SampleFile, SaveNamesFollowTheSuffixAndLoadBack)
{
    ScratchFolder folder;
    TesselSample original;
    giveSettings(original);

    // No suffix: a zipped sample with ".zip" added.
    ASSERT_TRUE(original.saveFile(folder.file("kick")));
    EXPECT_FALSE(fileExists(folder.file("kick").c_str()));
    ASSERT_EQ(sampleFileKind(folder.file("kick.zip")), kSampleZip);
    TesselSample zipped;
    EXPECT_EQ(zipped.loadFile(folder.file("kick.zip")), kFileLoaded);
    expectSameSample(original, zipped);

    // ".ZIP" is kept as it is.
    ASSERT_TRUE(original.saveFile(folder.file("snare.ZIP")));
    EXPECT_FALSE(fileExists(folder.file("snare.ZIP.zip").c_str()));
    TesselSample upper;
    EXPECT_EQ(upper.loadZip(folder.file("snare.ZIP"), 0), kFileLoaded);
    expectSameSample(original, upper);

    // ".WAV" is a WAV file: audio only, named after the file, loop end set to the length.
    ASSERT_TRUE(original.saveFile(folder.file("hat.WAV")));
    EXPECT_EQ(readWholeFile(folder.file("hat.WAV")).substr(0, 4), "RIFF");
    EXPECT_FALSE(fileExists(folder.file("hat.WAV.zip").c_str()));
    TesselSample wav;
    EXPECT_EQ(wav.loadFile(folder.file("hat.WAV")), kFileLoaded);
    EXPECT_EQ(wav.nameText().substr(0, 7), "hat.WAV");
    EXPECT_EQ(wav.length, 5);
    EXPECT_EQ(wav.loop.end, 5);
    EXPECT_EQ(wav.sustain.end, 5);
    EXPECT_EQ(wav.loop.type, 0);

    // No temporary file is left behind.
    for (const char* name : {"~qrblxml.tmp", "~qrblzip.tmp", "~qrblsmp.tmp", "~qrblsav.tmp"})
        EXPECT_FALSE(fileExists(folder.file(name).c_str())) << name;
}

TEST(SampleFile, FirstSmplLoopIsTakenInFrames)
{
    ScratchFolder folder;
    // Two loops; only the first counts, and its points are frames.
    const Bytes smpl = smplChunk(72, 0, {{1, 100, 1000}, {0, 5, 10}}, {});
    writeFile(folder.file("loop.wav"), stereoWav(2000, {{"smpl", smpl}}));
    TesselSample s;
    s.sustain.setEnd(7);
    ASSERT_EQ(s.loadFile(folder.file("loop.wav")), kFileLoaded);
    EXPECT_EQ(loopOf(s.loop), (LoopPoints{2, 100, 1000}));
    EXPECT_EQ(s.pitch, 72);
    EXPECT_EQ(s.sustain.end, 7);   // an end of its own is kept

    // Without "smpl" an unset loop end becomes the length and the loop stays off.
    writeFile(folder.file("plain.wav"), stereoWav(300));
    TesselSample plain;
    ASSERT_EQ(plain.loadFile(folder.file("plain.wav")), kFileLoaded);
    EXPECT_EQ(plain.loop.type, 0);
    EXPECT_EQ(plain.loop.end, plain.length);
    EXPECT_GE(plain.length, 300);
}

TEST(SampleFile, RefusedAndUnreadableFiles)
{
    ScratchFolder folder;
    TesselSample s;
    giveSettings(s);

    // Only PCM and IEEE float data are read: MPEG audio is another kind of file.
    WavLayout mpegLayout;
    mpegLayout.format = 0x55;
    writeFile(folder.file("mpeg.wav"), makeWav(mpegLayout, Bytes(16, 0)));
    EXPECT_EQ(s.loadFile(folder.file("mpeg.wav")), kFileWrongKind);
    WavLayout floatLayout;
    floatLayout.format = 3;
    floatLayout.bits = 32;
    writeFile(folder.file("float.wav"), makeWav(floatLayout, Bytes(16, 0)));
    EXPECT_EQ(s.loadFile(folder.file("float.wav")), kFileWrongKind);
    EXPECT_EQ(s.loadFile(folder.file("notes.txt")), kFileWrongKind);
    EXPECT_EQ(s.loadFile(folder.write("broken.wav", "RIFF\x10\0\0\0WAVEfmt ")), kFileUnreadable);

    // A zip without "Sample.xml" leaves the slot as it was.
    TesselSample kept;
    giveSettings(kept);
    writeZip(folder.file("other.zip"), {"readme.txt"});
    EXPECT_EQ(kept.loadZip(folder.file("other.zip"), 0), kFileNothingFound);
    EXPECT_EQ(kept.nameText().substr(0, 4), "Kick");
    EXPECT_EQ(kept.length, 4);
    EXPECT_EQ(kept.loadZip(folder.file("missing.zip"), 0), kFileNothingFound);

    // Asking for an element beyond those in the file finds nothing.
    giveSettings(s);
    ASSERT_TRUE(s.saveZip(folder.file("one.zip"), 0));
    EXPECT_EQ(kept.loadZip(folder.file("one.zip"), 1), kFileNothingFound);
    EXPECT_EQ(kept.loadZip(folder.file("one.zip"), -1), kFileNothingFound);
}

TEST(SampleFile, OggVorbisLoadsWhereFloatWavIsRefused)
{
    ASSERT_TRUE(outside_tools::have({"oggenc"}));
    ScratchFolder folder;
    writeFile(folder.file("in.wav"), stereoWav(4410));
    ASSERT_TRUE(run("oggenc -Q '" + folder.file("in.wav") + "' -o '" + folder.file("tone.ogg") + "'"));
    TesselSample s;
    ASSERT_EQ(s.loadFile(folder.file("tone.ogg")), kFileLoaded);
    EXPECT_EQ(s.nameText().substr(0, 8), "tone.ogg");
    EXPECT_GT(s.length, 0);
    EXPECT_EQ(s.loop.end, s.length);
}

TEST(SampleFile, FailedSaveLeavesTheOldFile)
{
    ScratchFolder folder;
    TesselSample s;
    giveSettings(s);
    const std::string zipPath = folder.write("old.zip", "old zip");
    const std::string wavPath = folder.write("old.wav", "old wav");

    blockTemporary(folder, "~qrblzip.tmp");
    EXPECT_FALSE(s.saveFile(zipPath));
    EXPECT_EQ(readWholeFile(zipPath), "old zip");
    EXPECT_FALSE(fileExists(folder.file("~qrblxml.tmp").c_str()));

    blockTemporary(folder, "~qrblsav.tmp");
    EXPECT_FALSE(s.saveFile(wavPath));
    EXPECT_EQ(readWholeFile(wavPath), "old wav");

    // A folder that does not exist: nothing is written.
    EXPECT_FALSE(s.saveFile(folder.file("none/new.zip")));
    EXPECT_FALSE(s.saveFile(folder.file("none/new.wav")));
}

TEST(SampleFile, SavingReplacesAnOlderFileAndItsStaleTemporary)
{
    ScratchFolder folder;
    TesselSample first;
    giveSettings(first);
    ASSERT_TRUE(first.saveFile(folder.file("s.zip")));
    // A leftover archive from an interrupted save is not carried into the next one.
    writeZip(folder.file("~qrblzip.tmp"), {"Sample.xml"});
    TesselSample second;
    giveSettings(second);
    second.setName("Second");
    ASSERT_TRUE(second.saveFile(folder.file("s.zip")));
    ZipEntryList list;
    ASSERT_TRUE(zipListEntries(folder.file("s.zip").c_str(), list));
    EXPECT_EQ(list.count(), 2);
    TesselSample back;
    ASSERT_EQ(back.loadFile(folder.file("s.zip")), kFileLoaded);
    EXPECT_EQ(back.nameText().substr(0, 6), "Second");
}
