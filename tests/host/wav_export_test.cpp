#include "host/audio/wav_export.h"

#include "host/audio/wav_file.h"
#include "host_fixture.h"
#include "platform/system/folders.h"
#include "test_synth.h"
#include "wav_bytes.h"

#include <chrono>
#include <cstring>
#include <thread>

using namespace host;
using hosttest::le32;

namespace {

class WavExportTest : public hosttest::HostStateTest {
protected:
    void SetUp() override
    {
        HostStateTest::SetUp();
        loadSynth();
        path = platform::joinPath(platform::temporaryFolder(), "export-" + std::to_string(counter++) + ".wav");
        state.timeInfo.sampleRate = 44100.0;   // as an open stream leaves it
        state.blockSize = 512;
        exporter.setTitleHoldMs(0);
    }
    void TearDown() override
    {
        exporter.stop();
        std::remove(path.c_str());
        HostStateTest::TearDown();
    }

    void setSongFrames(int64_t frames)
    {
        state.effect->dispatcher(state.effect, effVendorSpecific, testsynth::kSetSongFrames, frames, nullptr, 0);
    }
    std::vector<std::string> titles()
    {
        std::lock_guard<std::mutex> guard(titleLock);
        return titleLog;
    }

    // Checks the header against the data and every frame against the song.
    void expectSong(const std::string& file, uint32_t frames, int64_t songFrames)
    {
        ASSERT_EQ(file.size(), kWavHeaderSize + frames * 8ull);
        const auto header = wavHeader(frames, 44100);
        ASSERT_EQ(std::memcmp(file.data(), header.data(), kWavHeaderSize), 0);
        for (uint32_t i = 0; i < frames; ++i)
            for (int bus = 0; bus < 2; ++bus) {
                const float sample = i < songFrames ? testsynth::songSample(bus, i) : 0.0f;
                ASSERT_EQ(static_cast<int32_t>(le32(file, kWavHeaderSize + i * 8 + bus * 4)), exportSample(sample))
                    << "frame " << i << " bus " << bus;
            }
    }

    static inline int counter = 0;
    std::string path;
    std::mutex titleLock;
    std::vector<std::string> titleLog;
    WavExporter exporter{state, [this](const std::string& title, bool) {
                             std::lock_guard<std::mutex> guard(titleLock);
                             titleLog.push_back(title);
                         }};
};

} // namespace

TEST(WavFile, HeaderFields)
{
    const auto h = wavHeader(3072, 44100);
    const std::string bytes(reinterpret_cast<const char*>(h.data()), h.size());
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(bytes, 4), 3072u * 8 + 36);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(bytes, 16), 16u);
    EXPECT_EQ(le32(bytes, 20), 1u | (2u << 16));        // PCM, 2 channels
    EXPECT_EQ(le32(bytes, 24), 44100u);
    EXPECT_EQ(le32(bytes, 28), 44100u * 8);
    EXPECT_EQ(le32(bytes, 32), 8u | (32u << 16));       // block align, bits
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(le32(bytes, 40), 3072u * 8);
    EXPECT_EQ(le32(std::string(reinterpret_cast<const char*>(wavHeader(kWavMaxFrames, 1).data()), 44), 4),
              0xFFFFFFFFu - 3);   // the largest file still fits
}

TEST(WavFile, SamplesAreScaledTruncatedAndClamped)
{
    EXPECT_EQ(exportSample(0.5f), 536870912);
    EXPECT_EQ(exportSample(-1.0f), -1073741824);
    EXPECT_EQ(exportSample(0.3f), static_cast<int32_t>(0.3f * 1073741824.0));
    EXPECT_EQ(exportSample(-0.3f), -exportSample(0.3f));   // toward zero
    EXPECT_EQ(exportSample(1.999999f), static_cast<int32_t>(1.999999f * 1073741824.0));
    EXPECT_EQ(exportSample(2.0f), INT32_MAX);
    EXPECT_EQ(exportSample(-2.0f), INT32_MIN);
    EXPECT_EQ(exportSample(1e30f), INT32_MAX);
    EXPECT_EQ(exportSample(-std::numeric_limits<float>::infinity()), INT32_MIN);
    EXPECT_EQ(exportSample(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(WavFile, ExportClock)
{
    EXPECT_EQ(exportClock(0, 44100), "[0:00.000]");
    EXPECT_EQ(exportClock(44100 * 61.5, 44100), "[1:01.500]");
    EXPECT_EQ(exportClock(3072, 44100), "[0:00.069]");
    EXPECT_EQ(exportClock(1000, 0), "[0:00.000]");
}

TEST_F(WavExportTest, SongThatStopsInsideABlockEndsAfterThatBlock)
{
    setSongFrames(2560);   // 2.5 blocks
    const ExportResult result = exporter.run(1, path);
    EXPECT_TRUE(result.rendered);
    EXPECT_EQ(result.frames, 3072u);
    expectSong(readWholeFile(path), 3072, 2560);

    const auto log = titles();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], "Exporting ... [0:00.000]");
    EXPECT_EQ(log[1], "Exporting ... [0:00.023]");
    EXPECT_EQ(log[3].rfind("Export complete [0:00.069] in ", 0), 0u) << log[3];
    EXPECT_EQ(log[4], "Quorbel");

    // The stream's block size is back, and the export no longer runs.
    EXPECT_EQ(state.blockSize, 512);
    EXPECT_EQ(probe().blockSize, 512);
    EXPECT_FALSE(state.exporting);
    EXPECT_EQ(state.timeInfo.flags, 0);
}

TEST_F(WavExportTest, LengthIsTheSongsLengthInWholeBlocks)
{
    setSongFrames(2048);
    EXPECT_EQ(exporter.run(1, path).frames, 2048u);
    expectSong(readWholeFile(path), 2048, 2048);

    setSongFrames(testsynth::kDefaultSongFrames);
    EXPECT_EQ(exporter.run(0, path).frames, 10240u);   // mode 0 renders the same
    expectSong(readWholeFile(path), 10240, testsynth::kDefaultSongFrames);
}

TEST_F(WavExportTest, WithoutAStreamTheSettingsRateIsUsed)
{
    state.timeInfo.sampleRate = 0.0;
    state.blockSize = 0;
    setSongFrames(100);
    EXPECT_EQ(exporter.run(1, path).frames, 1024u);
    EXPECT_EQ(probe().sampleRate, 44100.0f);
    expectSong(readWholeFile(path), 1024, 100);
}

TEST_F(WavExportTest, StopsBeforeTheFileLimit)
{
    exporter.setFrameLimit(2500);
    setSongFrames(1 << 20);
    EXPECT_EQ(exporter.run(1, path).frames, 2048u);
    expectSong(readWholeFile(path), 2048, 1 << 20);
}

TEST_F(WavExportTest, SecondPressStopsTheExport)
{
    setSongFrames(int64_t(1) << 40);   // far longer than the test waits
    ASSERT_TRUE(exporter.press(1, path));
    EXPECT_TRUE(exporter.busy());
    while (probe().processCalls < 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(exporter.press(1, path));   // the second press
    EXPECT_FALSE(exporter.busy());
    const ExportResult result = exporter.join();
    EXPECT_TRUE(result.rendered);
    EXPECT_GE(result.frames, 10u * 1024);
    const std::string file = readWholeFile(path);
    EXPECT_EQ(file.size(), kWavHeaderSize + result.frames * 8ull);
    EXPECT_EQ(le32(file, 4), result.frames * 8 + 36);
    EXPECT_EQ(le32(file, 40), result.frames * 8);
}

TEST_F(WavExportTest, QuitStopsAndJoinsEvenWhileTheTitleIsShown)
{
    exporter.setTitleHoldMs(600000);
    setSongFrames(1000);
    ASSERT_TRUE(exporter.press(1, path));
    while (titles().size() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    exporter.stop();   // would otherwise wait ten minutes
    EXPECT_FALSE(exporter.busy());
    EXPECT_EQ(titles().back(), "Quorbel");
}

TEST_F(WavExportTest, NothingToExportInto)
{
    EXPECT_FALSE(exporter.run(1, "/nonexistent/folder/out.wav").rendered);
    EXPECT_TRUE(titles().empty());

    AEffect* effect = state.effect;
    state.effect = nullptr;
    EXPECT_FALSE(exporter.press(1, path));
    state.effect = effect;
}

TEST_F(WavExportTest, BusyAudioWritesAnEmptyFile)
{
    std::unique_lock<std::timed_mutex> held(state.audioMutex);
    const int before = probe().processCalls;
    ASSERT_TRUE(exporter.press(1, path));   // waits 3000 ms for the audio
    const ExportResult result = exporter.join();
    EXPECT_FALSE(result.rendered);
    EXPECT_EQ(result.frames, 0u);
    EXPECT_EQ(probe().processCalls, before);
    const std::string file = readWholeFile(path);
    ASSERT_EQ(file.size(), kWavHeaderSize);
    EXPECT_EQ(le32(file, 4), 36u);
}
