// The library through its VST 2 entry with a host's three threads at once:
// blocks on one, the chunk's loads and saves on another, MIDI events on a
// third. Built alone under the thread sanitizer, which watches every access
// the three make to what they share.
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>

namespace {

class ChunkThreadsTest : public StartedPluginTest {};

TEST_F(ChunkThreadsTest, ChunksAndEventsWhileBlocksPlay)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_FALSE(tune.empty());
    const std::string document = zipEntryOf(tune, "Module.xml");
    const std::string cut = zipOfOneEntry("Module.xml", document.substr(0, document.size() / 2));
    TestHost& h = host();
    auto setChunk = [&h](std::string bytes) {
        return h.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    };
    ASSERT_EQ(setChunk(tune), 2);
    h.time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;

    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::atomic<bool> clean{true};
    std::thread audio([&] {
        while (running) {
            h.render(512);
            if (!std::isfinite(peakOf(h.left)) || !std::isfinite(peakOf(h.right)))
                clean = false;
            h.advance(512);
            ++blocks;
        }
    });
    std::thread events([&] {
        for (int note = 0; running; note = (note + 1) % 24) {
            h.sendMidi(0x90, static_cast<uint8_t>(48 + note), 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            h.sendMidi(0x80, static_cast<uint8_t>(48 + note), 0);
        }
    });

    int loaded = 0, refused = 0, saved = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (int round = 0; round < 6 || std::chrono::steady_clock::now() < until; ++round) {
        loaded += setChunk(tune) == 2;
        refused += setChunk(cut) == 0;
        void* data = nullptr;
        saved += h.dispatch(effGetChunk, 0, 0, &data) > 0 && data;
        if (round > 1000)
            break;
    }
    running = false;
    audio.join();
    events.join();
    EXPECT_GT(blocks.load(), 10);
    EXPECT_TRUE(clean);
    EXPECT_GE(loaded, 6);
    EXPECT_EQ(loaded, refused);
    EXPECT_EQ(loaded, saved);
}

} // namespace
