// The info page's rows for the thread sanitizer: the demo song plays
// through the engine's audio block on a thread of its own while the rows
// copy what they show and draw, and the channels' mute flags change, for two
// seconds at least.
#include "editor/info/info_display.h"
#include "engine/engine.h"
#include "gui/offscreen_context.h"
#include "model/model_globals.h"
#include "support/demo_song.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// The plug-in and editor sides the audio block asks: no host time, so the
// engine plays by its own clock.
struct QuietPlugin : TesselPluginLink {
    intptr_t canHostDo(const char*) override { return 0; }
    const char* hostVendor() const override { return ""; }
    const VstTimeInfo* hostTimeInfo(int32_t) override { return nullptr; }
};
struct NoPatternEditor : TesselEditorLink {};

class InfoDisplayThreads : public ::testing::Test {
protected:
    void SetUp() override
    {
        modelGlobals().reset();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
        engine->attachPlugin(&plugin);
        engine->editor = &editor;
        engine->setSampleRate(44100.0f);
        platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs);
        demo_song::fill(engine->song);
        engine->rebuildSongPlaylist(nullptr, true);
        engine->rebuildPatternPlaylists(true);
        ASSERT_TRUE(engine->playSong(0, 0));
    }
    void TearDown() override
    {
        engine.reset();
        modelGlobals().reset();
    }

    QuietPlugin plugin;
    NoPatternEditor editor;
    std::unique_ptr<TesselEngine> engine;
};

} // namespace

TEST_F(InfoDisplayThreads, RowsCopyAndDrawWhileTheAudioBlockRendersOnAnotherThread)
{
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        while (!stop.load()) {
            engine->process(256);
            ++blocks;
        }
    });
    TesselInfoDisplay display;
    COffscreenContext page{nullptr, 705, 432, kBlackCColor};
    int passes = 0;
    int captured = 0;
    int widest = 0;
    // Two seconds at least, then on until enough passes were seen: a slow
    // sanitized run on a busy machine may capture only a few in two seconds.
    const auto start = std::chrono::steady_clock::now();
    const auto enough = [&] {
        const auto ran = std::chrono::steady_clock::now() - start;
        if (ran > std::chrono::seconds(60))
            return true;
        return ran > std::chrono::seconds(2) && captured > 10 && blocks.load() > 10 && widest > 1;
    };
    while (!enough()) {
        if (display.capture(*engine)) {
            display.drawRows(&page, nullptr, 0, passes % 64, passes % 10 == 0, 705);
            widest = std::max(widest, display.meterWidth(0));
            ++captured;
        }
        if (passes % 25 == 0) {
            // As an editor does, only with the lock: the audio thread
            // takes it back at once after each block, and a sanitized run
            // on a busy machine may keep it from here for the whole wait.
            platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs);
            // Channel 0 stays audible for the meter check however few passes a slow run makes.
            TesselChannel& channel = engine->song.channels[static_cast<size_t>(1 + passes / 25 % 4)];
            if (lock)
                channel.mute = channel.mute ? 0 : 1;
        }
        ++passes;
    }
    stop.store(true);
    audio.join();
    EXPECT_GT(blocks.load(), 10);
    EXPECT_GT(captured, 10);
    EXPECT_GT(widest, 1);   // the rows saw the song playing
}
