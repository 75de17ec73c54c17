// The module file commands driven by the host's key calls with scripted
// dialogs: what they ask, what they report, the files they leave, and the
// update check's flag reaching the pattern editor.

#include "editor/file_commands/module_paths.h"
#include "editor_fixture.h"
#include "editor/core/channel_edits.h"
#include "engine/engine.h"
#include "model/file_kind.h"
#include "model/scratch_folder.h"
#include "model/zip/zip_helpers.h"
#include "platform/system/folders.h"
#include "plugin/song_files.h"
#include "support/loopback_http_server.h"
#include "vst2/quit_question.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using platform::HeadlessDialogs;

class FileCommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        open();
        dismissSplash();
        editor->moduleFolder() = folder.path();   // no '/' at its end
        platform::clearStatusText();
        platform::setFileMessage("");
    }
    // A key through effEditKeyDown and effEditKeyUp, then an idle.
    void hostKey(int32_t character, uint8_t virtualKey, uint8_t modifiers)
    {
        dispatch(effEditKeyDown, character, virtualKey, nullptr, modifiers);
        dispatch(effEditKeyUp, character, virtualKey, nullptr, modifiers);
        idle();
    }
    void ctrl(char letter) { hostKey(letter, 0, kModCtrl); }
    void saveAs() { hostKey(0, kVkF1 + 9, 0); }   // F10

    HeadlessDialogs& dialogs() { return windows.scriptedDialogs(); }
    size_t asked() { return dialogs().requests().size(); }
    const HeadlessDialogs::Request& lastAsked() { return dialogs().requests().back(); }
    void expectReport(const std::string& fileMessage, const std::string& status)
    {
        EXPECT_EQ(platform::fileMessage(), fileMessage);
        EXPECT_EQ(platform::statusText(), status);
    }
    std::vector<std::string> entries(const std::string& zip)
    {
        ZipEntryList list;
        EXPECT_TRUE(zipListEntries(zip.c_str(), list)) << zip;
        std::vector<std::string> names;
        for (const ZipEntry& entry : list.entries)
            names.emplace_back(entry.name);
        return names;
    }
    // A module file with an entry whose data is damaged, so that a save over
    // it cannot carry that entry and fails; its bytes.
    std::string damage(const std::string& path)
    {
        const std::string text = folder.write("big.txt", std::string(4000, 'q'));
        EXPECT_TRUE(zipAddFile(text.c_str(), path.c_str(), "big.txt"));
        std::string bytes = readWholeFile(path);
        const size_t data = bytes.find("PK\x03\x04", 10);
        EXPECT_NE(data, std::string::npos);
        bytes[data + 50] ^= 0x55;
        folder.write(namePart(path), bytes);
        return bytes;
    }
    std::string savedSong(const char* name, double tempo)
    {
        const double kept = engine().song.tempo;
        engine().song.tempo = tempo;
        std::string path = folder.file(name);
        EXPECT_TRUE(engine().saveModule(path));
        engine().song.tempo = kept;
        return path;
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(FileCommandsTest, SaveAsksForANameOnceThenUpdatesTheSameFile)
{
    dialogs().answerPaths({folder.file("name")});
    ctrl('s');
    ASSERT_EQ(asked(), 1u);
    const HeadlessDialogs::Request& request = lastAsked();
    EXPECT_EQ(request.kind, HeadlessDialogs::Kind::Save);
    EXPECT_EQ(request.title, "Save Module...");
    EXPECT_EQ(request.startPath, folder.path() + "/");
    EXPECT_EQ(request.owner, editor->editorWindow()->handle());
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].name, "Compressed Quorbel Module (.zip)");
    EXPECT_EQ(request.defaultExtension, "zip");

    const std::string zip = folder.file("name.zip");
    EXPECT_TRUE(fileExists(zip.c_str()));
    EXPECT_EQ(engine().song.songPath, zip);
    EXPECT_EQ(editor->moduleFolder(), folder.path() + "/");
    expectReport("Saving... complete.", "Saving... complete.");
    EXPECT_FALSE(editor->popupActive());

    ctrl('s');
    EXPECT_EQ(asked(), 1u);   // the song has its file now
    expectReport("Saving... complete (updated).", "Saving... complete (updated).");
    EXPECT_EQ(entries(zip), (std::vector<std::string>{"Module.xml", "Archive.zip"}));

    // That one host is shown the zip files of the folder.
    TesselHostIdentity& host = hostIdentity();
    const TesselHostIdentity kept = host;
    std::strcpy(host.vendor, "STEINBERG");
    saveAs();
    host = kept;
    EXPECT_EQ(lastAsked().startPath, folder.path() + "/*.zip");
}

TEST_F(FileCommandsTest, SaveAsOverAnExistingZipAsksAboutTheNameWritten)
{
    // The dialog adds ".zip" to a bare name and the save to any other one.
    const struct {
        const char* chosen;
        const char* written;
        int32_t answer;
        const char* report;
        bool kept;
    } cases[] = {
        {"name", "name.zip", platform::kAnswerNo, "Saving... cancelled.", true},
        {"name.v2", "name.v2.zip", platform::kAnswerNo, "Saving... cancelled.", true},
        {"name.v2", "name.v2.zip", platform::kAnswerCancel, "Saving... cancelled.", true},
        {"name", "name.zip", platform::kAnswerYes, "Saving... complete.", false},
    };
    for (const auto& c : cases) {
        const std::string zip = folder.file(c.written);
        if (c.kept)
            folder.write(c.written, "not to be lost");
        const std::string songPath = engine().song.songPath;
        const size_t before = asked();
        dialogs().answerPaths({folder.file(c.chosen)});
        dialogs().answerButton(c.answer);
        saveAs();
        ASSERT_EQ(asked(), before + 2) << c.chosen;
        EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::MessageBox);
        EXPECT_EQ(lastAsked().text, "File already exists. Overwrite?");
        EXPECT_EQ(lastAsked().title, "Save Module...");
        EXPECT_EQ(lastAsked().style & platform::kBoxButtonsMask, platform::kBoxYesNo);
        expectReport(c.report, c.report);
        EXPECT_EQ(readWholeFile(zip) == "not to be lost", c.kept) << c.chosen;
        EXPECT_EQ(engine().song.songPath, c.kept ? songPath : zip) << c.chosen;
    }
    EXPECT_EQ(entries(folder.file("name.zip")), std::vector<std::string>{"Module.xml"});
    EXPECT_FALSE(fileExists(folder.file("name.v2").c_str()));

    // Cancelling the selector asks nothing more.
    saveAs();
    EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::Save);
    expectReport("Saving... cancelled.", "Saving... cancelled.");
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheOldBytesAndTheSongsFileName)
{
    dialogs().answerPaths({folder.file("first.zip")});
    ctrl('s');
    ASSERT_EQ(engine().song.songPath, folder.file("first.zip"));

    // Save As over a file that cannot be carried over.
    const std::string other = savedSong("other.zip", 99.0);
    const std::string otherBytes = damage(other);
    dialogs().answerPaths({other});
    dialogs().answerButton(platform::kAnswerYes);
    saveAs();
    expectReport("Saving... failed.", "Saving... failed.");
    EXPECT_EQ(readWholeFile(other), otherBytes);
    EXPECT_EQ(engine().song.songPath, folder.file("first.zip"));

    // The song's own file damaged: Save falls back to asking, and a cancel
    // there leaves both as they were.
    const std::string firstBytes = damage(folder.file("first.zip"));
    const size_t before = asked();
    ctrl('s');
    ASSERT_EQ(asked(), before + 1);
    EXPECT_EQ(lastAsked().title, "Save Module...");
    expectReport("Saving... cancelled.", "Saving... cancelled.");
    EXPECT_EQ(readWholeFile(folder.file("first.zip")), firstBytes);
    EXPECT_EQ(engine().song.songPath, folder.file("first.zip"));
    EXPECT_FALSE(fileExists(folder.file("~qrblzip.tmp").c_str()));
}

TEST_F(FileCommandsTest, OpenReportsEachOutcome)
{
    const std::string good = savedSong("good.zip", 133.0);
    const std::string empty = folder.file("empty.zip");
    const std::string notes = folder.write("notes.txt", "no module here");
    ASSERT_TRUE(zipAddFile(notes.c_str(), empty.c_str(), "notes.txt"));
    engine().song.tempo = 90.0;

    // Cancelled: the five types, every supported one, every file.
    ctrl('o');
    ASSERT_EQ(asked(), 1u);
    const HeadlessDialogs::Request& request = lastAsked();
    EXPECT_EQ(request.kind, HeadlessDialogs::Kind::Open);
    EXPECT_EQ(request.title, "Open Module...");
    EXPECT_EQ(request.startPath, folder.path() + "/");
    const std::vector<std::string> names = {
        "Compressed Quorbel Module  (.zip)", "Impulse Tracker Module (.it)",
        "Scream Tracker 3 Module (.s3m)",    "Fast Tracker Module (.xm)",
        "Protracker Module (.mod)",          "All Supported Types (*.zip;*.it;*.s3m;*.xm;*.mod)",
        "All Files (*.*)"};
    ASSERT_EQ(request.filters.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(request.filters[i].name, names[i]);
    EXPECT_EQ(request.filterIndex, 6);
    expectReport("Loading... cancelled.", "Loading... cancelled.");
    EXPECT_EQ(editor->moduleFolder(), folder.path());

    // A zip holding no module: nothing loaded, the song kept, no page change.
    hostKey(0, kVkF1 + 2, 0);   // F3: the sample list
    ASSERT_EQ(pageNumber(), kSampleListPage);
    platform::clearStatusText();
    dialogs().answerPaths({empty});
    ctrl('o');
    EXPECT_EQ(platform::fileMessage(), "Loading... error.");
    EXPECT_EQ(platform::statusText(), "");
    EXPECT_DOUBLE_EQ(engine().song.tempo, 90.0);
    EXPECT_EQ(pageNumber(), kSampleListPage);

    // A good module, opened while the song plays: stopped, then loaded.
    engine().playPattern(0, 0);
    ASSERT_TRUE(engine().isPlaying());
    patternPage()->grid().view.cursorRow = 5;
    patternPage()->grid().view.cursorChannel = 3;
    dialogs().answerPaths({good});
    ctrl('o');
    EXPECT_EQ(engine().transport, kStoppedCut);
    expectReport("Loading... complete.", "Loading... complete");
    EXPECT_DOUBLE_EQ(engine().song.tempo, 133.0);
    EXPECT_EQ(engine().song.songPath, good);
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    EXPECT_EQ(patternPage()->grid().view.cursorRow, 0);
    EXPECT_EQ(patternPage()->grid().view.cursorChannel, 0);
    EXPECT_EQ(patternPage()->pattern(), &engine().song.patterns[0]);
    EXPECT_EQ(editor->moduleFolder(), folder.path() + "/");
}

// An imported song is a new song: Save asks for a name and the module file
// opened before keeps its bytes, whatever the import's format.
TEST_F(FileCommandsTest, SaveAfterAnImportAsksForANameAndLeavesTheOpenedModule)
{
    const char* const imports[] = {
        "/usr/share/games/biniax2/music/biniax_common00.it",   // biniax2-data
        "/usr/share/games/ceferino/music/menu.xm",             // ceferino-data
        "/usr/share/games/njam/data/ritam.s3m",                // njam-data
        "/usr/share/games/circuslinux/data/music/finally.mod", // circuslinux-data
    };
    const std::string tune = savedSong("tune.zip", 133.0);
    const std::string bytes = readWholeFile(tune);
    for (const char* module : imports) {
        ASSERT_TRUE(fileExists(module)) << module;
        dialogs().answerPaths({tune});
        ctrl('o');
        ASSERT_EQ(engine().song.songPath, tune);
        dialogs().answerPaths({module});
        ctrl('o');
        expectReport("Loading... complete.", "Loading... complete");
        EXPECT_EQ(engine().song.songPath, "") << module;

        hostKey('q', 0, 0);   // a note typed into the imported song
        const size_t before = asked();
        dialogs().answerCancel();
        ctrl('s');
        ASSERT_EQ(asked(), before + 1) << module;
        EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::Save);
        expectReport("Saving... cancelled.", "Saving... cancelled.");
        EXPECT_EQ(readWholeFile(tune), bytes) << module;

        const std::string named = folder.file(namePart(module)) + ".zip";
        dialogs().answerPaths({named});
        ctrl('s');
        expectReport("Saving... complete.", "Saving... complete.");
        EXPECT_EQ(engine().song.songPath, named);
        EXPECT_EQ(readWholeFile(tune), bytes) << module;
    }
}

// The order readout over the grid ("%.3d/%.3d", the page's order position)
// names the song's first order entry after an import, whose first entry
// holds another pattern than 0, and after New, whose order list is empty.
TEST_F(FileCommandsTest, AnImportOrNewShowsTheFirstOrderEntry)
{
    const struct {
        const char* path;
        int32_t firstPattern;
        int32_t entries;
    } imports[] = {
        {"/usr/share/games/biniax2/music/biniax_common00.it", 3, 46},   // biniax2-data
        {"/usr/share/games/njam/data/ritam.s3m", 2, 18},                 // njam-data
    };
    for (const auto& module : imports) {
        ASSERT_TRUE(fileExists(module.path)) << module.path;
        dialogs().answerPaths({module.path});
        ctrl('o');
        ASSERT_EQ(platform::fileMessage(), "Loading... complete.");
        ASSERT_EQ(engine().song.orderList.length, module.entries);
        EXPECT_EQ(patternPage()->getCurrentOrder(), 0) << module.path;
        EXPECT_EQ(patternPage()->getCurrentPattern(), module.firstPattern) << module.path;
    }
    dialogs().answerButton(platform::kAnswerYes);
    ctrl('n');
    ASSERT_EQ(platform::fileMessage(), "Module erased.");
    EXPECT_EQ(patternPage()->getCurrentOrder(), 0);
    EXPECT_EQ(patternPage()->getCurrentPattern(), 0);
    idle();
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(editor->frame2()->getWindow()->image().writePng("screenshots/pattern_editor_after_new.png"));
}

TEST_F(FileCommandsTest, NewAsksFirstAndErasesOnYes)
{
    const std::string good = savedSong("good.zip", 133.0);
    ASSERT_EQ(engine().loadModule(good), 2);
    patternPage()->grid().view.cursorRow = 7;

    dialogs().answerButton(platform::kAnswerNo);
    ctrl('n');
    ASSERT_EQ(asked(), 1u);
    EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::MessageBox);
    EXPECT_EQ(lastAsked().text, "This will erase all patterns, samples and instruments. Are you sure?");
    EXPECT_EQ(lastAsked().title, "New...");
    EXPECT_EQ(lastAsked().owner, editor->editorWindow()->handle());
    EXPECT_DOUBLE_EQ(engine().song.tempo, 133.0);
    EXPECT_EQ(engine().song.songPath, good);
    EXPECT_EQ(platform::fileMessage(), "");
    EXPECT_EQ(patternPage()->grid().view.cursorRow, 7);

    dialogs().answerButton(platform::kAnswerYes);
    ctrl('n');
    expectReport("Module erased.", "Module erased.");
    EXPECT_EQ(engine().song.songPath, "");
    EXPECT_DOUBLE_EQ(engine().song.tempo, engine().preferences.defaultTempo);
    EXPECT_EQ(patternPage()->grid().view.cursorRow, 0);
}

TEST_F(FileCommandsTest, WhileADialogShowsKeysRunNothingAndTheWindowLeavesTheTop)
{
    editor->setAlwaysOnTop(true);
    ASSERT_TRUE(windows.keptAbove(*editor->editorWindow()));
    HeadlessDialogs::Answer cancel;
    cancel.cancel = true;
    bool blocked = false;
    bool above = true;
    cancel.meanwhile = [&] {
        blocked = editor->popupActive();
        above = windows.keptAbove(*editor->editorWindow());
        ctrl('n');
        ctrl('s');
        hostKey(0, kVkF1 + 8, 0);   // F9: open
    };
    dialogs().answer(cancel);
    ctrl('o');
    EXPECT_EQ(asked(), 1u);
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(above);
    EXPECT_FALSE(editor->popupActive());
    EXPECT_TRUE(windows.keptAbove(*editor->editorWindow()));
    expectReport("Loading... cancelled.", "Loading... cancelled.");
}

TEST(ModulePaths, DialogsStartInTheFolderAndAChosenFileLeavesItsOwn)
{
    EXPECT_EQ(folderWithSlash("/music"), "/music/");
    EXPECT_EQ(folderWithSlash("/music/"), "/music/");
    EXPECT_EQ(folderWithSlash(""), "");
    EXPECT_EQ(folderOfFile("/song.zip"), "/");
    EXPECT_EQ(folderOfFile("/a/b/song.zip"), "/a/b/");
    EXPECT_EQ(folderOfFile("song.zip"), "");

    const std::string deep = "/" + std::string(kDefaultFolderSize, 'd') + "/song.zip";
    const struct {
        const char* current;
        std::string chosen;
        const char* next;
    } cases[] = {
        {"/old/", "/new/song.zip", "/new/"},
        {"/old/", "/song.zip", "/"},
        {"/old/", "song.zip", "/old/"},
        {"/old/", deep, "/old/"},   // never stored cut
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextDefaultFolder(c.current, c.chosen), c.next) << c.chosen;
}

// The update check against a server of the test's own.
class EditorUpdateCheckTest : public EditorTest {
protected:
    void SetUp() override
    {
        for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            unsetenv(proxy);
        EditorTest::SetUp();
    }
    void TearDown() override
    {
        TesselEditor::updateCheckAddressSource = nullptr;
        EditorTest::TearDown();
    }
    void checkAgainst(const std::string& address)
    {
        TesselEditor::updateCheckAddressSource = [address] { return address; };
        makePlugin();
    }
};

TEST_F(EditorUpdateCheckTest, ANewerVersionReachesThePatternEditorOnce)
{
    LoopbackHttpServer server({200, "OK", "", "s,1,99999,p,2,3", LoopbackHttpServer::Ending::Whole});
    checkAgainst(server.address());
    open();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!editor->updateAvailable() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(editor->updateAvailable());
    idle(3);
    EXPECT_TRUE(patternPage()->updateMarkShown());
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(EditorUpdateCheckTest, DeletingAnEditorWhoseCheckStallsReturnsWithinASecond)
{
    LoopbackHttpServer server({200, "OK", "", "s,1,99999,p,2,3", LoopbackHttpServer::Ending::Stall});
    checkAgainst(server.address());
    open();
    ASSERT_TRUE(server.waitForRequests(1));
    const auto start = std::chrono::steady_clock::now();
    plugin.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// What the user did since the song was loaded or saved is offered for saving
// before another song takes its place: a note, an order list entry, a
// channel's settings count, a mute does not. Cancel keeps the song, No
// opens the other; a song just opened is replaced without a question. The
// stand-alone host's quit question is answered the same way; a song the
// host hands over is its session's, and closing the editor asks nothing.
TEST_F(FileCommandsTest, AnEditedSongIsOfferedForSavingBeforeItGoes)
{
    const std::string good = savedSong("good.zip", 133.0);
    TesselModule& song = engine().song;
    EXPECT_FALSE(song.edited());
    const auto quitAnswer = [&] { return dispatch(effVendorSpecific, kVendorQuitQuestion); };
    EXPECT_EQ(quitAnswer(), kQuitNothingLost);
    EXPECT_EQ(asked(), 0u);
    EXPECT_TRUE(toggleChannelMute(editor, &song, 0));
    EXPECT_FALSE(song.edited());
    hostKey('q', 0, 0);
    ASSERT_TRUE(song.edited());

    dialogs().answerButton(platform::kAnswerCancel);
    ctrl('o');
    ASSERT_EQ(asked(), 1u);
    EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::MessageBox);
    EXPECT_EQ(lastAsked().text, "Save changes to the current module?");
    EXPECT_EQ(lastAsked().title, "Open Module...");
    EXPECT_EQ(lastAsked().style & platform::kBoxButtonsMask, platform::kBoxYesNoCancel);
    EXPECT_TRUE(song.edited());
    EXPECT_DOUBLE_EQ(song.tempo, 120.0);

    dialogs().answerButton(platform::kAnswerNo);
    dialogs().answerPaths({good});
    ctrl('o');
    ASSERT_EQ(asked(), 3u);
    EXPECT_EQ(lastAsked().kind, HeadlessDialogs::Kind::Open);
    EXPECT_DOUBLE_EQ(song.tempo, 133.0);
    EXPECT_FALSE(song.edited());
    dialogs().answerPaths({good});
    ctrl('o');
    EXPECT_EQ(asked(), 4u);

    hostKey(0, kVkF1 + 10, 0);   // F11: the order list
    ASSERT_EQ(pageNumber(), kOrderListPage);
    hostKey('5', 0, 0);
    EXPECT_TRUE(song.edited());
    song.markUnedited();
    EXPECT_TRUE(storeChannelName(editor, &song, 1, "Bass          "));
    EXPECT_TRUE(song.edited());

    // The host's quit question: Cancel stays, No goes, both without saving.
    dialogs().answerButton(platform::kAnswerCancel);
    EXPECT_EQ(quitAnswer(), kQuitStay);
    EXPECT_EQ(lastAsked().title, "Quorbel");
    dialogs().answerButton(platform::kAnswerNo);
    EXPECT_EQ(quitAnswer(), kQuitGo);
    EXPECT_EQ(readWholeFile(good).find("Bass"), std::string::npos);

    // Inside a DAW, with the library's chunk operations.
    const auto keptSave = TesselSongFiles::save;
    const auto keptLoad = TesselSongFiles::load;
    const auto keptApply = TesselSongFiles::apply;
    installChunkSongFiles();
    std::string chunk = readWholeFile(good);
    const VstIntPtr loaded = dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data());
    TesselSongFiles::save = keptSave;
    TesselSongFiles::load = keptLoad;
    TesselSongFiles::apply = keptApply;
    ASSERT_GE(loaded, 2);
    EXPECT_FALSE(song.edited());
    // The host's song is shown from the pattern editor page.
    EXPECT_EQ(pageNumber(), kPatternEditorPage);
    hostKey(0, kVkF1 + 1, 0);   // F2: the pattern editor
    hostKey('w', 0, 0);
    EXPECT_TRUE(song.edited());
    const size_t before = asked();
    dispatch(effEditClose);
    EXPECT_EQ(asked(), before);
}
