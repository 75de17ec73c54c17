#include "plugin_fixture.h"

#include "model/scratch_folder.h"

#include "platform/status_text.h"
#include "platform/system/folders.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

bool FakeSongFiles::save(TesselEngine&, const std::string& path)
{
    savedTo.push_back(path);
    if (!saveWorks)
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return true;
}

int FakeSongFiles::load(TesselEngine& engine, const std::string& path)
{
    loadedFrom.push_back(path);
    lastLoaded = readWholeFile(path);
    engine.song.songPath = path;   // as a file load does
    return loadResult;
}

namespace {

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string folderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/'));
}

TEST_F(PluginTest, EachChunkCallUsesAPrivateFileOfItsOwnAndRemovesIt)
{
    TesselPlugin& p = make();
    void* data = nullptr;
    ASSERT_EQ(p.getChunk(&data), static_cast<VstInt32>(FakeSongFiles::content.size()));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(data), FakeSongFiles::content.size()), FakeSongFiles::content);
    EXPECT_EQ(platform::statusText(), "Saving to host... completed.");

    void* again = nullptr;
    ASSERT_GT(p.getChunk(&again), 0);
    const std::string block(static_cast<char*>(again), FakeSongFiles::content.size());
    ASSERT_EQ(p.setChunk(again, static_cast<VstInt32>(block.size())), 2);
    EXPECT_EQ(FakeSongFiles::lastLoaded, block);

    ASSERT_EQ(FakeSongFiles::savedTo.size(), 2u);
    ASSERT_EQ(FakeSongFiles::loadedFrom.size(), 1u);
    const std::string temporary = platform::temporaryFolder();
    std::vector<std::string> paths = FakeSongFiles::savedTo;
    paths.push_back(FakeSongFiles::loadedFrom[0]);
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(paths[i].rfind(temporary + "/", 0), 0u) << paths[i];
        EXPECT_EQ(paths[i].substr(paths[i].size() - 12), "~qrbldmp.zip");
        EXPECT_FALSE(exists(paths[i])) << paths[i];
        EXPECT_FALSE(exists(folderOf(paths[i]))) << paths[i];
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(paths[i], paths[j]);
    }
}

TEST_F(PluginTest, FailedSaveAnswersZeroAndHandsOverNothing)
{
    TesselPlugin& p = make();
    void* data = nullptr;
    ASSERT_GT(p.getChunk(&data), 0);
    FakeSongFiles::saveWorks = false;
    void* stale = data;
    EXPECT_EQ(p.getChunk(&stale), 0);
    EXPECT_EQ(stale, nullptr);
    EXPECT_EQ(platform::statusText(), "Saving to host... failed.");
    // Without any module file code the chunk fails the same way.
    FakeSongFiles::remove();
    EXPECT_EQ(p.getChunk(&data), 0);
}

TEST_F(PluginTest, ChunkBlockIsFreedOnTheNextCallAndAtDeletion)
{
    // The leak checker of the sanitizer build sees a block that is never freed.
    TesselPlugin& p = make();
    for (int i = 0; i < 3; ++i) {
        FakeSongFiles::content.assign(static_cast<size_t>(1000 * (i + 1)), static_cast<char>('a' + i));
        void* data = nullptr;
        ASSERT_EQ(p.getChunk(&data), 1000 * (i + 1));
        EXPECT_EQ(static_cast<char*>(data)[999], 'a' + i);
    }
}

TEST_F(PluginTest, SetChunkRefusesEmptyDataAndPresets)
{
    TesselPlugin& p = make();
    char block[8] = "PK";
    static int songsFromHost;
    songsFromHost = 0;
    TesselPluginEditor::songFromHost = [] { ++songsFromHost; };
    EXPECT_EQ(p.setChunk(nullptr, 8), 0);
    EXPECT_EQ(songsFromHost, 1);
    EXPECT_EQ(p.setChunk(block, 0), 0);
    EXPECT_EQ(p.setChunk(block, -4), 0);
    EXPECT_EQ(p.setChunk(block, 8, true), 0);
    EXPECT_EQ(songsFromHost, 4);   // told before the preset is refused
    EXPECT_TRUE(FakeSongFiles::loadedFrom.empty());

    platform::clearStatusText();
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(p.getChunk(&data, true), 0);
    EXPECT_EQ(platform::statusText(), "Saving to host... failed.");
    EXPECT_TRUE(FakeSongFiles::savedTo.empty());
}

TEST_F(PluginTest, RestoredSongHasNoFileName)
{
    TesselPlugin& p = make();
    p.getEngine().song.songPath = "/home/user/tune.zip";
    char block[] = "PK restored";
    ASSERT_EQ(p.setChunk(block, sizeof block), 2);
    EXPECT_EQ(FakeSongFiles::applied, 1);
    EXPECT_TRUE(p.getEngine().song.songPath.empty());
    EXPECT_EQ(platform::statusText(), "Loading from host... completed.");

    // A failed load that named the song after the temporary file leaves it unnamed.
    for (int nothingLoaded : {0, 1}) {
        FakeSongFiles::loadResult = nothingLoaded;
        p.getEngine().song.songPath = "/home/user/tune.zip";
        EXPECT_EQ(p.setChunk(block, sizeof block), 0);
        EXPECT_EQ(FakeSongFiles::applied, 1);
        EXPECT_EQ(p.getEngine().song.songPath, "");
        EXPECT_EQ(platform::statusText(), "Loading from host... failed.");
    }
    // One that failed before touching the song keeps its name.
    FakeSongFiles::remove();
    p.getEngine().song.songPath = "/home/user/tune.zip";
    EXPECT_EQ(p.setChunk(block, sizeof block), 0);
    EXPECT_EQ(p.getEngine().song.songPath, "/home/user/tune.zip");
}

} // namespace
