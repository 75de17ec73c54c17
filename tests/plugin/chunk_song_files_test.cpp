// The chunk's own module file: a song with sample audio travels through
// getChunk and setChunk of two plug-ins in turn.
#include "plugin_fixture.h"

#include "model/zip/zip_helpers.h"
#include "model/audio_files/sample_audio_support.h"
#include "model/scratch_folder.h"
#include "platform/system/folders.h"

#include <dirent.h>

namespace {

int entriesIn(const std::string& folder)
{
    int n = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            n += entry->d_name[0] != '.';
        closedir(dir);
    }
    return n;
}

class ChunkSongFilesTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        installChunkSongFiles();
        TesselSongFiles::apply = nullptr;
    }
};

TEST_F(ChunkSongFilesTest, SongWithSampleAudioTravelsThroughTheChunk)
{
    TesselPlugin& first = make();
    first.getEngine().song.tempo = 133.0;
    first.getEngine().song.samples[5].setName("five");
    giveAudio(first.getEngine().song.samples[5]);
    const int before = entriesIn(platform::temporaryFolder());

    void* data = nullptr;
    const VstInt32 size = first.getChunk(&data);
    ASSERT_GT(size, 0);
    const std::string bytes(static_cast<const char*>(data), static_cast<size_t>(size));
    EXPECT_EQ(bytes.substr(0, 2), "PK");
    EXPECT_EQ(entriesIn(platform::temporaryFolder()), before);   // nothing left behind

    ScratchFolder folder;
    const std::string zip = folder.write("chunk.zip", bytes);
    ZipEntryList entries;
    ASSERT_TRUE(zipListEntries(zip.c_str(), entries));
    EXPECT_GE(entries.indexOf("Module.xml"), 0);
    EXPECT_GE(entries.indexOf("Sample 005.wav"), 0);
    plugin.reset();

    TesselPlugin& second = make();
    ASSERT_EQ(second.setChunk(const_cast<char*>(bytes.data()), size), 2);
    EXPECT_EQ(entriesIn(platform::temporaryFolder()), before);
    const TesselModule& song = second.getEngine().song;
    EXPECT_EQ(song.tempo, 133.0);
    EXPECT_EQ(song.samples[5].nameText().substr(0, 4), "five");
    ASSERT_NE(song.samples[5].audio.channel(0), nullptr);
    EXPECT_EQ(song.samples[5].audio.buffers[0][3], 32767.0f);
    EXPECT_TRUE(song.songPath.empty());
}

} // namespace
