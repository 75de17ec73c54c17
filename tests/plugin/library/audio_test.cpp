// Audio through the library: silence when stopped, long blocks and MIDI.
#include "library/test_host.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"
#include "support/xvfb_server.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using LibraryAudioTest = StartedPluginTest;

TEST_F(LibraryAudioTest, StoppedOutputOverNanBuffersIsZero)
{
    for (int block = 0; block < 4; ++block) {
        host().render(512);
        EXPECT_EQ(peakOf(host().left), 0.0f);
        EXPECT_EQ(peakOf(host().right), 0.0f);
        host().advance(512);
    }
    EXPECT_EQ(host().dispatch(-1), 0);   // not playing
}

TEST_F(LibraryAudioTest, LongBlockIsRenderedWholeAndClean)
{
    // Beyond the 16384 frames of the output block; the sanitizer build checks the bounds.
    host().dispatch(effSetBlockSize, 0, 20000);
    host().render(20000);
    ASSERT_EQ(host().left.size(), 20000u);
    EXPECT_EQ(peakOf(host().left), 0.0f);
    EXPECT_EQ(peakOf(host().right), 0.0f);
    host().render(16385);
    EXPECT_EQ(peakOf(host().left), 0.0f);
}

TEST_F(LibraryAudioTest, EmptyEventListsAndOddBlocksAreHarmless)
{
    VstEvents none{};
    EXPECT_EQ(host().dispatch(effProcessEvents, 0, 0, &none), 1);
    EXPECT_EQ(host().dispatch(effProcessEvents, 0, 0, nullptr), 1);
    host().render(1);
    EXPECT_EQ(host().left[0], 0.0f);
    float* outputs[2] = {nullptr, nullptr};
    host().effect->processReplacing(host().effect, nullptr, outputs, 0);
    host().effect->processReplacing(host().effect, nullptr, outputs, -5);
}

// MIDI notes enter the song and sound through the pattern editor page (the
// cell under its cursor) while that page is the editor's current one: the
// editor opens on an X server of the test's own, since without its window
// there is no page and notes are dropped. The song of the chunk test gives
// the note an instrument to play.
TEST_F(LibraryAudioTest, NoteOnThroughProcessEventsSounds)
{
    ASSERT_TRUE(outside_tools::have({"Xvfb"}));
    XvfbServer server;
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    const char* before = std::getenv("DISPLAY");
    const std::string savedDisplay = before ? before : "";
    setenv("DISPLAY", server.name().c_str(), 1);

    std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_FALSE(tune.empty());
    ASSERT_EQ(host().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(tune.size()), tune.data()), 2);
    ASSERT_EQ(host().dispatch(effEditOpen, 0, 0, nullptr), 1);
    for (int i = 0; i < 5; ++i)
        host().dispatch(effEditIdle);   // the editor window and its pages

    host().sendMidi(0x90, 60, 100);
    float peak = 0.0f;
    for (int block = 0; block < 20; ++block) {
        host().render(512);
        peak = std::fmax(peak, peakOf(host().left));
        host().advance(512);
    }
    EXPECT_GT(peak, 0.0f);
    host().sendMidi(0x80, 60, 0);

    host().dispatch(effEditClose);
    if (savedDisplay.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", savedDisplay.c_str(), 1);
}

// Playing, every frame the host hands over is written, whatever the block's
// size (the host's buffers start as NaN): the engine's block where it
// rendered one, silence anywhere else, also past the 16384-frame output block.
TEST_F(LibraryAudioTest, PlayingBlocksOfAnySizeWriteEveryFrame)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_EQ(host().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(tune.size()),
                              const_cast<char*>(tune.data())), 2);
    host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
    float peak = 0.0f;
    for (const VstInt32 frames : {512, 64, 1, 700, 17000, 64, 300, 4096}) {
        host().render(frames);
        for (const std::vector<float>* channel : {&host().left, &host().right}) {
            ASSERT_EQ(channel->size(), static_cast<size_t>(frames));
            for (size_t f = 0; f < channel->size(); ++f)
                ASSERT_TRUE(std::isfinite((*channel)[f])) << "frame " << f << " of a " << frames << "-frame block";
        }
        peak = std::fmax(peak, peakOf(host().left));
        host().advance(frames);
    }
    EXPECT_EQ(host().dispatch(-1), 1);   // playing
    EXPECT_GT(peak, 0.0f);
}

} // namespace
