// The song handed to and taken from the host through the library.
#include "library/song_bytes.h"
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace {

class LibraryChunkTest : public StartedPluginTest {
protected:

    std::string chunk() { return host().chunk(); }
    VstIntPtr setChunk(std::string bytes) { return host().setChunk(std::move(bytes)); }
    void playBlocks(int n)
    {
        for (int block = 0; block < n; ++block) {
            host().render(512);
            host().advance(512);
        }
    }
};

// How often the calling thread has given up the processor of its own accord
// (to wait for a lock, for instance).
long voluntarySwitches()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nvcsw;
}

// Sets an environment variable for the life of the object.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~EnvironmentOverride()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST_F(LibraryChunkTest, GetChunkGivesAZipWithTheModuleThatWasSet)
{
    std::string document = zipEntryOf(chunk(), "Module.xml");
    ASSERT_NE(document.find("<module "), std::string::npos) << document;
    const std::string tempo = "tempo=\"120.000000\"";
    const size_t at = document.find(tempo);
    ASSERT_NE(at, std::string::npos);
    document.replace(at, tempo.size(), "tempo=\"133.000000\"");

    ASSERT_EQ(setChunk(zipOfOneEntry("Module.xml", document)), 2);
    EXPECT_EQ(zipEntryOf(chunk(), "Module.xml"), document);
}

TEST_F(LibraryChunkTest, DamagedChunksAreRefusedAndTheSongStays)
{
    const std::string before = zipEntryOf(chunk(), "Module.xml");
    EXPECT_EQ(setChunk("PK\x03\x04 not a zip at all"), 0);
    EXPECT_EQ(setChunk(zipOfOneEntry("Other.txt", "no song here")), 0);
    EXPECT_EQ(setChunk(zipOfOneEntry("Module.xml", "<nothing/>")), 0);
    EXPECT_EQ(zipEntryOf(chunk(), "Module.xml"), before);
    // A document cut short leaves part of a song, and is a failure.
    EXPECT_EQ(setChunk(zipOfOneEntry("Module.xml", before.substr(0, before.size() / 2))), 0);
}

// A refused chunk changes nothing the host can see: the next chunk holds the
// same song, and the song plays on.
TEST_F(LibraryChunkTest, RefusedChunksLeaveTheSongAndItsPlayback)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_EQ(setChunk(tune), 2);
    host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
    playBlocks(40);
    ASSERT_EQ(host().dispatch(-1), 1);
    const std::string saved = chunk();
    const std::string document = zipEntryOf(saved, "Module.xml");
    const std::string audio = zipEntryOf(saved, "Sample 000.wav");
    ASSERT_FALSE(audio.empty());

    const std::string cutAtSample = document.substr(0, document.find("</sample>"));
    const std::string cutAtChannel = document.substr(0, document.find("<channel index=\"40\""));
    for (const std::string& refused :
         {zipOfOneEntry("Module.xml", cutAtSample), zipOfOneEntry("Module.xml", cutAtChannel),
          zipOfEntries({{"Sample 000.wav", audio}, {"Module.xml", cutAtChannel}}), tune.substr(0, tune.size() / 2)}) {
        EXPECT_EQ(setChunk(refused), 0);
        EXPECT_EQ(host().dispatch(-1), 1);
        playBlocks(4);
        const std::string after = chunk();
        EXPECT_EQ(zipEntryOf(after, "Module.xml"), document);
        EXPECT_EQ(zipEntryOf(after, "Sample 000.wav"), audio);
    }
    float peak = 0.0f;
    for (int block = 0; block < 100; ++block) {
        playBlocks(1);
        peak = std::max(peak, peakOf(host().left));
    }
    EXPECT_GT(peak, 0.0f);
}

// A chunk of about a megabyte whose sample entry inflates to a gigabyte is
// refused before it is inflated: quickly and without the memory.
TEST_F(LibraryChunkTest, ZipBombIsRefusedQuicklyAndSmall)
{
    const std::string document = zipEntryOf(chunk(), "Module.xml");
    const std::string bomb =
        zipWithZeroEntry({{"Module.xml", document}}, "Sample 000.wav", uint64_t{1} << 30);
    ASSERT_LT(bomb.size(), 2u << 20);
    ASSERT_GT(bomb.size(), 512u << 10);
    const long before = residentPeakKiB(true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(setChunk(bomb), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    EXPECT_LT(residentPeakKiB(false) - before, 300L << 10);
    EXPECT_EQ(zipEntryOf(chunk(), "Module.xml"), document);
}

// Timing values that no editor or importer gives are brought into range on
// reading, so that the audio thread never steps ticks without end.
TEST_F(LibraryChunkTest, HostileTimingIsClampedWhenRead)
{
    std::string document = zipEntryOf(chunk(), "Module.xml");
    const size_t at = document.find("tempo=");
    const size_t end = document.find(" midiIn=");
    ASSERT_NE(at, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    document.replace(at, end - at, "tempo=\"65536\" speed=\"-2147483648\"");
    ASSERT_EQ(setChunk(zipOfOneEntry("Module.xml", document)), 2);
    const std::string read = zipEntryOf(chunk(), "Module.xml");
    EXPECT_NE(read.find("tempo=\"999.000000\" speed=\"1\""), std::string::npos) << read.substr(0, 120);

    document = read;
    document.replace(document.find("tempo="), document.find(" midiIn=") - document.find("tempo="),
                     "tempo=\"-5\" speed=\"99999\"");
    ASSERT_EQ(setChunk(zipOfOneEntry("Module.xml", document)), 2);
    EXPECT_NE(zipEntryOf(chunk(), "Module.xml").find("tempo=\"1.000000\" speed=\"255\""), std::string::npos);
}

// With the private temporary folder unusable (here: its place taken by plain
// files), the chunk is still made and read, in memory.
TEST_F(LibraryChunkTest, ChunkWorksWithoutAUsableTemporaryFolder)
{
    const std::string document = zipEntryOf(chunk(), "Module.xml");
    const ScratchFolder blocked;
    const std::string uid = std::to_string(geteuid());
    blocked.write("Quorbel", "a file where the folder would be");
    blocked.write("Quorbel-" + uid, "a file where the folder would be");
    const EnvironmentOverride runtime("XDG_RUNTIME_DIR", blocked.path());
    const EnvironmentOverride tmp("TMPDIR", blocked.path());

    const std::string saved = chunk();
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(zipEntryOf(saved, "Module.xml"), document);
    std::string changed = document;
    changed.replace(changed.find("tempo=\"120.000000\""), 18, "tempo=\"133.000000\"");
    EXPECT_EQ(setChunk(zipOfOneEntry("Module.xml", changed)), 2);
    EXPECT_EQ(zipEntryOf(chunk(), "Module.xml"), changed);
}

// A load while the host plays never holds the song lock long enough for a
// block to wait out its bound (100 ms) and drop out: the song is read apart
// and only put in place under the lock.
TEST_F(LibraryChunkTest, LoadWhilePlayingNeverStallsABlock)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    // A minute of stereo noise as the sample: a load that reads it under the
    // song lock holds the lock far longer than a block may wait.
    const std::string big = zipOfEntries({{"Sample 000.wav", noiseWav(44100 * 60)},
                                          {"Module.xml", zipEntryOf(tune, "Module.xml")}});
    ASSERT_EQ(setChunk(tune), 2);
    host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
    std::atomic<bool> loading{true};
    std::atomic<int> loaded{0};
    std::thread loader([&] {
        for (int i = 0; i < 4; ++i)
            loaded += setChunk(i % 2 ? tune : big) == 2;
        loading = false;
    });
    // A block that waited out the lock slept on it for the whole bound; one
    // that the busy machine merely kept off the processor did not sleep.
    int waitedOut = 0;
    int blocks = 0;
    while (loading) {
        const auto start = std::chrono::steady_clock::now();
        const long slept = voluntarySwitches();
        playBlocks(1);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        waitedOut += seconds >= 0.1 && voluntarySwitches() > slept;
        ++blocks;
    }
    loader.join();
    EXPECT_EQ(loaded, 4);
    EXPECT_GT(blocks, 4);
#ifndef QB_SANITIZED_BUILD
    // Under the sanitizers the swap alone can outlast a block on a busy
    // machine, which this clock cannot tell from a wait for the whole load.
    EXPECT_EQ(waitedOut, 0);
#else
    (void)waitedOut;
#endif
}

// "plugin/tune.zip" in the test data is a module file saved by the engine: a
// looped sine sample played on channel 1 every eighth row of the first order.
TEST_F(LibraryChunkTest, ModuleChunkPlaysWithHostTime)
{
    const std::string tune = readWholeFile(testData("plugin/tune.zip"));
    ASSERT_FALSE(tune.empty());
    ASSERT_EQ(setChunk(tune), 2);
    host().time.flags = kVstTransportChanged | kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
    float peak = 0.0f;
    for (int block = 0; block < 200; ++block) {
        host().render(512);
        peak = std::max(peak, peakOf(host().left));
        host().advance(512);
    }
    EXPECT_GT(peak, 0.0f);
    EXPECT_EQ(host().dispatch(-1), 1);
}

} // namespace
