#include "model/module_test_support.h"

namespace {

TesselRow& cell(TesselModule& song, int pattern, int track, int row)
{
    return song.patterns[static_cast<size_t>(pattern)].tracks.getTrack(track).getRow(row);
}

void setEffect(TesselRow& row, char command, int16_t parameter)
{
    row.effect.command = command;
    row.effect.parameter = parameter;
}

} // namespace

TEST_F(ModuleTest, ImportedEffectsAreConvertedByTheTable)
{
    auto song = makeSong();
    // Parameters of S by high nibble: cleared 0, 1, 2, 6, 9, 14, 15; kept 3, 4, 5, 7, 8, 10..13.
    const bool keptS[16] = {false, false, false, true, true, true, false, true,
                            true, false, true, true, true, true, false, false};
    for (int h = 0; h < 16; ++h) {
        TesselRow& row = cell(*song, 5, 1, h);
        row.pitch = 60;
        setEffect(row, 'S', static_cast<int16_t>(h << 4 | 2));
    }
    setEffect(cell(*song, 5, 2, 0), 'T', 125);
    setEffect(cell(*song, 5, 2, 1), 'V', 0x40);
    setEffect(cell(*song, 5, 2, 2), 'W', 3);
    setEffect(cell(*song, 5, 2, 3), 'A', 6);
    setEffect(cell(*song, 199, 63, 255), 'T', 0x20);
    song->patterns[199].setLength(256);
    setEffect(cell(*song, 199, 63, 255), 'T', 0x20);
    setEffect(cell(*song, 7, 0, 0), 'V', 1);   // a track left empty is freed
    cell(*song, 8, 4, 3);                        // an empty track is freed too

    song->convertImportedEffects();

    for (int h = 0; h < 16; ++h) {
        const TesselRow& row = *song->patterns[5].tracks.trackAt(1)->rowAt(h);
        EXPECT_EQ(row.effect.command, keptS[h] ? 'S' : '.') << h;
        EXPECT_EQ(row.effect.parameter, keptS[h] ? (h << 4 | 2) : 0) << h;
        EXPECT_EQ(row.pitch, 60);
    }
    const TesselTrack& t = *song->patterns[5].tracks.trackAt(2);
    EXPECT_EQ(t.rowAt(0)->effect.command, '@');
    EXPECT_EQ(t.rowAt(0)->effect.parameter, 125);
    EXPECT_EQ(t.rowAt(1), nullptr);   // cleared, then freed as empty
    EXPECT_EQ(t.rowAt(2), nullptr);
    EXPECT_EQ(t.rowAt(3)->effect.command, 'A');
    EXPECT_EQ(song->patterns[199].tracks.trackAt(63)->rowAt(255)->effect.command, '@');
    EXPECT_EQ(song->patterns[7].tracks.trackAt(0), nullptr);
    EXPECT_EQ(song->patterns[8].tracks.trackAt(4), nullptr);
}
