// The song handed to and taken from the host through the library.
#include "library/test_host.h"
#include "library/zip_bytes.h"
#include "model/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LibraryChunkTest : public StartedPluginTest {
protected:

    std::string chunk()
    {
        void* data = nullptr;
        const VstIntPtr size = host().dispatch(effGetChunk, 0, 0, &data);
        return size > 0 && data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                                : std::string();
    }
    VstIntPtr setChunk(std::string bytes)
    {
        return host().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }
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
