// The dialogs service's own rules, on the headless backend: requests are
// recorded, answers come from the queue, a save name gets the default
// extension, and only one dialog (or popup) shows at a time.

#include "platform/dialogs/popup_menu.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class DialogsService : public ::testing::Test {
protected:
    DialogsService()
    {
        WindowOptions options;
        options.kind = WindowOptions::Kind::TopLevel;
        options.rect = {10, 10, 410, 310};
        owner = system.createWindow(options);
    }

    FileDialogRequest openRequest(FileDialogKind kind = FileDialogKind::Open)
    {
        FileDialogRequest request;
        request.kind = kind;
        request.title = "Load Module";
        request.startPath = "/music";
        request.filters = {{"Module (.zip)", {"zip"}}, {"All Files (*.*)", {}}};
        request.filterIndex = 2;
        request.defaultExtension = "zip";
        return request;
    }

    HeadlessWindowSystem system;
    HeadlessDialogs& dialogs = system.scriptedDialogs();
    std::unique_ptr<Window> owner;
};

TEST_F(DialogsService, RecordsEachRequestAndAnswersInOrder)
{
    dialogs.answerPaths({"/music/a.zip"});
    dialogs.answerButton(kAnswerYes);
    std::vector<std::string> paths;
    ASSERT_TRUE(system.dialogs().chooseFiles(owner.get(), openRequest(), paths));
    EXPECT_EQ(paths, std::vector<std::string>{"/music/a.zip"});
    EXPECT_EQ(system.dialogs().messageBox(owner.get(), "Delete?", "Quorbel", kBoxYesNo), kAnswerYes);

    ASSERT_EQ(dialogs.requests().size(), 2u);
    const HeadlessDialogs::Request& files = dialogs.requests()[0];
    EXPECT_EQ(files.kind, HeadlessDialogs::Kind::Open);
    EXPECT_EQ(files.owner, owner->handle());
    EXPECT_EQ(files.title, "Load Module");
    EXPECT_EQ(files.startPath, "/music");
    ASSERT_EQ(files.filters.size(), 2u);
    EXPECT_EQ(files.filters[0].name, "Module (.zip)");
    EXPECT_EQ(files.filterIndex, 2);
    const HeadlessDialogs::Request& box = dialogs.requests()[1];
    EXPECT_EQ(box.kind, HeadlessDialogs::Kind::MessageBox);
    EXPECT_EQ(box.title, "Quorbel");
    EXPECT_EQ(box.text, "Delete?");
    EXPECT_EQ(box.style, kBoxYesNo);
}

TEST_F(DialogsService, WithoutAnAnswerEveryDialogCancels)
{
    std::vector<std::string> paths{"stale"};
    EXPECT_FALSE(system.dialogs().chooseFiles(owner.get(), openRequest(), paths));
    EXPECT_TRUE(paths.empty());
    FontChoice font{"Face", -13, 400, false};
    EXPECT_FALSE(system.dialogs().chooseFont(owner.get(), font));
    EXPECT_EQ(font.face, "Face");
    Colour colour = rgb(1, 2, 3);
    EXPECT_FALSE(system.dialogs().chooseColour(nullptr, colour));
    EXPECT_EQ(colour, rgb(1, 2, 3));
    EXPECT_EQ(system.dialogs().messageBox(nullptr, "?", "Quorbel", kBoxYesNo), kAnswerCancel);
    EXPECT_EQ(dialogs.requests().size(), 4u);
}

TEST_F(DialogsService, SaveNamesGetTheDefaultExtensionOnlyWhenTheyHaveNone)
{
    struct Case {
        const char* answer;
        const char* expected;
    };
    const Case cases[] = {
        {"/music/song", "/music/song.zip"},
        {"/music/song.wav", "/music/song.wav"},
        {"/music.d/song", "/music.d/song.zip"},
        {"/music/.hidden", "/music/.hidden.zip"},
    };
    for (const Case& c : cases) {
        dialogs.answerPaths({c.answer});
        std::vector<std::string> paths;
        ASSERT_TRUE(system.dialogs().chooseFiles(owner.get(), openRequest(FileDialogKind::Save), paths));
        EXPECT_EQ(paths.front(), c.expected) << c.answer;
    }
    // Opening never adds one.
    dialogs.answerPaths({"/music/song"});
    std::vector<std::string> paths;
    ASSERT_TRUE(system.dialogs().chooseFiles(owner.get(), openRequest(), paths));
    EXPECT_EQ(paths.front(), "/music/song");
}

TEST_F(DialogsService, ADialogAskedForWhileAnotherShowsCancelsWithoutTakingAnAnswer)
{
    int nested = -1;
    bool nestedFiles = true;
    HeadlessDialogs::Answer outer;
    outer.paths = {"/music/a.zip"};
    outer.meanwhile = [&] {
        EXPECT_TRUE(system.dialogs().busy());
        nested = system.dialogs().messageBox(owner.get(), "again", "Quorbel", kBoxYesNo);
        std::vector<std::string> paths;
        nestedFiles = system.dialogs().chooseFiles(owner.get(), openRequest(), paths);
    };
    dialogs.answer(outer);
    dialogs.answerButton(kAnswerYes);
    std::vector<std::string> paths;
    ASSERT_TRUE(system.dialogs().chooseFiles(owner.get(), openRequest(), paths));
    EXPECT_EQ(nested, kAnswerCancel);
    EXPECT_FALSE(nestedFiles);
    EXPECT_EQ(dialogs.answersLeft(), 1u);
    EXPECT_EQ(dialogs.requests().size(), 1u);
    EXPECT_FALSE(system.dialogs().busy());
    EXPECT_EQ(system.dialogs().messageBox(owner.get(), "now", "Quorbel", kBoxYesNo), kAnswerYes);
}

// A window whose owner-drawn popup row asks for a dialog while the popup shows.
struct DialogFromPopup : WindowHandler {
    bool handleMessage(Window& window, WindowMessage& message) override
    {
        if (message.kind == MessageKind::MeasureItem) {
            answer = window.system().dialogs().messageBox(&window, "?", "Quorbel", kBoxOk);
            message.item->width = message.item->height = 10;
        }
        return true;
    }
    int32_t answer = -1;
};

TEST_F(DialogsService, ADialogAskedForWhileAPopupShowsCancels)
{
    DialogFromPopup handler;
    owner->setHandler(&handler);
    dialogs.answerButton(kAnswerOk);
    PopupMenu menu;
    menu.rows.push_back({"row", 1, PopupMenu::kOwnerDraw, 0, nullptr});
    system.trackPopup(*owner, menu, {0, 0}, false);
    EXPECT_EQ(handler.answer, kAnswerCancel);
    EXPECT_EQ(dialogs.answersLeft(), 1u);
    owner->setHandler(nullptr);
}

TEST(FontHeights, PointsSurviveTheRoundTrip)
{
    const std::pair<int32_t, int32_t> cases[] = {{10, -13}, {12, -16}, {8, -11}, {9, -12}, {11, -15}, {72, -96}};
    for (const auto& [points, height] : cases) {
        EXPECT_EQ(pointsToHeight(points), height) << points;
        EXPECT_EQ(heightToPoints(height), points) << points;
    }
    for (int32_t points = 1; points < 200; ++points)
        EXPECT_EQ(heightToPoints(pointsToHeight(points)), points);
}

} // namespace
