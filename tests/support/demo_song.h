#pragma once
// A small song to look at and to play: three looped waveforms, an
// instrument for each, four patterns over five named and coloured channels
// and an order list with a skip marker. The caller holds the song lock or
// owns the song alone.

#include "model/song/module.h"

#include <cmath>
#include <cstdint>

namespace demo_song {

constexpr int kPeriod = 84;              // frames: about C-5 at 22050 Hz
constexpr int kFrames = kPeriod * 50;
constexpr const char* kInstrumentNames[3] = {"Lead Sine", "Bass Square", "Pad Saw"};
// The order list: patterns 0, 1, 0, 2, a skip, 3.
constexpr int32_t kOrders[6] = {0, 1, 0, 2, kOrderSkip, 3};

inline float wave(int kind, int frame)
{
    const double phase = static_cast<double>(frame % kPeriod) / kPeriod;
    switch (kind) {
    case 0: return static_cast<float>(std::sin(2.0 * M_PI * phase) * 20000.0);
    case 1: return phase < 0.5 ? 12000.0f : -12000.0f;
    default: return static_cast<float>((2.0 * phase - 1.0) * 14000.0);
    }
}

inline void fillSample(TesselSample& sample, int kind, const char* name)
{
    sample.setName(name);
    sample.bits = 16;
    sample.channels = 1;
    sample.fileRate = 22050;
    sample.speed = 22050;
    sample.length = kFrames;
    if (!sample.audio.allocate(1, kFrames + 8))
        return;
    for (int f = 0; f < kFrames; ++f)
        sample.audio.buffers[0][f] = wave(kind, f);
    sample.audio.holdFrom(kFrames - 1);
    sample.loop.type = 1;
    sample.loop.begin = 0;
    sample.loop.end = kFrames;
}

inline void note(TesselPattern& pattern, int channel, int row, int pitch, int instrument, int volume = -1)
{
    TesselRow& cell = pattern.tracks.getTrack(channel).getRow(row);
    cell.pitch = static_cast<int16_t>(pitch);
    cell.instrument = static_cast<int16_t>(instrument);
    cell.volume = static_cast<int16_t>(volume);
}

inline void fill(TesselModule& song)
{
    for (int s = 0; s < 3; ++s)
        fillSample(song.samples[static_cast<size_t>(s)], s, kInstrumentNames[s]);
    for (int i = 0; i < 3; ++i) {
        TesselInstrument& instrument = song.instruments[static_cast<size_t>(i)];
        instrument.setName(kInstrumentNames[i]);
        instrument.keymap.reset(i);
    }
    static const int kMelody[16] = {60, 64, 67, 72, 71, 67, 64, 62, 60, 62, 64, 65, 67, 69, 71, 72};
    for (int p = 0; p < 4; ++p) {
        TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
        for (int step = 0; step < 16; ++step)
            note(pattern, 0, 4 * step, kMelody[(step + 3 * p) % 16], 1, 48);
        for (int bar = 0; bar < 8; ++bar)
            note(pattern, 1, 8 * bar, 36 + (bar % 2 ? 7 : 0) + 2 * p, 2);
        note(pattern, 2, 0, 48 + p, 3, 40);
        note(pattern, 2, 32, 52 + p, 3, 40);
        for (int step = 0; step < 8; ++step)
            note(pattern, 3, 8 * step + 2, kMelody[(step + 5) % 16] + 12, 1, 24);
        note(pattern, 4, 0, 60 + p, 2, 16);
    }
    song.patterns[3].setLabel("END");
    const char* names[5] = {"Lead", "Bass", "Pad", "Echo", "Drone"};
    const uint32_t colours[5] = {0x3050E0, 0xE09030, 0x50C060, 0xC050B0, 0x909090};
    for (int c = 0; c < 5; ++c) {
        song.channels[static_cast<size_t>(c)].setName(names[c]);
        song.channels[static_cast<size_t>(c)].colour = colours[c];
    }
    song.orderList.reset();
    for (int i = 0; i < 6; ++i)
        song.orderList.entries[static_cast<size_t>(i)].pattern = kOrders[i];
    song.orderList.updateLength();
}

} // namespace demo_song
