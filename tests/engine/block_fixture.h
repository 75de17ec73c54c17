#pragma once
// An engine with a host around it for the audio block tests: 44.1 kHz,
// 125 BPM, speed 6, four rows per quarter (5292 frames per row, 882 per
// tick). Restores the SSE control word that the block changes.

#include "block_rig.h"
#include "engine/mixing/mixer_fixture.h"
#include "engine_fixture.h"

#include "engine/tables.h"

#include <xmmintrin.h>

class BlockTest : public EngineTest {
protected:
    static constexpr int kRowFrames = 5292;
    static constexpr int kTickFrames = 882;

    void SetUp() override
    {
        EngineTest::SetUp();
        csr_ = _mm_getcsr();
        fillTesselTables();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        configure(125.0, 6.0, TesselModule::Resolution);
    }
    void TearDown() override
    {
        engine.reset();
        _mm_setcsr(csr_);
        EngineTest::TearDown();
    }

    void configure(double bpm, double speed, uint8_t mode)
    {
        platform::MutexLock lock(engine->song.songLock(), 1000);
        engine->song.tempo = bpm;
        engine->song.resolution = speed;
        engine->song.timingMode = mode;
        engine->tempo = bpm;
        engine->speed = speed;
        engine->setSampleRate(44100.0f);
        engine->computeTiming();
        engine->rebuildSongPlaylist(nullptr, true);
    }

    // Song playback from the start; while the transport cannot start a song
    // yet, the state it would leave.
    void startSong()
    {
        if (engine->playSong(-1, 0))
            return;
        engine->position().reset();
        engine->transport = kPlayingSong;
    }

    // Instrument 1 plays sample 1: a constant tone of `frames` frames.
    void addInstrument(int frames)
    {
        TesselSample& sample = engine->song.samples[0];
        mixer_test::fillSample(sample, frames, 1, 16, [](int, int f) { return (f % 2) ? 8000.0f : -8000.0f; });
        sample.speed = 44100;
        sample.pitch = 60;
    }

    // A note of instrument 1 on (channel, row) of pattern 0.
    void addNote(int channel, int row, int pitch = 60)
    {
        TesselRow& cell = engine->song.patterns[0].tracks.getTrack(channel).getRow(row);
        cell.pitch = static_cast<int16_t>(pitch);
        cell.instrument = 1;
    }

    // Renders `total` frames in blocks of `block`, keeping channel 0.
    std::vector<float> render(int total, int block)
    {
        std::vector<float> out;
        for (int done = 0; done < total; done += block) {
            const int n = std::min(block, total - done);
            EXPECT_TRUE(engine->process(n));
            out.insert(out.end(), engine->output.channel[0], engine->output.channel[0] + n);
        }
        return out;
    }

    block_test::BlockPlugin plugin;
    block_test::BlockEditor editor;

private:
    unsigned csr_ = 0;
};
