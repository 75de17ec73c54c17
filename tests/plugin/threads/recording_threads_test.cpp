// MIDI recording with the editor open, as a DAW runs the library: blocks
// and their MIDI notes on the audio thread while the song plays (each note
// is entered into the pattern and starts a voice), the editor's idle
// drawing, getChunk and setChunk on the GUI thread. Built under the thread
// sanitizer, which watches every cell and sample field the two share.
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace {

class RecordingThreadsTest : public StartedPluginTest {
protected:
    // The editor closes while its X server still runs.
    void TearDown() override
    {
        if (editorOpen_)
            host().dispatch(effEditClose);
        StartedPluginTest::TearDown();
        server_.reset();
        if (savedDisplay_.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", savedDisplay_.c_str(), 1);
    }

    // The editor on an X server of the test's own: without its pattern
    // editor page, MIDI notes are not recorded.
    void openEditor()
    {
        ASSERT_TRUE(outside_tools::have({"Xvfb"}));
        server_ = std::make_unique<XvfbServer>();
        ASSERT_FALSE(server_->name().empty()) << "Xvfb did not start";
        const char* before = std::getenv("DISPLAY");
        savedDisplay_ = before ? before : "";
        setenv("DISPLAY", server_->name().c_str(), 1);
        editorOpen_ = host().dispatch(effEditOpen, 0, 0, nullptr) == 1;
        ASSERT_TRUE(editorOpen_);
        for (int i = 0; i < 5; ++i)
            host().dispatch(effEditIdle);
    }

private:
    std::unique_ptr<XvfbServer> server_;
    std::string savedDisplay_;
    bool editorOpen_ = false;
};

TEST_F(RecordingThreadsTest, NotesRecordedWhileTheEditorDrawsAndTheHostSavesAndLoads)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_FALSE(tune.empty());
    TestHost& h = host();
    auto setChunk = [&h](std::string bytes) {
        return h.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    };
    auto getChunk = [&h] {
        void* data = nullptr;
        const VstIntPtr size = h.dispatch(effGetChunk, 0, 0, &data);
        return size > 0 && data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                                : std::string();
    };
    ASSERT_EQ(setChunk(tune), 2);
    ASSERT_NO_FATAL_FAILURE(openEditor());
    h.time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;

    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::atomic<int> notes{0};
    std::atomic<bool> clean{true};
    std::thread audio([&] {
        for (int block = 0; running; ++block) {
            // Chords of three, held for two blocks: spread over channels.
            const auto key = static_cast<uint8_t>(48 + (block / 2) % 24);
            if (block % 2 == 0) {
                for (uint8_t k : {key, uint8_t(key + 4), uint8_t(key + 7)})
                    h.sendMidi(0x90, k, static_cast<uint8_t>(40 + block % 80));
                notes += 3;
            } else {
                for (uint8_t k : {key, uint8_t(key + 4), uint8_t(key + 7)})
                    h.sendMidi(0x80, k, 0);
            }
            h.render(512);
            if (!std::isfinite(peakOf(h.left)) || !std::isfinite(peakOf(h.right)))
                clean = false;
            h.advance(512);
            ++blocks;
        }
    });

    int loaded = 0, saved = 0, idles = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    for (int round = 0; round < 4 || std::chrono::steady_clock::now() < until; ++round) {
        // The editor idles many times between two saves, as a host's timer does.
        for (int i = 0; i < 10; ++i, ++idles)
            h.dispatch(effEditIdle);
        saved += !getChunk().empty();
        if (round % 4 == 3)
            loaded += setChunk(tune) == 2;
        if (round > 2000)
            break;
    }
    running = false;
    audio.join();
    EXPECT_GT(blocks.load(), 10);
    EXPECT_GT(notes.load(), 10);
    EXPECT_TRUE(clean);
    EXPECT_GE(loaded, 1);
    EXPECT_GE(saved, 4);

    // A note recorded last is in the pattern the next save writes, once the
    // editor's idle has passed.
    ASSERT_EQ(setChunk(tune), 2);
    for (int i = 0; i < 3; ++i)
        h.dispatch(effEditIdle);
    h.sendMidi(0x90, 119, 127);
    h.render(512);
    h.sendMidi(0x80, 119, 0);
    for (int i = 0; i < 3; ++i)
        h.dispatch(effEditIdle);
    const std::string document = zipEntryOf(getChunk(), "Module.xml");
    EXPECT_NE(document.find("pitch=\"119\""), std::string::npos);
}

} // namespace
