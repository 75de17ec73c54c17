// The file selector over the headless dialogs: the type filter it asks for,
// the paths it hands back in the selection record, and what it frees.

#include "gui_vst2/file_selector.h"
#include "gui/gui_fixture.h"
#include "vst2/audio_effect_x.h"
#include "gui_vst2/editor_base.h"

#include <cstring>

namespace {

// The host's answers: whether it offers its own file selector.
bool hostSelector = false;
int hostOpened = 0;
int hostClosed = 0;

VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
    switch (opcode) {
    case audioMasterCanDo: {
        const char* what = static_cast<const char*>(ptr);
        return hostSelector && (std::strcmp(what, "openFileSelector") == 0 || std::strcmp(what, "closeFileSelector") == 0);
    }
    case audioMasterOpenFileSelector:
        ++hostOpened;
        static_cast<VstFileSelect*>(ptr)->nbReturnPath = 1;
        return 1;
    case audioMasterCloseFileSelector: ++hostClosed; return 1;
    case audioMasterVersion: return 2400;
    default: return 0;
    }
}

struct SilentPlugin : AudioEffectX {
    using AudioEffectX::AudioEffectX;
    void process(float**, float**, VstInt32) override {}
};

struct FramedEditor : AEffGUIEditor {
    FramedEditor(AudioEffect* effect, CFrame* frame) : AEffGUIEditor(effect) { this->frame = frame; }
};

class FileSelector : public GuiTest {
protected:
    FileSelector()
    {
        hostSelector = false;
        hostOpened = hostClosed = 0;
        new FramedEditor(&plugin, &frame);   // the plug-in owns its editor
    }

    VstFileSelect selection(VstInt32 command, std::vector<VstFileType>& types)
    {
        VstFileSelect s{};
        s.command = command;
        s.nbFileTypes = static_cast<VstInt32>(types.size());
        s.fileTypes = types.data();
        std::strcpy(s.title, "Load Module");
        s.initialPath = start;
        return s;
    }

    const platform::HeadlessDialogs::Request& lastRequest()
    {
        EXPECT_FALSE(dialogs.requests().empty());
        return dialogs.requests().back();
    }

    SilentPlugin plugin{fakeHost, 1, 1};
    CFrame frame{CRect(0, 0, 400, 300), host.get(), &editor};
    platform::HeadlessDialogs& dialogs = system.scriptedDialogs();
    char start[16] = "/music";
    std::vector<VstFileType> modulesAndSamples{{"Module", "", "zip"}, {"Sample", "", "wav"}};
};

std::vector<std::string> namesOf(const std::vector<platform::FileFilter>& filters)
{
    std::vector<std::string> names;
    for (const platform::FileFilter& f : filters)
        names.push_back(f.name);
    return names;
}

TEST_F(FileSelector, TwoTypesGiveFourEntriesWithTheThirdSelected)
{
    VstFileSelect s = selection(kVstFileLoad, modulesAndSamples);
    CFileSelector selector(&plugin);
    EXPECT_EQ(selector.run(&s), 0);
    const auto& asked = lastRequest();
    EXPECT_EQ(asked.kind, platform::HeadlessDialogs::Kind::Open);
    EXPECT_EQ(asked.owner, frame.getWindow()->handle());
    EXPECT_EQ(asked.title, "Load Module");
    EXPECT_EQ(asked.startPath, "/music");
    EXPECT_EQ(namesOf(asked.filters), (std::vector<std::string>{"Module (.zip)", "Sample (.wav)",
                                                                 "All Supported Types (*.zip;*.wav)", "All Files (*.*)"}));
    EXPECT_EQ(asked.filters[2].extensions, (std::vector<std::string>{"zip", "wav"}));
    EXPECT_TRUE(asked.filters[3].extensions.empty());
    EXPECT_EQ(asked.filterIndex, 3);
}

TEST_F(FileSelector, TypeListsAndTheirSelectedEntry)
{
    struct Case {
        std::vector<VstFileType> types;
        std::vector<std::string> names;
        std::vector<std::string> firstExtensions;
        int32_t index;
    };
    const Case cases[] = {
        // One type: no "All Supported Types".
        {{{"Module", "", "zip"}}, {"Module (.zip)", "All Files (*.*)"}, {"zip"}, 1},
        // An equal UNIX type adds no pattern.
        {{{"Sample", "", "wav", "wav"}}, {"Sample (.wav)", "All Files (*.*)"}, {"wav"}, 1},
        // A different one does, and makes two extensions; the index stays on
        // "All Supported Types" however many extensions the types add.
        {{{"Sample", "", "wav", "WAV"}}, {"Sample (.wav)", "All Supported Types (*.wav;*.WAV)", "All Files (*.*)"},
         {"wav", "WAV"}, 2},
        {{{"Sample", "", "aif", "aiff"}, {"Module", "", "zip"}},
         {"Sample (.aif)", "Module (.zip)", "All Supported Types (*.aif;*.aiff;*.zip)", "All Files (*.*)"},
         {"aif", "aiff"}, 3},
        // No types at all: every file.
        {{}, {"All Files (*.*)"}, {}, 1},
    };
    for (const Case& c : cases) {
        std::vector<VstFileType> types = c.types;
        VstFileSelect s = selection(kVstFileLoad, types);
        const platform::FileDialogRequest request = CFileSelector::request(s);
        EXPECT_EQ(namesOf(request.filters), c.names);
        EXPECT_EQ(request.filters.front().extensions, c.firstExtensions);
        EXPECT_EQ(request.filterIndex, c.index) << c.names.front();
    }
}

TEST_F(FileSelector, SavingOffersDosTypesAndAddsTheFirstExtension)
{
    std::vector<VstFileType> types{{"Module", "", "zip", "ZIP"}, {"Sample", "", "wav"}};
    VstFileSelect s = selection(kVstFileSave, types);
    dialogs.answerPaths({"/music/song"});
    CFileSelector selector(&plugin);
    ASSERT_EQ(selector.run(&s), 1);
    EXPECT_STREQ(s.returnPath, "/music/song.zip");
    const auto& asked = lastRequest();
    EXPECT_EQ(asked.kind, platform::HeadlessDialogs::Kind::Save);
    EXPECT_EQ(namesOf(asked.filters), (std::vector<std::string>{"Module (.zip)", "Sample (.wav)"}));
    EXPECT_EQ(asked.filters[0].extensions, std::vector<std::string>{"zip"});
    EXPECT_EQ(asked.filterIndex, 1);
}

TEST_F(FileSelector, SeveralFilesComeBackAsFullPathsAndAreFreed)
{
    VstFileSelect s = selection(kVstMultipleFilesLoad, modulesAndSamples);
    dialogs.answerPaths({"/music/a.wav", "/music/b.wav", "/music/c.zip"});
    {
        CFileSelector selector(&plugin);
        ASSERT_EQ(selector.run(&s), 3);
        ASSERT_EQ(s.nbReturnPath, 3);
        EXPECT_STREQ(s.returnMultiplePaths[0], "/music/a.wav");
        EXPECT_STREQ(s.returnMultiplePaths[2], "/music/c.zip");
        EXPECT_EQ(lastRequest().kind, platform::HeadlessDialogs::Kind::OpenSeveral);
    }
    EXPECT_EQ(s.returnMultiplePaths, nullptr);

    std::vector<std::string> many;
    for (int i = 0; i < 1100; ++i)
        many.push_back("/m/" + std::to_string(i));
    dialogs.answerPaths(many);
    CFileSelector selector(&plugin);
    EXPECT_EQ(selector.run(&s), CFileSelector::kMaxPaths);
}

TEST_F(FileSelector, ReturnPathsAreWholeOrNothing)
{
    VstFileSelect s = selection(kVstFileLoad, modulesAndSamples);
    char buffer[16];
    std::strcpy(buffer, "old");
    s.returnPath = buffer;
    s.sizeReturnPath = sizeof buffer;

    // Cancelled: nothing chosen, the buffer emptied.
    CFileSelector cancelled(&plugin);
    EXPECT_EQ(cancelled.run(&s), 0);
    EXPECT_EQ(s.nbReturnPath, 0);
    EXPECT_STREQ(buffer, "");

    // Longer than the buffer: a failure, never a cut path.
    dialogs.answerPaths({"/music/a-long-name.zip"});
    CFileSelector tooLong(&plugin);
    EXPECT_EQ(tooLong.run(&s), 0);
    EXPECT_EQ(s.nbReturnPath, 0);
    EXPECT_STREQ(buffer, "");

    dialogs.answerPaths({"/music/a.zip"});
    CFileSelector fits(&plugin);
    EXPECT_EQ(fits.run(&s), 1);
    EXPECT_STREQ(buffer, "/music/a.zip");
    EXPECT_EQ(s.reserved, 0);
}

TEST_F(FileSelector, WithoutABufferTheSelectorAllocatesAndFreesOne)
{
    VstFileSelect s{};
    s.command = kVstDirectorySelect;
    std::strcpy(s.title, "Select a directory...");
    dialogs.answerPaths({"/music/samples"});
    {
        CFileSelector selector(&plugin);
        ASSERT_EQ(selector.run(&s), 1);
        EXPECT_STREQ(s.returnPath, "/music/samples");
        EXPECT_EQ(s.sizeReturnPath, 15);
        EXPECT_EQ(s.reserved, 1);
        const auto& asked = lastRequest();
        EXPECT_EQ(asked.kind, platform::HeadlessDialogs::Kind::Folder);
        EXPECT_TRUE(asked.filters.empty());
    }
    EXPECT_EQ(s.returnPath, nullptr);
    EXPECT_EQ(s.sizeReturnPath, 0);
}

TEST_F(FileSelector, UnknownCommandsAndMissingWindowsChooseNothing)
{
    VstFileSelect s = selection(7, modulesAndSamples);
    dialogs.answerPaths({"/music/a.zip"});
    CFileSelector selector(&plugin);
    EXPECT_EQ(selector.run(&s), 0);
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_EQ(selector.run(nullptr), 0);
    s.command = kVstFileLoad;
    CFileSelector withoutPlugin(nullptr);
    EXPECT_EQ(withoutPlugin.run(&s), 0);
    EXPECT_EQ(withoutPlugin.run(&s, host.get()), 1);
}

TEST_F(FileSelector, AHostThatOffersItsOwnSelectorRunsAndClosesIt)
{
    hostSelector = true;
    VstFileSelect s = selection(kVstFileLoad, modulesAndSamples);
    {
        CFileSelector selector(&plugin);
        EXPECT_EQ(selector.run(&s), 1);
    }
    EXPECT_EQ(hostOpened, 1);
    EXPECT_EQ(hostClosed, 1);
    EXPECT_TRUE(dialogs.requests().empty());
}

} // namespace
