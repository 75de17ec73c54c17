// A module file whose sample entries cannot all be read, as a backup or a
// mail may bring one: opened in the editor and handed over by the host, the
// song loads, the user is told which samples were not read, and saving keeps
// their entries exactly as they came until a slot is cleared.

#include "editor/damaged_song.h"
#include "editor/editor_fixture.h"
#include "engine/engine.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_archive.h"
#include "platform/dialogs/message_box.h"
#include "plugin/song_files.h"

#include <string>
#include <vector>

namespace {

using platform::HeadlessDialogs;

std::vector<std::string> boxes;

void recordBox(const char* text, const char* /*caption*/, unsigned /*style*/)
{
    boxes.emplace_back(text);
}

// The entry as the archive stores it, with its method, checksum and size.
std::string storedEntry(const std::string& zip, const char* name)
{
    ZipArchive archive;
    ZipStoredEntry entry;
    if (!archive.open(zip) || !archive.readStored(archive.indexOf(name), entry))
        return {};
    return std::to_string(entry.method) + "/" + std::to_string(entry.crc) + "/" + std::to_string(entry.inflatedSize) +
           "/" + std::string(entry.bytes.begin(), entry.bytes.end());
}

class DamagedSamplesTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        open();
        dismissSplash();
        editor->moduleFolder() = folder.path();
        installChunkSongFiles();
        TesselSongFiles::apply = nullptr;
        boxes.clear();
        platform::setMessageBoxRecorder(recordBox);
    }
    void TearDown() override
    {
        platform::setMessageBoxRecorder(nullptr);
        TesselSongFiles::save = nullptr;
        TesselSongFiles::load = nullptr;
        EditorTest::TearDown();
    }
    void ctrl(char letter)
    {
        dispatch(effEditKeyDown, letter, 0, nullptr, kModCtrl);
        dispatch(effEditKeyUp, letter, 0, nullptr, kModCtrl);
        idle();
    }
    HeadlessDialogs& dialogs() { return windows.scriptedDialogs(); }

    ScratchFolder folder;
};

TEST_F(DamagedSamplesTest, TheUserIsToldAndSavingKeepsTheEntriesAsTheyCame)
{
    const std::string song = makeDamagedSong(engine(), folder);
    const std::string cut = storedEntry(song, "Sample 001.wav");
    const std::string damaged = storedEntry(song, "Sample 002.wav");
    ASSERT_FALSE(cut.empty());
    ASSERT_FALSE(damaged.empty());

    // Opened: the song is in, the status line and a box name the two.
    dialogs().answerPaths({song});
    dialogs().answerButton(platform::kAnswerOk);
    ctrl('o');
    EXPECT_EQ(platform::statusText(), "Loading... complete. Samples not read: 02, 03.");
    ASSERT_EQ(dialogs().requests().size(), 2u);
    const HeadlessDialogs::Request& box = dialogs().requests().back();
    EXPECT_EQ(box.kind, HeadlessDialogs::Kind::MessageBox);
    EXPECT_NE(box.text.find("02, 03"), std::string::npos) << box.text;
    EXPECT_GT(engine().song.samples[0].length, 4000);
    EXPECT_EQ(engine().song.samples[1].length, 0);

    // Saved over itself: the entries go back unchanged.
    ctrl('s');
    EXPECT_EQ(platform::statusText(), "Saving... complete (updated).");
    EXPECT_TRUE(storedEntry(song, "Sample 001.wav") == cut);
    EXPECT_TRUE(storedEntry(song, "Sample 002.wav") == damaged);

    // Handed over by the host while the editor is open: the same, in a box of
    // the host's thread.
    const std::string chunk = readWholeFile(song);
    ASSERT_EQ(plugin->setChunk(const_cast<char*>(chunk.data()), static_cast<VstInt32>(chunk.size())), 2);
    EXPECT_EQ(platform::statusText(), "Loading from host... completed. Samples not read: 02, 03.");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("02, 03"), std::string::npos) << boxes[0];

    // Cleared by the user, a slot's entry goes with the next save.
    {
        platform::MutexLock lock(engine().song.songLock(), kEditLockWaitMs);
        engine().song.samples[1].reset();
    }
    std::string saved = folder.file("again.zip");
    ASSERT_TRUE(engine().saveModule(saved));
    EXPECT_EQ(storedEntry(saved, "Sample 001.wav"), "");
    EXPECT_TRUE(storedEntry(saved, "Sample 002.wav") == damaged);
}

} // namespace
