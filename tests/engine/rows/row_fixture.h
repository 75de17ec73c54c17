#pragma once
// An engine whose song has instruments 1 and 2 playing samples 1 and 2 (a
// constant level, long enough for any test), with helpers that run rows and
// ticks on a channel the way the block process does.

#include "engine/engine_fixture.h"

#include "engine/engine_actions.h"
#include "engine/engine_globals.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_flags.h"
#include "engine/voice/voice_update_tables.h"

#include <utility>
#include <vector>

inline TesselSubrow note(int pitch, int instrument, char command = '.', int parameter = 0)
{
    TesselSubrow s;
    s.pitch = static_cast<int16_t>(pitch);
    s.instrument = static_cast<int16_t>(instrument);
    s.effect.command = command;
    s.effect.parameter = static_cast<int16_t>(parameter);
    return s;
}

class RowEngineTest : public EngineTest {
protected:
    static constexpr int kFrames = 20000;

    void SetUp() override
    {
        EngineTest::SetUp();
        for (TesselChannel& live : liveChannels())
            live.reset();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        fillRateTables(44100.0);
        for (int s = 0; s < 2; ++s)
            fillSample(engine->song.samples[static_cast<size_t>(s)], 0.25f * static_cast<float>(s + 1));
        TesselEngineHooks::logAction = [](int action, int32_t value) { actions().emplace_back(action, value); };
        actions().clear();
    }
    void TearDown() override
    {
        TesselEngineHooks::logAction = nullptr;
        for (TesselChannel& live : liveChannels())
            live.reset();
        EngineTest::TearDown();
    }

    static void fillSample(TesselSample& sample, float level)
    {
        ASSERT_TRUE(sample.audio.allocate(1, kFrames + 6));
        std::fill(sample.audio.buffers[0], sample.audio.buffers[0] + kFrames + 6, level);
        sample.length = kFrames;
        sample.channels = 1;
        sample.bits = 16;
        sample.speed = 44100;
        sample.pitch = 60;
        sample.defaultVolume = 64;
        sample.globalVolume = 64;
    }

    static std::vector<std::pair<int, int32_t>>& actions()
    {
        static std::vector<std::pair<int, int32_t>> list;
        return list;
    }

    TesselInstrument& instrument(int n) { return engine->song.instruments[static_cast<size_t>(n - 1)]; }
    TesselChannelVoiceList& list(int c) { return engine->voiceLists[static_cast<size_t>(c)]; }
    TesselVoice& voice(int c, int position = 0) { return *list(c).nodeAt(position)->voice; }
    int chainLength(int c)
    {
        int n = 0;
        for (TesselVoiceListNode* node = list(c).head; node; node = node->next)
            ++n;
        return n;
    }

    // Tick 0 of a row in playback: the channel's row step, then its tick.
    void row(int c, const TesselSubrow& subrow)
    {
        engine->tickFlags = 2 | 8 | voice_flag::kPlayback;
        engine->processChannelRow(c, &subrow, -1, 0);
        engine->tickFlags = 2 | 8;
        engine->updateTick(c, 0);
    }
    // A later tick of the row.
    void tick(int c)
    {
        engine->tickFlags = 8;
        engine->updateTick(c, 0);
    }
};
