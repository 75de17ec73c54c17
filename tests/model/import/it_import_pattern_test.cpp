#include "model/import/it_import_test_support.h"

namespace {

using ittest::Bytes;

enum Command : uint8_t { A = 1, S = 19, T = 20, V = 22 };

const TesselRow& cell(const TesselModule& song, int pattern, int channel, int row)
{
    const TesselRow* r = song.patterns[static_cast<size_t>(pattern)].findRow(channel, row);
    return r ? *r : TesselRow::blank();
}

TEST_F(ItImportTest, PackedCellsWithMasksRepeatsAndEffects)
{
    ittest::File f;
    f.rowsPerBeat = 3;
    f.rowsPerMeasure = 12;
    Bytes p = {
        0x81, 0x0F, 60, 120, 40, T, 0x80,    // row 0, channel 0: everything new
        0x82, 0x03, 250, 5,                  // channel 1: a note byte that is no note
        0,
        0x01, 255, 1, 150, S, 0x91,          // row 1: the same mask again
        0,
        0x81, 0xF0,                          // row 2: all four repeated
        0x02, 254, 2,                        // channel 1 keeps mask 3
        0,
        0x83, 0x08, S, 0x61,                 // row 3: S6x goes
        0x84, 0x08, S, 0xB2,                 // SBx stays
        0x85, 0x08, T, 0x05,                 // a tempo slide is no tempo
        0x86, 0x08, 27, 0x10,                // no letter after Z
        0x87, 0x08, V, 0x40,                 // global volume is dropped
        0x88, 0x0C, 200, A, 0x06,            // volume column 200 is neither
        0x8A, 0x0A, 130, 0, 0x33,            // command 0 is no effect
        0x8B, 0x08, T, 0x1F,                 // the last tempo slide
        0x8C, 0x08, T, 0x20,                 // the slowest tempo
        0,
    };
    f.patterns.push_back({8, p});
    f.patterns.push_back({0, {}});   // packed length 0: left alone
    ASSERT_EQ(import(f.build()), kImportLoaded);
    EXPECT_TRUE(report.warnings.empty());

    const TesselPattern& pattern = song->patterns[0];
    EXPECT_EQ(pattern.length(), 8);
    EXPECT_EQ(pattern.majorStep, 12);
    EXPECT_EQ(pattern.minorStep, 3);
    EXPECT_EQ(song->patterns[1].length(), 64);
    EXPECT_EQ(song->patterns[1].majorStep, 12);

    const TesselRow& first = cell(*song, 0, 0, 0);
    EXPECT_EQ(first.pitch, 60);
    EXPECT_EQ(first.instrument, 99);
    EXPECT_EQ(first.volume, 40);
    EXPECT_EQ(first.panning, -1);
    EXPECT_EQ(first.effect.command, '@');
    EXPECT_EQ(first.effect.parameter, 0x80);
    EXPECT_EQ(cell(*song, 0, 1, 0).pitch, -1);
    EXPECT_EQ(cell(*song, 0, 1, 0).instrument, 5);

    const TesselRow& second = cell(*song, 0, 0, 1);
    EXPECT_EQ(second.pitch, 255);
    EXPECT_EQ(second.instrument, 1);
    EXPECT_EQ(second.volume, -1);
    EXPECT_EQ(second.panning, 22);
    EXPECT_EQ(second.effect.command, '.');
    EXPECT_EQ(second.effect.parameter, 0);

    const TesselRow& repeated = cell(*song, 0, 0, 2);
    EXPECT_EQ(repeated.pitch, 255);
    EXPECT_EQ(repeated.instrument, 1);
    EXPECT_EQ(repeated.panning, 22);
    EXPECT_EQ(repeated.effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 1, 2).pitch, 254);
    EXPECT_EQ(cell(*song, 0, 1, 2).instrument, 2);

    EXPECT_EQ(cell(*song, 0, 2, 3).effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 3, 3).effect.command, 'S');
    EXPECT_EQ(cell(*song, 0, 3, 3).effect.parameter, 0xB2);
    EXPECT_EQ(cell(*song, 0, 4, 3).effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 5, 3).effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 6, 3).effect.command, '.');
    const TesselRow& plain = cell(*song, 0, 7, 3);
    EXPECT_EQ(plain.volume, -1);
    EXPECT_EQ(plain.panning, -1);
    EXPECT_EQ(plain.effect.command, 'A');
    EXPECT_EQ(plain.effect.parameter, 6);
    EXPECT_EQ(cell(*song, 0, 9, 3).instrument, 99);
    EXPECT_EQ(cell(*song, 0, 9, 3).effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 10, 3).effect.command, '.');
    EXPECT_EQ(cell(*song, 0, 11, 3).effect.command, '@');
    EXPECT_EQ(cell(*song, 0, 11, 3).effect.parameter, 0x20);
}

TEST_F(ItImportTest, RowCountsAndRowCountersAreBoundedByThePattern)
{
    ittest::File f;
    f.patterns.push_back({300, {0x81, 0x01, 60, 0}});              // more rows than a pattern holds
    f.patterns.push_back({2, {0x81, 0x01, 61, 0, 0, 0, 0x81, 0x01, 62, 0}});   // a cell on row 4 of 2
    f.patterns.push_back({0, {0x81, 0x01, 63, 0}});                // no rows
    Bytes packed(300 * 4, 0);
    for (size_t r = 0; r < 300; ++r) {
        packed[4 * r] = 0x81;
        packed[4 * r + 1] = 0x01;
        packed[4 * r + 2] = static_cast<uint8_t>(r % 120);
    }
    f.patterns.push_back({300, packed});
    ASSERT_EQ(import(f.build()), kImportLoaded);

    EXPECT_EQ(song->patterns[0].length(), 256);
    EXPECT_EQ(song->patterns[1].length(), 2);
    EXPECT_EQ(cell(*song, 1, 0, 0).pitch, 61);
    EXPECT_EQ(cell(*song, 1, 0, 1).pitch, -1);
    EXPECT_EQ(song->patterns[2].length(), 64);
    EXPECT_EQ(cell(*song, 2, 0, 0).pitch, 63);
    EXPECT_EQ(song->patterns[3].length(), 256);
    EXPECT_EQ(cell(*song, 3, 0, 255).pitch, 255 % 120);
    // 300 rows twice, the cell past row 2, the empty pattern, and the 44 rows past 256.
    EXPECT_EQ(report.warnings.size(), 5u);
}

TEST_F(ItImportTest, PackedDataCutByTheEndOfTheFileLoadsWhatIsThere)
{
    ittest::File f;
    f.patterns.push_back({4, {0x81, 0x01, 60, 0, 0x81, 0x01, 61}});
    Bytes bytes = f.build();
    ittest::put16(bytes, bytes.size() - 7 - 8, 5000);   // claims far more than follows
    ASSERT_EQ(import(bytes), kImportLoaded);
    EXPECT_EQ(cell(*song, 0, 0, 0).pitch, 60);
    EXPECT_EQ(cell(*song, 0, 0, 1).pitch, 61);
    EXPECT_EQ(report.warnings.size(), 1u);
}

} // namespace
