#include "model/import/tracker_import_test_support.h"

using tracker_file::Bytes;
using tracker_file::S3mFile;
using tracker_file::S3mSample;

namespace {

S3mSample eightBit(Bytes data)
{
    S3mSample s;
    s.length = static_cast<uint16_t>(data.size());
    s.data = std::move(data);
    return s;
}

} // namespace

TEST_F(TrackerImportTest, S3mSampleHeaderFillsTheSlot)
{
    S3mSample s = eightBit({0x80, 0xFF, 0x00, 0x7F, 0x90});
    s.fileName = "KICK.WAV";
    s.name = "a bass drum with a long name";
    s.loopBegin = 1;
    s.loopEnd = 4;
    s.flags = 1;
    s.volume = 48;
    s.c2spd = 22050;
    S3mFile f;
    f.samples = {s};
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    const TesselSample& slot = sample(0);
    EXPECT_EQ(slot.filename, "KICK.WAV");
    EXPECT_EQ(slot.nameText(), "a bass drum with a long n");
    EXPECT_EQ(slot.length, 5);
    EXPECT_EQ(slot.channels, 1);
    EXPECT_EQ(slot.bits, 8);
    EXPECT_EQ(slot.fileRate, 44100);
    EXPECT_EQ(slot.speed, 22050);
    EXPECT_EQ(slot.defaultVolume, 48);
    EXPECT_EQ(loopOf(slot.loop), (LoopPoints{1, 1, 4}));
    // Unsigned 8-bit data are centred at 128; the guard frames hold the last one.
    EXPECT_EQ(framesOf(slot, 0, 11),
              (std::vector<float>{0, 127, -128, -1, 16, 16, 16, 16, 16, 16, 16}));
    EXPECT_EQ(slot.audio.frames, 11u);
}

TEST_F(TrackerImportTest, S3mSampleFormatsSignedUnsigned16BitAndStereo)
{
    // Stereo 16-bit: all frames of the left channel, then all of the right.
    S3mSample stereo;
    stereo.flags = 2 | 4;
    stereo.length = 2;
    stereo.data = {0x00, 0x80, 0xFF, 0xFF, 0x00, 0x00, 0x34, 0x12};
    S3mFile f;
    f.samples = {stereo, eightBit({0x80, 0x01})};
    f.format = 1;   // signed
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(sample(0).channels, 2);
    EXPECT_EQ(sample(0).bits, 16);
    EXPECT_EQ(framesOf(sample(0), 0, 3), (std::vector<float>{-32768, -1, -1}));
    EXPECT_EQ(framesOf(sample(0), 1, 3), (std::vector<float>{0, 0x1234, 0x1234}));
    EXPECT_EQ(framesOf(sample(1), 0, 2), (std::vector<float>{-128, 1}));

    f.format = 2;   // unsigned: 16-bit values are centred at 32768
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(framesOf(sample(0), 0, 2), (std::vector<float>{0, 32767}));
    EXPECT_EQ(framesOf(sample(0), 1, 2), (std::vector<float>{-32768, 0x1234 - 32768}));
    EXPECT_EQ(framesOf(sample(1), 0, 2), (std::vector<float>{0, -127}));
}

TEST_F(TrackerImportTest, S3mPackedSamplesAreSilent)
{
    S3mSample packed = eightBit({1, 2, 3, 4});
    packed.packing = 1;
    S3mFile f;
    f.samples = {packed};
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(sample(0).length, 4);
    EXPECT_EQ(framesOf(sample(0), 0, 10), std::vector<float>(10, 0.0f));
}

TEST_F(TrackerImportTest, S3mDataPointerPastTheEndFallsBackToItsLowPart)
{
    S3mSample s = eightBit({0x90, 0x70});
    s.pointerHigh = 0x40;   // 64 x 1 MiB past the start
    S3mFile f;
    f.samples = {s};
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(framesOf(sample(0), 0, 2), (std::vector<float>{16, -16}));
}

TEST_F(TrackerImportTest, S3mLengthsAndLoopsAreBoundedByTheFile)
{
    S3mSample s = eightBit({0x81, 0x82, 0x83});
    s.length = 60000;   // the file holds 3 frames (and the paragraph padding)
    s.loopBegin = 2;
    s.loopEnd = 50000;
    s.flags = 1;
    S3mFile f;
    f.samples = {s};
    Bytes b = f.build();
    ASSERT_EQ(importS3m(b), kImportLoaded);
    const size_t data = b.size() - 16;
    EXPECT_EQ(sample(0).length, static_cast<int32_t>(b.size() - data));
    EXPECT_EQ(sample(0).loop.end, sample(0).length);
    EXPECT_EQ(framesOf(sample(0), 0, 3), (std::vector<float>{1, 2, 3}));

    // A data position at the very end: no frames.
    b.resize(data);
    ASSERT_EQ(importS3m(b), kImportLoaded);
    EXPECT_EQ(sample(0).length, 0);
    EXPECT_EQ(sample(0).bits, 0);
    EXPECT_EQ(sample(0).fileRate, 0);
    EXPECT_EQ(sample(0).loop.begin, 0);
    EXPECT_EQ(sample(0).loop.type, 0);   // no frames to loop over
}

TEST_F(TrackerImportTest, S3mOnlySampledInstrumentsInTheFirst99SlotsAreRead)
{
    S3mSample adlib = eightBit({0x90});
    adlib.type = 2;
    S3mFile f;
    f.samples = {adlib, eightBit({0xA0})};
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_TRUE(sample(0).isDataEmpty());
    EXPECT_EQ(sample(0).audio.frames, 0u);
    EXPECT_EQ(sample(1).length, 1);

    // A header table of 120 pointers: slots 99 and on are not touched.
    f.samples.assign(120, eightBit({0xA0}));
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(sample(98).length, 1);
}

TEST_F(TrackerImportTest, S3mHostileCountsAndPointersStayInsideTheFile)
{
    S3mFile f;
    f.samples = {eightBit({0x90, 0x91})};
    f.patterns = {tracker_file::S3mPattern{}.packed()};
    const Bytes whole = f.build();
    // Every cut of the file, and counts of 65535 with pointers past the end.
    for (size_t n = 0; n <= whole.size(); n += 7) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<long>(n));
        importS3m(cut);
    }
    Bytes hostile = whole;
    for (size_t at : {32u, 34u, 36u})
        hostile[at] = hostile[at + 1] = 0xFF;
    EXPECT_EQ(importS3m(hostile), kImportLoaded);
    for (int i = 0; i < kSamples; ++i)
        EXPECT_LE(static_cast<size_t>(sample(i).length), hostile.size());
}
