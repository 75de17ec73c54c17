// The lookups of note entry and the cursor guide: which sample a note plays,
// at what volume and panning, and neighbouring order entries.
#include "model/module_test_support.h"
#include "model/selection/selection.h"
#include "model/song/module.h"

namespace {

using CellLookups = ModuleTest;

TesselSubrowData note(int16_t pitch, int16_t instrument)
{
    TesselSubrowData cell;
    cell.pitch = pitch;
    cell.instrument = instrument;
    return cell;
}

TEST_F(CellLookups, SampleForNote)
{
    auto song = makeSong();
    TesselInstrument& instrument = song->instruments[4];   // its own sample is 4
    instrument.keymap.getRow(60).instrument = 9;
    instrument.keymap.getRow(61).instrument = 0;
    struct Case {
        int16_t pitch;
        int sample;
    };
    for (const Case& c : {Case{60, 8}, Case{61, 4}, Case{62, 4 + 0 * 62}, Case{-1, 4}, Case{254, 4}, Case{255, 4},
                          Case{120, 4}, Case{200, 4}, Case{-30, 4}})
        EXPECT_EQ(instrument.sampleForNote(note(c.pitch, 5)), c.sample) << c.pitch;
    instrument.midiOut = 1;
    EXPECT_EQ(instrument.sampleForNote(note(60, 5)), -1);
}

TEST_F(CellLookups, VolumeAndPanningAsTheCellPlays)
{
    auto song = makeSong();
    TesselInstrument& instrument = song->instruments[0];
    song->samples[0].defaultVolume = 40;
    song->samples[0].defaultPan = -1;
    song->samples[2].defaultVolume = 20;
    song->samples[2].defaultPan = 10;
    song->channels[5].panning = 50;
    instrument.keymap.getRow(50).instrument = 3;
    instrument.keymap.getRow(51).volume = 7;
    instrument.keymap.getRow(51).panning = 9;

    EXPECT_EQ(song->cellVolume(note(60, 0), 5), -1);
    EXPECT_EQ(song->cellPanning(note(60, 0), 5), -1);
    EXPECT_EQ(song->cellVolume(note(60, 100), 5), -1) << "an instrument outside 1..99 is none";
    EXPECT_EQ(song->cellVolume(note(60, 1), 5), 40);
    EXPECT_EQ(song->cellPanning(note(60, 1), 5), 50) << "the channel's";
    EXPECT_EQ(song->cellVolume(note(50, 1), 5), 20);
    EXPECT_EQ(song->cellPanning(note(50, 1), 5), 10) << "the sample's";
    EXPECT_EQ(song->cellVolume(note(51, 1), 5), 7) << "the key map row's";
    EXPECT_EQ(song->cellPanning(note(51, 1), 5), 9);
    EXPECT_EQ(song->cellPanning(note(60, 1), 70), -1) << "no channel 70";
    instrument.defaultPan = 33;
    EXPECT_EQ(song->cellPanning(note(50, 1), 5), 33) << "the instrument's before the sample's";
    instrument.midiOut = 1;
    EXPECT_EQ(song->cellVolume(note(60, 1), 5), 64);
    EXPECT_EQ(song->cellVolume(note(51, 1), 5), 7);
}

TEST_F(CellLookups, NextAndPreviousUsedOrderEntries)
{
    auto song = makeSong();
    TesselOrderList& order = song->orderList;
    order.entries[3].pattern = 5;
    order.entries[7].pattern = kOrderSkip;
    order.entries[9].pattern = 0;
    EXPECT_EQ(order.nextUsed(0), 3);
    EXPECT_EQ(order.nextUsed(3), 9) << "markers hold no pattern";
    EXPECT_EQ(order.nextUsed(9), 9);
    EXPECT_EQ(order.nextUsed(255), 255);
    EXPECT_EQ(order.previousUsed(9), 3);
    EXPECT_EQ(order.previousUsed(3), 3);
    EXPECT_EQ(order.previousUsed(300), 9);
    EXPECT_EQ(order.nextUsed(-5), 3);
}

TEST_F(CellLookups, RegionCellsAndTheEndOfADroppedBlock)
{
    auto song = makeSong();
    TesselPattern& pattern = song->patterns[0];
    TesselSelection region;
    region.speeds = [](const TesselPattern&, int row) { return row == 2 ? 3 : 1; };
    EXPECT_EQ(region.cellCount(), 0);
    region.select(&pattern, {0, 0, 1, 0}, {2, 8, 3, 0});
    EXPECT_EQ(region.cellCount(), 1 + 3 + 1);
    EXPECT_EQ(region.positionAfter(1, 0), (TesselCellPosition{3, 0}));
    EXPECT_EQ(region.positionAfter(10, 0), (TesselCellPosition{14, 0}));
    EXPECT_EQ(region.positionAfter(0, 2), (TesselCellPosition{4, 0}));
    EXPECT_EQ(region.positionAfter(62, 0), (TesselCellPosition{63, 0})) << "bounded by the pattern";

    TesselSelection same = region;
    EXPECT_TRUE(region.sameRegion(same));
    same.dragging = 1;
    EXPECT_FALSE(region.sameRegion(same));
    same = region;
    same.end.row = 4;
    EXPECT_FALSE(region.sameRegion(same));
}

} // namespace
