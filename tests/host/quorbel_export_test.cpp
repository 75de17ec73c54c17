// The export driving the real plug-in library: a saved song handed over as the
// chunk, rendered until the plug-in says the song has ended.

#include "host/audio/wav_export.h"

#include "host/audio/wav_file.h"
#include "host/plugin_loader.h"
#include "platform/system/folders.h"
#include "wav_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace host;
using hosttest::le32;

namespace {

VstIntPtr dispatch(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt = 0.0f)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

} // namespace

TEST(QuorbelExport, SavedSongExportsToItsLengthAndIsHeard)
{
    HostState state;
    ASSERT_TRUE(hostStartup(state));
    ::testing::internal::CaptureStdout();
    const bool loaded = loadPlugin(state, QB_PLUGIN_LIBRARY);
    const std::string dump = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded) << dump;

    // As an open stream would leave the plug-in.
    constexpr double kRate = 44100.0;
    state.timeInfo.sampleRate = kRate;
    state.blockSize = 512;
    dispatch(state.effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    dispatch(state.effect, effSetBlockSize, 0, state.blockSize, nullptr);
    dispatch(state.effect, effMainsChanged, 0, 1, nullptr);

    // One order entry: pattern 0, 32 rows at 120 BPM and 4 rows per quarter.
    const char* data = std::getenv("QB_TEST_DATA");
    ASSERT_NE(data, nullptr);
    std::string song = readWholeFile(platform::joinPath(data, "plugin/tune.zip"));
    ASSERT_FALSE(song.empty());
    ASSERT_EQ(dispatch(state.effect, effSetChunk, 0, static_cast<VstIntPtr>(song.size()), song.data()), 2);

    // The timing list: 32 rows of 1/8 s each (120 BPM, 4 rows per quarter).
    constexpr int kRows = 32;
    const double rowFrames = 60.0 / 120.0 / 4.0 * kRate;
    ASSERT_EQ(kRows * rowFrames, 4.0 * kRate);
    // After the last row the engine sits one row on "End of order list.",
    // still answering that it plays; the export asks before each block.
    const auto endFrame = static_cast<uint32_t>(std::ceil((kRows + 1) * rowFrames));
    const uint32_t expected = (endFrame + kExportBlock - 1) / kExportBlock * kExportBlock;
    ASSERT_EQ(expected, 182272u);

    const std::string path = platform::joinPath(platform::temporaryFolder(), "quorbel-export.wav");
    WavExporter exporter(state, nullptr);
    exporter.setTitleHoldMs(0);
    exporter.setFrameLimit(expected * 4);   // a song that never ends fails instead of filling the disk
    const ExportResult result = exporter.run(1, path);
    EXPECT_TRUE(result.rendered);
    EXPECT_EQ(result.frames, expected);

    const std::string file = readWholeFile(path);
    std::remove(path.c_str());
    ASSERT_EQ(file.size(), kWavHeaderSize + size_t{result.frames} * kWavFrameBytes);
    EXPECT_EQ(le32(file, 40), result.frames * kWavFrameBytes);
    // Every row of the song is heard, in both channels.
    for (int row = 0; row < kRows; ++row) {
        uint32_t loud[2] = {};
        for (auto i = static_cast<uint32_t>(std::ceil(row * rowFrames)); i < (row + 1) * rowFrames; ++i)
            for (int c = 0; c < 2; ++c)
                loud[c] += le32(file, kWavHeaderSize + i * kWavFrameBytes + c * 4u) != 0;
        EXPECT_GT(loud[0], rowFrames / 2) << "row " << row;
        EXPECT_GT(loud[1], rowFrames / 2) << "row " << row;
    }
    EXPECT_FALSE(state.exporting);

    dispatch(state.effect, effMainsChanged, 0, 0, nullptr);
    closePlugin(state);
    hostShutdown(state);
}
