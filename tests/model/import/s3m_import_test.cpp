#include "model/import/tracker_import_test_support.h"

using tracker_file::Bytes;
using tracker_file::S3mFile;
using tracker_file::S3mPattern;

TEST_F(TrackerImportTest, S3mHeaderGivesNameTimingChannelsAndOrders)
{
    S3mFile f;
    f.name = "Song of S3M";
    f.speed = 4;
    f.tempo = 150;
    f.channels[0] = 0x80;   // disabled
    f.channels[1] = 0x08;   // right, enabled
    f.orders = {0, 1, 254, 2, 250, 255, 255};
    f.patterns.resize(3);
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_STREQ(song->text, "Song of S3M");
    EXPECT_EQ(song->timingMode, TesselModule::Speed);
    EXPECT_EQ(song->resolution, 4.0);
    EXPECT_EQ(song->tempo, 150.0);
    EXPECT_EQ(song->channels[0].mute, 1);
    EXPECT_EQ(song->channels[1].mute, 0);
    EXPECT_EQ(song->channels[1].panning, 32);   // the reset's panning stays
    const int32_t expected[] = {0, 1, kOrderSkip, 2, kOrderEmpty, kOrderEnd, kOrderEnd, kOrderEmpty};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(song->orderList.entries[i].pattern, expected[i]) << i;
    EXPECT_EQ(song->orderList.length, 7);
}

TEST_F(TrackerImportTest, S3mZeroSpeedAndTempoKeepTheResetValues)
{
    S3mFile f;
    f.speed = 0;
    f.tempo = 0;
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);
    EXPECT_EQ(song->resolution, 6.0);
    EXPECT_EQ(song->tempo, 120.0);
}

TEST_F(TrackerImportTest, S3mWithoutSignatureIsRefusedAndResetToTheFallback)
{
    for (size_t at : {28u, 29u, 44u}) {
        Bytes b = S3mFile{}.build();
        b[at] ^= 0x55;
        song->tempo = 99.0;
        EXPECT_EQ(importS3m(b, {140.0, 3.0, 8}), kImportUnreadable) << at;
        EXPECT_EQ(platform::statusText(), "Error: File is not Scream Tracker 3 format.");
        EXPECT_EQ(song->tempo, 140.0);
        EXPECT_EQ(song->resolution, 3.0);
        EXPECT_EQ(song->rowsPerQuarter, 8);
        platform::clearStatusText();
    }
    EXPECT_EQ(importS3m(Bytes{}), kImportUnreadable);
}

TEST_F(TrackerImportTest, S3mUnreadableFileStaysResetWithoutMessage)
{
    song->tempo = 99.0;
    EXPECT_EQ(importScreamTracker3("/nonexistent/song.s3m", *song, {140.0, 3.0, 8}), kImportUnreadable);
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(platform::statusText(), "");
}

TEST_F(TrackerImportTest, S3mCellsTakeNotesInstrumentsVolumesAndEffects)
{
    S3mPattern p;
    p.note(0, 0, 0x41, 3);            // octave 4, semitone 1
    p.note(1, 0, 0xFE, 0);            // note cut
    p.note(2, 0, 0xFF, 5);            // no note, instrument only
    p.effect(3, 1, 20, 0x7D);         // T: tempo
    p.effect(4, 1, 19, 0x21);         // S2x: not taken
    p.effect(5, 1, 19, 0xB1);         // SB1: kept
    p.add(6, 2, 0xE0, 0x50, 7, 33, 4, 0x12);
    p.note(7, 3, 0x9A, 100);          // pitch 130, instrument 100: both dropped
    p.effect(8, 3, 27, 0x10);         // no letter past Z
    p.add(9, 31, 0x40, 0, 0, 0, 0, 0);
    S3mFile f;
    f.patterns = {p.packed()};
    ASSERT_EQ(importS3m(f.build()), kImportLoaded);

    ASSERT_TRUE(row(0, 0, 0));
    EXPECT_EQ(row(0, 0, 0)->pitch, 61);
    EXPECT_EQ(row(0, 0, 0)->instrument, 3);
    EXPECT_EQ(row(0, 0, 0)->volume, -1);
    EXPECT_EQ(row(0, 0, 1)->pitch, 254);
    EXPECT_EQ(row(0, 0, 2)->pitch, -1);
    EXPECT_EQ(row(0, 0, 2)->instrument, 5);
    EXPECT_EQ(row(0, 1, 3)->effect.command, '@');
    EXPECT_EQ(row(0, 1, 3)->effect.parameter, 0x7D);
    EXPECT_EQ(row(0, 1, 4), nullptr);
    EXPECT_EQ(row(0, 1, 5)->effect.command, 'S');
    EXPECT_EQ(row(0, 1, 5)->effect.parameter, 0xB1);
    const TesselRow* all = row(0, 2, 6);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->pitch, 72);
    EXPECT_EQ(all->instrument, 7);
    EXPECT_EQ(all->volume, 33);
    EXPECT_EQ(all->effect.command, 'D');
    EXPECT_EQ(all->effect.parameter, 0x12);
    EXPECT_EQ(row(0, 3, 7), nullptr);
    EXPECT_EQ(row(0, 3, 8), nullptr);
    ASSERT_TRUE(row(0, 31, 9));   // channel 31, volume 0 as read
    EXPECT_EQ(row(0, 31, 9)->volume, 0);
    EXPECT_EQ(song->patterns[0].length(), 64);
}

TEST_F(TrackerImportTest, S3mPatternsStopAtRow63AndAtTheirPackedLength)
{
    S3mPattern p;
    for (int r = 0; r < 64; ++r)
        p.note(r, 0, 0x40, 1);
    Bytes data = p.packed();
    for (int extra = 0; extra < 4; ++extra)   // rows 64..67 in the data
        data.insert(data.end(), {0x20, 0x50, 2, 0});
    S3mPattern short_;
    short_.note(0, 0, 0x40, 1);
    short_.note(1, 0, 0x40, 1);
    Bytes cut = short_.packed();
    S3mFile f;
    f.orders = {0, 1, 2};
    f.patterns = {data, {}, cut};
    Bytes b = f.build();
    // The third pattern's stored length ends before its second row.
    const size_t pointer = 16 * (b[96 + 3 + 2 * 2] | (b[96 + 3 + 2 * 2 + 1] << 8));
    b[pointer] = 4;
    b[pointer + 1] = 0;
    ASSERT_EQ(importS3m(b), kImportLoaded);
    EXPECT_EQ(row(0, 0, 63)->pitch, 60);
    EXPECT_EQ(song->patterns[0].tracks.trackAt(0)->length(), 64);
    EXPECT_EQ(song->patterns[1].length(), 64);   // the reset's length: no data
    EXPECT_EQ(song->patterns[1].tracks.trackAt(0), nullptr);
    EXPECT_EQ(row(2, 0, 0)->pitch, 60);
    EXPECT_EQ(row(2, 0, 1), nullptr);
}
