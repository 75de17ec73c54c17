// Packed pattern cells, the effect table and damaged pattern headers.

#include "model/import/xm_import_test_support.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

struct Expected {
    char command;
    int parameter;
};

} // namespace

TEST_F(XmImportTest, NotesInstrumentsAndVolumes)
{
    Module m;
    m.channels = 3;
    m.patterns.push_back({2, join({cell(49, 3, 0x30), packed(1 | 4, {97, 0xC8}), packed(4, {0xA8}),
                                   packed(3, {1, 12}), cell(0, 0, 0x10), packed(2, {99})})});
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(song->patterns[0].length(), 2);
    EXPECT_EQ(cellAt(0, 0, 0).pitch, 60);
    EXPECT_EQ(cellAt(0, 0, 0).instrument, 3);
    EXPECT_EQ(cellAt(0, 0, 0).volume, 32);
    EXPECT_EQ(cellAt(0, 1, 0).pitch, 255) << "note off";
    EXPECT_EQ(cellAt(0, 1, 0).volume, -1) << "0xC8 is no volume";
    EXPECT_EQ(cellAt(0, 1, 0).panning, 32) << "0xC8 sets panning 8 of 16";
    EXPECT_EQ(song->patterns[0].tracks.getTrack(2).rowAt(0), nullptr) << "a vibrato speed alone stores nothing";
    EXPECT_EQ(cellAt(0, 0, 1).pitch, 12);
    EXPECT_EQ(cellAt(0, 0, 1).instrument, 12);
    EXPECT_EQ(cellAt(0, 1, 1).pitch, -1);
    EXPECT_EQ(cellAt(0, 1, 1).volume, 0);
    EXPECT_EQ(cellAt(0, 2, 1).instrument, 99);
}

TEST_F(XmImportTest, EffectsFollowTheTable)
{
    const std::vector<std::pair<std::pair<int, int>, Expected>> cases{
        {{0xD, 0x15}, {'C', 15}},   {{0xA, 0x00}, {'D', 0x00}},  {{0xF, 0x06}, {'A', 0x06}},
        {{0xF, 0x1F}, {'A', 0x1F}}, {{0xF, 0x20}, {'@', 0x20}},  {{0xF, 0x7D}, {'@', 0x7D}},
        {{0xF, 0x00}, {'.', 0}},
        {{0xE, 0x15}, {'F', 0xF5}}, {{0xE, 0x25}, {'E', 0xF5}},  {{0xE, 0xA3}, {'D', 0x3F}},
        {{0xE, 0xB3}, {'D', 0xF3}}, {{0xE, 0x62}, {'S', 0xB2}},  {{0xE, 0x84}, {'S', 0x84}},
        {{0xE, 0x93}, {'Q', 0x03}}, {{0xE, 0xC2}, {'S', 0xC2}},  {{0xE, 0xD1}, {'S', 0xD1}},
        {{0xE, 0x41}, {'.', 0}},    {{0xE, 0x74}, {'.', 0}},     {{0xE, 0xE1}, {'.', 0}},
        {{33, 0x23}, {'E', 0xE3}},  {{33, 0x1A}, {'F', 0xEA}},   {{33, 0x31}, {'.', 0}},
        {{0x0, 0x37}, {'J', 0x37}}, {{0x0, 0x00}, {'.', 0}},     {{0x1, 0x10}, {'F', 0x10}},
        {{0x2, 0x10}, {'E', 0x10}}, {{0x3, 0x20}, {'G', 0x20}},  {{0x4, 0x44}, {'H', 0x44}},
        {{0x5, 0x01}, {'L', 0x01}}, {{0x6, 0x10}, {'K', 0x10}},  {{0x7, 0x22}, {'R', 0x22}},
        {{0x8, 0x80}, {'X', 0x80}}, {{0x9, 0x10}, {'O', 0x10}},  {{0xB, 0x02}, {'B', 0x02}},
        {{25, 0x0F}, {'P', 0x0F}},  {{27, 0x31}, {'Q', 0x31}},   {{29, 0x21}, {'I', 0x21}},
        {{16, 0x40}, {'.', 0}},     {{20, 0x01}, {'.', 0}},      {{35, 0x12}, {'.', 0}},
    };
    for (const auto& [input, expected] : cases) {
        const auto [e, p] = input;
        ASSERT_EQ(import(oneCell(cell(49, 1, 0, static_cast<uint8_t>(e), static_cast<uint8_t>(p)))), kXmLoaded);
        const TesselRow& r = cellAt(0, 0, 0);
        EXPECT_EQ(r.effect.command, expected.command) << std::hex << e << " " << p;
        EXPECT_EQ(r.effect.parameter, expected.parameter) << std::hex << e << " " << p;
    }
}

TEST_F(XmImportTest, SetVolumeEffectBecomesTheCellVolume)
{
    ASSERT_EQ(import(oneCell(cell(49, 1, 0x50, 0xC, 0x20))), kXmLoaded);
    EXPECT_EQ(cellAt(0, 0, 0).volume, 32);
    EXPECT_EQ(cellAt(0, 0, 0).effect.command, '.');
    ASSERT_EQ(import(oneCell(cell(49, 1, 0, 0xC, 0x7F))), kXmLoaded);
    EXPECT_EQ(cellAt(0, 0, 0).volume, 64) << "cut to the volume range";
}

TEST_F(XmImportTest, EffectWithoutParameterByte)
{
    const std::vector<std::pair<int, Expected>> cases{
        {0xD, {'C', 0}}, {0xA, {'D', 0}}, {0xE, {'.', 0}}, {33, {'.', 0}}, {0x1, {'F', 0}}};
    for (const auto& [e, expected] : cases) {
        ASSERT_EQ(import(oneCell(packed(1 | 8, {49, static_cast<uint8_t>(e)}))), kXmLoaded);
        EXPECT_EQ(cellAt(0, 0, 0).effect.command, expected.command) << e;
        EXPECT_EQ(cellAt(0, 0, 0).effect.parameter, expected.parameter) << e;
    }
    ASSERT_EQ(import(oneCell(packed(1 | 8, {49, 0xC}))), kXmLoaded);
    EXPECT_EQ(cellAt(0, 0, 0).volume, 0);
    EXPECT_EQ(cellAt(0, 0, 0).effect.command, '.');
}

TEST_F(XmImportTest, CellsTheSongCannotHoldAreDropped)
{
    Module m;
    m.channels = 66;
    Bytes row;
    for (int c = 0; c < 66; ++c)
        row = join({row, cell(49, c == 1 ? 100 : 1)});
    m.patterns.push_back({1, row});
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(cellAt(0, 0, 0).pitch, 60);
    EXPECT_EQ(song->patterns[0].tracks.trackAt(1), nullptr) << "instrument above 99";
    EXPECT_EQ(cellAt(0, 63, 0).pitch, 60);
}

TEST_F(XmImportTest, RowCountsOutsideTheTrackGive64)
{
    Module m;
    m.channels = 1;
    m.patterns = {{0, cell(49)}, {300, cell(49)}, {256, cell(49)}};
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(song->patterns[0].length(), 64);
    EXPECT_EQ(song->patterns[1].length(), 64);
    EXPECT_EQ(song->patterns[2].length(), 256);
}

TEST_F(XmImportTest, PackedSizeAndRowCountBoundTheCells)
{
    Module m;
    m.channels = 1;
    m.patterns = {{2, cell(49)}, {1, join({cell(52), cell(53)})}, {3, {}}, {1, cell(54)}};
    m.orders = {0, 1, 2, 3};
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(song->patterns[0].length(), 2);
    EXPECT_EQ(cellAt(0, 0, 0).pitch, 60);
    EXPECT_EQ(cellAt(0, 0, 1).pitch, -1) << "the data ended before row 1";
    EXPECT_EQ(song->patterns[1].length(), 1);
    EXPECT_EQ(cellAt(1, 0, 0).pitch, 63);
    EXPECT_EQ(song->patterns[2].length(), 64) << "a pattern without data is left as it is";
    EXPECT_EQ(cellAt(3, 0, 0).pitch, 65) << "each pattern starts after the previous one's packed size";
}

TEST_F(XmImportTest, ImplausibleHeaderLengthsAreSteppedOver)
{
    Module m;
    m.channels = 1;
    Pattern bad{4, cell(49)};
    bad.headerLength = 0x01000009;
    m.patterns = {{2, cell(50)}, bad};
    EXPECT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(cellAt(0, 0, 0).pitch, 61);

    // A length that never becomes plausible ends at the end of the file.
    Module hostile;
    hostile.patternCount = 3;
    EXPECT_EQ(import(hostile.build() + std::string(40, '\xFF')), kXmLoaded);
    hostile.patternCount = 0xFFFF;
    EXPECT_EQ(import(hostile.build() + std::string(9, '\0')), kXmLoaded);
}

TEST_F(XmImportTest, PatternsBeyond200AreSkippedWithAWarning)
{
    Module m;
    m.channels = 1;
    for (int p = 0; p < 202; ++p)
        m.patterns.push_back({1, cell(static_cast<uint8_t>(1 + p % 96))});
    Instrument in;
    in.name = "after patterns";
    in.samples.push_back(Sample{deltas8({5})});
    m.instruments.push_back(in);
    ASSERT_EQ(import(m), kXmLoaded);
    EXPECT_EQ(platform::statusText(), " WARNING: XM file contains more than 200 patterns.");
    EXPECT_EQ(cellAt(199, 0, 0).pitch, 1 + 199 % 96 + 11);
    EXPECT_EQ(song->instruments[0].nameText().substr(0, 14), "after patterns");
    EXPECT_EQ(song->samples[0].audio.channel(0)[0], 5.0f);
}
