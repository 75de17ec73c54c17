#include "engine/engine.h"
#include "engine/engine_fixture.h"
#include "model/audio_files/sample_audio_support.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"
#include "support/demo_song.h"
#include "support/lock_held_elsewhere.h"
#include "support/outside_tools.h"
#include "support/short_edit_lock_wait.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

class ModuleFileTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine = std::make_unique<TesselEngine>();
        ASSERT_TRUE(engine->usable());
    }

    std::vector<std::string> entryNames(const std::string& zip)
    {
        ZipEntryList list;
        EXPECT_TRUE(zipListEntries(zip.c_str(), list)) << zip;
        std::vector<std::string> names;
        for (const ZipEntry& e : list.entries)
            names.emplace_back(e.name);
        return names;
    }

    std::vector<std::string> archiveNames(const std::string& zip)
    {
        const std::string archive = folder.file("archive-copy.zip");
        EXPECT_TRUE(zipExtractFile(zip.c_str(), archive.c_str(), "Archive.zip"));
        return entryNames(archive);
    }

    // The file passes the zip tool's own test.
    void expectIntact(const std::string& zip)
    {
        ASSERT_TRUE(outside_tools::have({"unzip"}));
        EXPECT_EQ(std::system(("unzip -tqq '" + zip + "' >/dev/null").c_str()), 0) << zip;
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(ModuleFileTest, ZipIsAppendedOnlyWhenMissing)
{
    std::string path = folder.file("tune");
    ASSERT_TRUE(engine->saveModule(path));
    EXPECT_EQ(path, folder.file("tune.zip"));
    EXPECT_TRUE(fileExists(path.c_str()));

    std::string upper = folder.file("other.ZIP");
    ASSERT_TRUE(engine->saveModule(upper));
    EXPECT_EQ(upper, folder.file("other.ZIP"));
    EXPECT_EQ(entryNames(upper), std::vector<std::string>{"Module.xml"});
    expectIntact(upper);
}

TEST_F(ModuleFileTest, LaterSavesArchiveEarlierDocumentsByTheirDate)
{
    giveAudio(engine->song.samples[2]);
    std::string path = folder.file("song.zip");
    ASSERT_TRUE(engine->saveModule(path));
    EXPECT_EQ(entryNames(path), (std::vector<std::string>{"Sample 002.wav", "Module.xml"}));

    // Give the first document a known date by rebuilding the file around it.
    const std::string document = folder.file("Module.xml");
    ASSERT_TRUE(zipExtractFile(path.c_str(), document.c_str(), "Module.xml"));
    setLocalTime(document, 2024, 3, 1, 14, 5, 10);   // zip times have two-second steps
    const std::string audio = folder.file("Sample 002.wav");
    ASSERT_TRUE(zipExtractFile(path.c_str(), audio.c_str(), "Sample 002.wav"));
    std::remove(path.c_str());
    ASSERT_TRUE(zipAddFile(audio.c_str(), path.c_str(), "Sample 002.wav"));
    ASSERT_TRUE(zipAddFile(document.c_str(), path.c_str(), "Module.xml"));

    ASSERT_TRUE(engine->saveModule(path));
    EXPECT_EQ(entryNames(path), (std::vector<std::string>{"Sample 002.wav", "Module.xml", "Archive.zip"}));
    EXPECT_EQ(archiveNames(path), std::vector<std::string>{"Module_2024-03-01_14h05m10.xml"});

    ASSERT_TRUE(engine->saveModule(path));
    EXPECT_EQ(archiveNames(path).size(), 2u);
    expectIntact(path);
}

TEST_F(ModuleFileTest, ForeignEntriesAreCarriedAndLooseDocumentsArchived)
{
    std::string path = folder.file("carry.zip");
    giveAudio(engine->song.samples[0]);
    ASSERT_TRUE(engine->saveModule(path));
    const std::string notes = folder.write("notes.txt", "by hand");
    const std::string old = folder.write("old.xml", "<module/>");
    const std::string stray = folder.write("stray.wav", "not referenced");
    ASSERT_TRUE(zipAddFile(notes.c_str(), path.c_str(), "notes.txt"));
    ASSERT_TRUE(zipAddFile(old.c_str(), path.c_str(), "module_old.xml"));
    ASSERT_TRUE(zipAddFile(stray.c_str(), path.c_str(), "Sample 050.wav"));

    engine->song.samples[0].reset();
    ASSERT_TRUE(engine->saveModule(path));
    // The old document's sample 000 is gone with it; what it did not refer to stays.
    EXPECT_EQ(entryNames(path),
              (std::vector<std::string>{"Module.xml", "notes.txt", "Sample 050.wav", "Archive.zip"}));
    const auto archived = archiveNames(path);
    ASSERT_EQ(archived.size(), 2u);
    EXPECT_EQ(archived[1], "module_old.xml");
    expectIntact(path);
}

TEST_F(ModuleFileTest, FailedSaveLeavesTheOldFileByteIdentical)
{
    std::string path = folder.file("keep.zip");
    ASSERT_TRUE(engine->saveModule(path));
    // An entry whose data is damaged cannot be carried over.
    const std::string text = folder.write("big.txt", std::string(4000, 'q'));
    ASSERT_TRUE(zipAddFile(text.c_str(), path.c_str(), "big.txt"));
    std::string bytes = readWholeFile(path);
    const size_t data = bytes.find("PK\x03\x04", 10);
    ASSERT_NE(data, std::string::npos);
    bytes[data + 50] ^= 0x55;
    folder.write("keep.zip", bytes);

    engine->song.tempo = 99.0;
    EXPECT_FALSE(engine->saveModule(path));
    EXPECT_EQ(readWholeFile(path), bytes);
    EXPECT_FALSE(fileExists(folder.file("~qrblzip.tmp").c_str()));

    std::string nowhere = folder.file("missing/folder/song.zip");
    EXPECT_FALSE(engine->saveModule(nowhere));
}

// The save writes a copy of the song and deflates a large document in pieces
// on several threads: the zip tool must find one intact entry holding, byte
// for byte, the document the song itself writes, and loading the file must
// give that song back.
TEST_F(ModuleFileTest, SavedDocumentIsTheSongsOwnAndLoadsBack)
{
    {
        platform::MutexLock lock(engine->song.songLock(), kEditLockWaitMs);
        demo_song::fill(engine->song);
        // Megabytes of cells, so that the document spans several pieces.
        for (int p = 7; p < 11; ++p) {
            TesselPattern& full = engine->song.patterns[static_cast<size_t>(p)];
            full.setLength(256);
            for (int c = 0; c < kChannels; ++c)
                for (int r = 0; r < 256; ++r)
                    demo_song::note(full, c, r, 24 + (p + c + r) % 72, 1 + r % 3, (r * 5 + c) % 65);
        }
    }
    auto documentOf = [](TesselModule& song) {
        char* text = nullptr;
        size_t size = 0;
        FILE* memory = open_memstream(&text, &size);
        song.writeXml(memory, "", false);
        std::fclose(memory);
        std::string document(text, size);
        std::free(text);
        return document;
    };
    const std::string expected = documentOf(engine->song);
    ASSERT_GT(expected.size(), size_t{3} << 20);

    std::string path = folder.file("full.zip");
    ASSERT_TRUE(engine->saveModule(path));
    expectIntact(path);
    ASSERT_TRUE(outside_tools::have({"unzip"}));
    const std::string extracted = folder.file("extracted.xml");
    ASSERT_EQ(std::system(("unzip -p '" + path + "' Module.xml > '" + extracted + "'").c_str()), 0);
    EXPECT_TRUE(readWholeFile(extracted) == expected) << "the saved document differs from the song's";

    TesselEngine other;
    ASSERT_TRUE(other.usable());
    ASSERT_EQ(other.loadModule(path), 2);
    EXPECT_TRUE(documentOf(other.song) == expected) << "the loaded song differs from the saved one";
}

TEST_F(ModuleFileTest, LoadResultsFollowWhatTheFileHolds)
{
    engine->song.tempo = 133.0;
    std::string path = folder.file("load.zip");
    ASSERT_TRUE(engine->saveModule(path));
    engine->song.tempo = 90.0;
    EXPECT_EQ(engine->loadModule(path), 2);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 133.0);
    EXPECT_EQ(engine->song.songPath, path);

    // A preview load into another module keeps the song's own path.
    TesselModule preview;
    EXPECT_EQ(engine->loadModule(path, &preview), 2);
    EXPECT_EQ(engine->song.songPath, path);

    const std::string unknown = folder.write("notes.txt", "hello");
    engine->song.tempo = 77.0;
    EXPECT_EQ(engine->loadModule(unknown), 1);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 77.0);

    const std::string text = folder.write("readme.txt", "no document");
    const std::string noDocument = folder.file("empty.zip");
    ASSERT_TRUE(zipAddFile(text.c_str(), noDocument.c_str(), "readme.txt"));
    EXPECT_EQ(engine->loadModule(noDocument), 1) << "a zip without a document is no module file";
    EXPECT_EQ(engine->loadModuleFile(noDocument), 0);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 77.0);
}

TEST_F(ModuleFileTest, TruncatedDocumentGivesZeroAndKeepsTheSong)
{
    engine->song.tempo = 140.0;
    std::string path = folder.file("cut.zip");
    ASSERT_TRUE(engine->saveModule(path));
    const std::string document = folder.file("Module.xml");
    ASSERT_TRUE(zipExtractFile(path.c_str(), document.c_str(), "Module.xml"));
    const std::string whole = readWholeFile(document);
    folder.write("Module.xml", whole.substr(0, whole.size() / 2));
    const std::string cut = folder.file("half.zip");
    ASSERT_TRUE(zipAddFile(document.c_str(), cut.c_str(), "Module.xml"));

    engine->song.tempo = 60.0;
    engine->song.songPath = path;
    const float version = documentVersion();
    EXPECT_EQ(engine->loadModule(cut), 0);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 60.0) << "a load is all or nothing";
    EXPECT_EQ(engine->song.songPath, path) << "the song keeps its file";
    EXPECT_EQ(documentVersion(), version);
}

TEST_F(ModuleFileTest, LockHeldElsewhereGivesZeroAndNoChange)
{
    std::string path = folder.file("locked.zip");
    ASSERT_TRUE(engine->saveModule(path));
    engine->song.tempo = 55.0;
    auto other = std::make_unique<TesselModule>();   // shares the one song lock
    ShortEditLockWait shortWait;
    LockHeldElsewhere holder(other->songLock());
    EXPECT_EQ(engine->loadModule(path), 0);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 55.0);
}

TEST_F(ModuleFileTest, ModuleZippedByAnotherToolLoads)
{
    ASSERT_TRUE(outside_tools::have({"zip"}));
    engine->song.tempo = 111.0;
    std::string ours = folder.file("ours.zip");
    ASSERT_TRUE(engine->saveModule(ours));
    ASSERT_TRUE(zipExtractFile(ours.c_str(), folder.file("Module.xml").c_str(), "Module.xml"));
    const std::string theirs = folder.file("theirs.zip");
    ASSERT_EQ(std::system(("cd '" + folder.path() + "' && zip -q -9 theirs.zip Module.xml").c_str()), 0);

    engine->song.tempo = 60.0;
    EXPECT_EQ(engine->loadModule(theirs), 2);
    EXPECT_DOUBLE_EQ(engine->song.tempo, 111.0);
}
