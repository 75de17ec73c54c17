#include "model/import/tracker_import_test_support.h"

#include "model/import/mod_import_parts.h"

using tracker_file::Bytes;
using tracker_file::ModFile;

namespace {

struct Converted {
    bool present;
    TesselSubrowData cell;
};

Converted convert(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    const uint8_t bytes[4] = {b0, b1, b2, b3};
    Converted c{};
    c.present = convertModCell(bytes, c.cell);
    return c;
}

} // namespace

TEST_F(TrackerImportTest, ModTagsNameTheChannelCount)
{
    const std::pair<const char*, int> known[] = {{"M.K.", 4}, {"m.k.", 4}, {"M!K!", 4}, {"flt4", 4},
                                                 {"6CHN", 6}, {"8chn", 8}, {"12CH", 12}, {"64CH", 64}};
    for (const auto& [tag, channels] : known)
        EXPECT_EQ(modChannelsFromTag(tag), channels) << tag;
    for (const char* refused : {"65CH", "99CH", "00CH", "0CHN", "ABCD", "X2CH", "1XCH", "6CHX", "FLT8"})
        EXPECT_EQ(modChannelsFromTag(refused), 0) << refused;
}

TEST_F(TrackerImportTest, ModSongSettingsOrdersAndPanning)
{
    ModFile f;
    f.name = "A twenty char name!!";
    f.tag = "6CHN";
    f.channels = 6;
    f.songLength = 3;
    f.orders[0] = 0;
    f.orders[1] = 2;
    f.orders[2] = 1;
    f.orders[5] = 3;   // beyond the song length: not an entry, but stored in the file
    f.patterns.assign(4, f.emptyPattern());
    f.setCell(f.patterns[3], 0, 5, {0x00, 0xD6, 0x00, 0x00});
    ASSERT_EQ(importModImage(f.build()), kImportLoaded);
    EXPECT_STREQ(song->text, "A twenty char name!!");
    EXPECT_EQ(song->tempo, 125.0);
    EXPECT_EQ(song->resolution, 6.0);
    EXPECT_EQ(song->timingMode, TesselModule::Speed);
    const int pans[] = {0, 64, 64, 0, 0, 64};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(song->channels[i].panning, pans[i]) << i;
    EXPECT_EQ(song->channels[6].panning, 32);
    EXPECT_EQ(song->orderList.length, 3);
    EXPECT_EQ(song->orderList.entries[1].pattern, 2);
    EXPECT_EQ(song->orderList.entries[3].pattern, kOrderEmpty);
    EXPECT_EQ(song->orderList.entries[5].pattern, kOrderEmpty);
    // Pattern 3 was read: the count comes from all 128 order bytes.
    ASSERT_TRUE(row(3, 5, 0));
    EXPECT_EQ(row(3, 5, 0)->pitch, 48);
}

TEST_F(TrackerImportTest, ModTwelveChannelsAndAnUnknownTag)
{
    ModFile f;
    f.tag = "12CH";
    f.channels = 12;
    f.patterns = {f.emptyPattern()};
    f.setCell(f.patterns[0], 63, 11, {0x10, 0xD6, 0x3C, 0x05});
    ASSERT_EQ(importModImage(f.build()), kImportLoaded);
    ASSERT_TRUE(row(0, 11, 63));
    EXPECT_EQ(row(0, 11, 63)->instrument, 19);

    f.tag = "WXYZ";
    song->tempo = 99.0;
    EXPECT_EQ(importModImage(f.build()), kImportUnreadable);
    EXPECT_EQ(platform::statusText(), "Error: File is not a recognised MOD format. (WXYZ)");
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(song->patterns[0].tracks.trackAt(11), nullptr);

    EXPECT_EQ(importModImage(Bytes(100, 0)), kImportUnreadable);
    EXPECT_EQ(platform::statusText(), "Error: File is not a recognised MOD format. (?\?\?\?)");
    EXPECT_EQ(importMod("/nonexistent/song.mod", *song), kImportUnreadable);
}

TEST_F(TrackerImportTest, ModCellsGiveInstrumentPitchAndVolume)
{
    const Converted c = convert(0x10, 0xD6, 0x3C, 0x05);   // sample 19, period 214, C 05
    EXPECT_TRUE(c.present);
    EXPECT_EQ(c.cell.instrument, 19);
    EXPECT_EQ(c.cell.pitch, 48);
    EXPECT_EQ(c.cell.volume, 5);
    EXPECT_EQ(c.cell.effect.command, '.');
    EXPECT_EQ(convert(0x06, 0xB0, 0x00, 0x00).cell.pitch, 12);   // 1712
    EXPECT_EQ(convert(0x00, 0x38, 0x00, 0x00).cell.pitch, 71);   // 56
    EXPECT_FALSE(convert(0x00, 0x64, 0x00, 0x00).present);       // 100: no note
    EXPECT_EQ(convert(0x60, 0x00, 0x40, 0x00).cell.instrument, 0);   // sample 100
    EXPECT_EQ(convert(0x60, 0x00, 0x30, 0x00).cell.instrument, 99);
}

TEST_F(TrackerImportTest, ModEffectsFollowTheClassicTable)
{
    struct Case {
        uint8_t e, p;
        char command;
        int parameter;
    };
    const Case cases[] = {
        {0x0, 0x37, 'J', 0x37}, {0x0, 0x00, '.', 0},    {0x1, 0x00, 'F', 0x00}, {0x2, 0x05, 'E', 0x05},
        {0x3, 0x10, 'G', 0x10}, {0x4, 0x46, 'H', 0x46}, {0x5, 0x00, '.', 0},    {0x5, 0x20, 'L', 0x20},
        {0x6, 0x00, '.', 0},    {0x6, 0x02, 'K', 0x02}, {0x7, 0x44, 'R', 0x44}, {0x8, 0x80, 'X', 0x80},
        {0x9, 0x10, 'O', 0x10}, {0xA, 0x00, '.', 0},    {0xA, 0x0F, 'D', 0x0F}, {0xB, 0x07, 'B', 0x07},
        {0xD, 0x25, 'C', 25},   {0xE, 0x13, 'F', 0xF3}, {0xE, 0x24, 'E', 0xF4}, {0xE, 0x62, 'S', 0xB2},
        {0xE, 0x84, 'S', 0x84}, {0xE, 0x93, 'Q', 0x03}, {0xE, 0xA2, 'D', 0x2F}, {0xE, 0xB2, 'D', 0xF2},
        {0xE, 0xC3, 'S', 0xC3}, {0xE, 0xD1, 'S', 0xD1}, {0xE, 0x41, '.', 0},    {0xE, 0x71, '.', 0},
        {0xE, 0x01, '.', 0},    {0xE, 0xE2, '.', 0},    {0xF, 0x00, '.', 0},    {0xF, 0x1F, 'A', 0x1F},
        {0xF, 0x20, 'T', 0x20}, {0xF, 0xFF, 'T', 0xFF},
    };
    for (const Case& k : cases) {
        const Converted c = convert(0, 0, k.e, k.p);
        EXPECT_EQ(c.cell.effect.command, k.command) << int(k.e) << " " << int(k.p);
        EXPECT_EQ(c.cell.effect.parameter, k.parameter) << int(k.e) << " " << int(k.p);
    }
}

TEST_F(TrackerImportTest, ModImportCleansEffectsUp)
{
    ModFile f;
    f.patterns = {f.emptyPattern()};
    f.setCell(f.patterns[0], 0, 0, {0, 0, 0x0F, 0x20});
    f.setCell(f.patterns[0], 1, 0, {0, 0, 0x0F, 0x1F});
    f.setCell(f.patterns[0], 2, 0, {0, 0, 0x0E, 0x84});
    ASSERT_EQ(importModImage(f.build()), kImportLoaded);
    EXPECT_EQ(row(0, 0, 0)->effect.command, '@');
    EXPECT_EQ(row(0, 0, 0)->effect.parameter, 0x20);
    EXPECT_EQ(row(0, 0, 1)->effect.command, 'A');
    EXPECT_EQ(row(0, 0, 2)->effect.command, 'S');
    EXPECT_EQ(song->patterns[0].length(), 64);
    EXPECT_EQ(song->patterns[1].tracks.trackAt(0), nullptr);
}

TEST_F(TrackerImportTest, ModFinetunesGiveSpeeds)
{
    const int32_t speeds[16] = {33038, 33277, 33518, 33761, 34006, 34252, 34500, 34750,
                                31183, 31409, 31637, 31866, 32097, 32330, 32564, 32800};
    for (int f = 0; f < 16; ++f)
        EXPECT_EQ(modFinetuneSpeed(f), speeds[f]) << f;
    EXPECT_EQ(modFinetuneSpeed(0x17), 34750);   // only the nibble counts
}

TEST_F(TrackerImportTest, ModSamplesFollowThePatternsInOrder)
{
    ModFile f;
    f.orders[0] = 1;   // two patterns stored
    f.patterns.assign(2, f.emptyPattern());
    f.samples[0] = {"first", 2, 0, 40, 0, 1, {1, 2, 3, 0x80}};
    f.samples[1] = {"looped", 3, 15, 70, 1, 2, {9, 8, 7, 6, 5, 0xFF}};
    f.samples[2] = {"cut off", 4, 7, 64, 0, 4, {0x7F, 0x10}};   // the file ends 6 bytes early
    f.samples[3] = {"looped but empty", 0, 0, 64, 0, 8, {}};
    ASSERT_EQ(importModImage(f.build()), kImportLoaded);
    EXPECT_EQ(sample(0).nameText(), "first                    ");
    EXPECT_EQ(sample(0).length, 4);
    EXPECT_EQ(sample(0).bits, 8);
    EXPECT_EQ(sample(0).fileRate, 44100);
    EXPECT_EQ(sample(0).channels, 1);
    EXPECT_EQ(sample(0).speed, 33038);
    EXPECT_EQ(sample(0).defaultVolume, 40);
    EXPECT_EQ(sample(0).loop.type, 0);
    const float* a = sample(0).audio.channel(0);
    EXPECT_EQ(std::vector<float>(a, a + 6), (std::vector<float>{1, 2, 3, -128, -128, -128}));

    EXPECT_EQ(sample(1).speed, 32800);
    EXPECT_EQ(sample(1).defaultVolume, 64);   // 70 is past the format's range
    EXPECT_EQ(loopOf(sample(1).loop), (LoopPoints{1, 2, 6}));
    EXPECT_EQ(sample(1).audio.channel(0)[5], -1.0f);

    EXPECT_EQ(sample(2).speed, 34750);
    EXPECT_EQ(sample(2).length, 2);
    EXPECT_EQ(sample(2).loop.end, 2);
    EXPECT_EQ(sample(2).audio.channel(0)[1], 16.0f);
    EXPECT_EQ(sample(3).length, 0);
    EXPECT_EQ(sample(3).bits, 0);
    EXPECT_EQ(sample(3).loop.type, 0);
}

TEST_F(TrackerImportTest, ModHostileFilesStayInsideTheFile)
{
    ModFile f;
    f.tag = "64CH";
    f.channels = 64;
    f.songLength = 255;
    f.orders.fill(255);   // 256 patterns announced, 200 read
    for (auto& s : f.samples)
        s.words = 0xFFFF;
    const Bytes whole = f.build();
    ASSERT_EQ(importModImage(whole), kImportLoaded);
    EXPECT_EQ(song->orderList.length, 0);   // 128 entries, all empty
    for (size_t n = 1084; n <= whole.size(); n += 97)
        importModImage(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(sample(i).length, 0);
}
