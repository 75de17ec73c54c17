#pragma once
// A small song to look at: named instruments and channels with colours, a
// melody, a bass line, drums and hats with volumes and effects in pattern 0,
// which the order list plays first.

#include "model/song/module.h"

inline void fillDemoSongInto(TesselModule& song)
{
    const char* instruments[] = {"Piano", "Bass", "Kick", "Snare", "Hat"};
    for (int i = 0; i < 5; ++i)
        song.instruments[size_t(i)].setName(instruments[i]);
    const char* channels[] = {"Melody", "Bass", "Drums", "Hats"};
    const uint32_t colours[] = {0x3060C0, 0x30A060, 0xC06030, 0xFFFFFF};
    for (int c = 0; c < 4; ++c) {
        song.channels[size_t(c)].setName(channels[c]);
        song.channels[size_t(c)].colour = colours[c];
    }
    TesselPattern& pattern = song.patterns[0];
    pattern.setLabel("Vrs");
    const auto cell = [&pattern](int channel, int row) -> TesselSubrow& {
        return pattern.tracks.getTrack(channel).getRow(row);
    };
    const int melody[] = {60, 64, 67, 72, 71, 67, 64, 62};
    for (int step = 0; step < 16; ++step) {
        TesselSubrow& lead = cell(0, step * 4);
        lead.pitch = static_cast<int16_t>(melody[step % 8]);
        lead.instrument = 1;
        lead.volume = static_cast<int16_t>(40 + step);
        TesselSubrow& bass = cell(1, step * 8 % 64);
        bass.pitch = 36;
        bass.instrument = 2;
        bass.effect = {0, 'D', 0x0F};
        TesselSubrow& drum = cell(2, step * 4);
        drum.pitch = 48;
        drum.instrument = static_cast<int16_t>(step % 2 ? 4 : 3);
        TesselSubrow& hat = cell(3, step * 4 + 2);
        hat.pitch = 72;
        hat.instrument = 5;
        hat.volume = 24;
        hat.effect = {0, 'K', 0x40};
    }
    cell(0, 0).effect = {0, '@', 0x7D};
    song.orderList.entries[0].pattern = 0;
    song.orderList.entries[1].pattern = 1;
    song.orderList.updateLength();
}
