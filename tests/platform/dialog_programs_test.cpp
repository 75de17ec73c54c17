// The desktop's dialog programs: command lines built for zenity and
// kdialog, their answers read back, and stand-in programs first on PATH run
// as the user's would be.

#include "dialog_test_support.h"
#include "platform/dialogs/desktop_dialogs.h"
#include "platform/dialogs/dialog_helpers.h"
#include "platform/dialogs/message_box.h"
#include "platform/system/helper_process.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

using Args = std::vector<std::string>;

FileDialogRequest modulesAndSamples(FileDialogKind kind)
{
    FileDialogRequest request;
    request.kind = kind;
    request.title = "Load";
    request.filters = {{"Module (.zip)", {"zip"}}, {"Sample (.wav)", {"wav", "WAV"}},
                       {"All Supported Types (*.zip;*.wav)", {"zip", "wav"}}, {"All Files (*.*)", {}}};
    request.filterIndex = 3;
    return request;
}

TEST(DialogPrograms, PatternsAreCaseBlind)
{
    const std::pair<const char*, const char*> cases[] = {
        {"wav", "*.[wW][aA][vV]"}, {"MP3", "*.[mM][pP]3"}, {"", "*"}, {"a*", "*.[aA][*]"},
    };
    for (const auto& [extension, pattern] : cases)
        EXPECT_EQ(caseBlindPattern(extension), pattern) << extension;
}

TEST(DialogPrograms, ZenityListsTheSelectedFilterFirst)
{
    const Args args = fileArguments(DialogProgram::Zenity, modulesAndSamples(FileDialogKind::OpenSeveral));
    const Args expected{"zenity",
                        "--file-selection",
                        "--title=Load",
                        "--multiple",
                        "--separator=\n",
                        "--file-filter=All Supported Types (*.zip;*.wav) | *.[zZ][iI][pP] *.[wW][aA][vV]",
                        "--file-filter=Module (.zip) | *.[zZ][iI][pP]",
                        "--file-filter=Sample (.wav) | *.[wW][aA][vV] *.[wW][aA][vV]",
                        "--file-filter=All Files (*.*) | *"};
    EXPECT_EQ(args, expected);
}

TEST(DialogPrograms, EveryKindHasItsCommandLine)
{
    ScratchFolder folder;
    FileDialogRequest save;
    save.kind = FileDialogKind::Save;
    save.startPath = folder.path();
    save.filters = {{"Module (.zip)", {"zip"}}};
    FileDialogRequest pick;
    pick.kind = FileDialogKind::Folder;
    pick.title = "Select a directory...";
    pick.startPath = folder.path();
    pick.filters = save.filters;

    EXPECT_EQ(fileArguments(DialogProgram::Zenity, save),
              (Args{"zenity", "--file-selection", "--save", "--filename=" + folder.path() + "/",
                    "--file-filter=Module (.zip) | *.[zZ][iI][pP]"}));
    EXPECT_EQ(fileArguments(DialogProgram::Zenity, pick),
              (Args{"zenity", "--file-selection", "--title=Select a directory...", "--directory",
                    "--filename=" + folder.path() + "/"}));
    EXPECT_EQ(fileArguments(DialogProgram::Kdialog, save),
              (Args{"kdialog", "--getsavefilename", folder.path() + "/", "*.[zZ][iI][pP]|Module (.zip)"}));
    EXPECT_EQ(fileArguments(DialogProgram::Kdialog, pick),
              (Args{"kdialog", "--title", "Select a directory...", "--getexistingdirectory", folder.path() + "/"}));
}

TEST(DialogPrograms, AnswersAreRead)
{
    EXPECT_EQ(parsePaths("/a b/c.zip\n/d/e.wav\r\n\n"), (Args{"/a b/c.zip", "/d/e.wav"}));
    EXPECT_TRUE(parsePaths("\n").empty());

    const std::pair<const char*, bool> colours[] = {
        {"rgb(10,20,30)\n", true}, {"rgba(10,20,30,0.5)", true}, {"#0a141e\n", true},
        {"rgb(10,20,300)", false}, {"rgb(10,20)", false},        {"blue", false},
    };
    for (const auto& [text, valid] : colours) {
        Colour colour = rgb(0, 0, 0);
        EXPECT_EQ(parseColour(text, colour), valid) << text;
        if (valid) {
            EXPECT_EQ(colour, rgb(10, 20, 30)) << text;
        }
    }

    struct Box {
        DialogProgram program;
        uint32_t style;
        int status;
        const char* output;
        int32_t answer;
    };
    const Box boxes[] = {
        {DialogProgram::Zenity, kBoxYesNo, 0, "", kAnswerYes},
        {DialogProgram::Zenity, kBoxYesNo, 1, "", kAnswerNo},
        {DialogProgram::Zenity, kBoxYesNoCancel, 1, "Cancel\n", kAnswerCancel},
        {DialogProgram::Zenity, kBoxYesNoCancel, 1, "", kAnswerNo},
        {DialogProgram::Zenity, kBoxOkCancel, 1, "", kAnswerCancel},
        {DialogProgram::Zenity, kBoxOk, 1, "", kAnswerOk},
        {DialogProgram::Kdialog, kBoxYesNoCancel, 2, "", kAnswerCancel},
        {DialogProgram::Kdialog, kBoxYesNoCancel, 1, "", kAnswerNo},
    };
    for (const Box& box : boxes)
        EXPECT_EQ(messageAnswer(box.program, box.style, box.status, box.output), box.answer)
            << box.style << " " << box.status;
}

class StandInPrograms : public ::testing::Test {
protected:
    StandInPrograms()
    {
        WindowOptions options;
        options.kind = WindowOptions::Kind::TopLevel;
        options.rect = {0, 0, 200, 100};
        options.handler = &journal;
        window = system.createWindow(options);
    }

    struct Journal : WindowHandler {
        bool handleMessage(Window&, WindowMessage& message) override
        {
            kinds.push_back(message.kind);
            return true;
        }
        size_t count(MessageKind kind) const { return size_t(std::count(kinds.begin(), kinds.end(), kind)); }
        std::vector<MessageKind> kinds;
    };

    ScratchFolder folder;
    HeadlessWindowSystem system;
    Journal journal;
    std::unique_ptr<Window> window;
    DesktopDialogs desktop{system};
};

TEST_F(StandInPrograms, ATitleArrivesAsOneLiteralArgumentAndTheAnswerIsParsed)
{
    writeStandIn(folder, "zenity");
    writeFile(folder / "answer.txt", "/music/one song.zip\n");
    PathOverride path(folder.path());
    FileDialogRequest request = modulesAndSamples(FileDialogKind::Open);
    request.title = "Load \"my\" 'song' $(touch " + folder.path() + "/pwned) `id` ; *";
    std::vector<std::string> paths;
    ASSERT_TRUE(desktop.chooseFiles(window.get(), request, paths));
    EXPECT_EQ(paths, Args{"/music/one song.zip"});
    const Args args = recordedArguments(folder);
    ASSERT_GE(args.size(), 2u);
    EXPECT_EQ(args[0], "--file-selection");
    EXPECT_EQ(args[1], "--title=" + request.title);
    EXPECT_FALSE(std::filesystem::exists(folder / "pwned"));
}

TEST_F(StandInPrograms, SeveralFilesComeAsFullPathsAndCancelIsNoAnswer)
{
    writeStandIn(folder, "zenity");
    PathOverride path(folder.path());
    writeFile(folder / "answer.txt", "/m/a.wav\n/m/b.wav\n/m/c.wav\n");
    std::vector<std::string> paths;
    ASSERT_TRUE(desktop.chooseFiles(window.get(), modulesAndSamples(FileDialogKind::OpenSeveral), paths));
    EXPECT_EQ(paths, (Args{"/m/a.wav", "/m/b.wav", "/m/c.wav"}));

    writeFile(folder / "status.txt", "1");
    writeFile(folder / "answer.txt", "");
    EXPECT_FALSE(desktop.chooseFiles(window.get(), modulesAndSamples(FileDialogKind::Open), paths));
    EXPECT_EQ(desktop.messageBox(window.get(), "Sure?", "Quorbel", kBoxYesNo), kAnswerNo);
    EXPECT_EQ(recordedArguments(folder),
              (Args{"--question", "--no-markup", "--title=Quorbel", "--text=Sure?"}));
}

TEST_F(StandInPrograms, OutputBeyondTheCapIsAFailureNotAPartialAnswer)
{
    const std::string script = folder / "zenity";
    writeFile(script, "#!/bin/sh\n/usr/bin/head -c 2000000 /dev/zero | /usr/bin/tr '\\0' 'a'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    PathOverride path(folder.path());
    std::vector<std::string> paths;
    EXPECT_FALSE(desktop.chooseFiles(window.get(), modulesAndSamples(FileDialogKind::Open), paths));
}

TEST_F(StandInPrograms, KdialogServesWhenThereIsNoZenity)
{
    writeStandIn(folder, "kdialog");
    writeFile(folder / "answer.txt", "#102030\n");
    PathOverride path(folder.path());
    Colour colour = rgb(1, 2, 3);
    ASSERT_TRUE(desktop.chooseColour(window.get(), colour));
    EXPECT_EQ(colour, rgb(16, 32, 48));
    EXPECT_EQ(recordedArguments(folder), (Args{"--getcolor", "--default", "#010203"}));
}

TEST_F(StandInPrograms, WhileTheProgramShowsWindowsPaintAndTimeButTakeNoInput)
{
    const std::string script = folder / "zenity";
    writeFile(script, "#!/bin/sh\n/bin/sleep 0.1\necho /m/a.zip\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    PathOverride path(folder.path());
    system.pump();
    journal.kinds.clear();
    window->takeFocus();
    window->setTimer(7, 10);
    system.advance(20);
    window->invalidate({0, 0, 10, 10});
    system.pressKey('A');
    system.click(*window, {5, 5});
    std::vector<std::string> paths;
    ASSERT_TRUE(desktop.chooseFiles(window.get(), modulesAndSamples(FileDialogKind::Open), paths));
    EXPECT_EQ(journal.count(MessageKind::Paint), 1u);
    EXPECT_EQ(journal.count(MessageKind::Timer), 1u);
    EXPECT_EQ(journal.count(MessageKind::KeyDown), 0u);
    EXPECT_EQ(journal.count(MessageKind::ButtonDown), 0u);
}

TEST(HelperProcess, ReportsWhatCouldNotRun)
{
    EXPECT_FALSE(runHelper({"/nonexistent/program"}, 100, nullptr).started);
    EXPECT_FALSE(runHelper({}, 100, nullptr).started);
    const HelperResult ran = runHelper({"/bin/sh", "-c", "printf 12345678; exit 3"}, 4, nullptr);
    EXPECT_TRUE(ran.started);
    EXPECT_EQ(ran.exitStatus, 3);
    EXPECT_EQ(ran.output, "1234");
    EXPECT_TRUE(ran.overflowed);
    EXPECT_FALSE(programOnPath("surely-no-such-program-here"));
    EXPECT_TRUE(programOnPath("sh"));
}

} // namespace

namespace {

// DISPLAY as the test sets it while it lives; empty: unset.
class DisplayOverride {
public:
    explicit DisplayOverride(const char* display)
    {
        if (const char* old = std::getenv("DISPLAY"))
            old_ = old;
        display ? setenv("DISPLAY", display, 1) : unsetenv("DISPLAY");
    }
    ~DisplayOverride() { old_.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", old_.c_str(), 1); }

private:
    std::string old_;
};

} // namespace

// The platform's refusals reach the user through the desktop's dialog and
// standard error both; with no display nobody could answer a box, so the
// line alone is written and nothing waits.
TEST(PlatformMessageBox, ShowsThroughTheDialogProgramAndStillPrints)
{
    ScratchFolder folder;
    PathOverride path(folder.path());
    const char text[] = "ERROR: You can only run one instance of Quorbel at a time.";
    const struct {
        const char* program;
        unsigned style;
        Args expected;
    } cases[] = {
        {"zenity", kBoxSystemModal | kBoxIconError, {"--error", "--no-markup", "--title=Quorbel", std::string("--text=") + text}},
        {"kdialog", kBoxSystemModal | kBoxIconError, {"--title", "Quorbel", "--error", text}},
        {"kdialog", kBoxIconInformation, {"--title", "Quorbel", "--msgbox", text}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "zenity");
        std::filesystem::remove(folder / "args.log");
        writeStandIn(folder, c.program);
        DisplayOverride display(":97");
        testing::internal::CaptureStderr();
        showMessageBox(text, "Quorbel", c.style);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("Quorbel: ") + text + "\n");
        EXPECT_EQ(recordedArguments(folder), c.expected) << c.program;
    }

    std::filesystem::remove(folder / "args.log");
    writeStandIn(folder, "zenity");
    DisplayOverride none(nullptr);
    testing::internal::CaptureStderr();
    showMessageBox(text, "Quorbel", kBoxSystemModal | kBoxIconError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("Quorbel: ") + text + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "args.log"));
}
