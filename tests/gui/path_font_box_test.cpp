// The path box's folder chooser and the font box's font chooser, answered by
// the headless dialogs; a link dropped on a page reaches onDrop as its
// target and changes nothing.

#include "pagekit/font_box.h"
#include "pagekit/path_box.h"
#include "page_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

struct FontEditor : FakeEditor {
    void fontChanged(const TesselFontRecord& font) override { fonts.push_back(font); }
    std::vector<TesselFontRecord> fonts;
};

class Boxes : public GuiTest {
protected:
    Boxes()
    {
        frame = new CFrame2(CRect(0, 0, 400, 300), host.get(), &services);
        services.frame = frame;
    }
    ~Boxes() override { frame->forget(); }

    TesselFontRecord font(const char* face, int32_t points, int32_t weight, bool italic)
    {
        TesselFontRecord record{};
        std::strncpy(record.faceName, face, sizeof record.faceName - 1);
        record.height = points;
        record.weight = weight;
        record.italic = italic;
        return record;
    }

    FontEditor services;
    CFrame2* frame = nullptr;
    platform::HeadlessDialogs& dialogs = system.scriptedDialogs();
};

TEST_F(Boxes, APathBoxTakesTheChosenFolderWithASlash)
{
    TesselPathBox box(CRect(0, 0, 100, 11), 260, "/music/", &services);
    dialogs.answerPaths({"/music/samples"});
    EXPECT_EQ(box.chooseFolder(), "/music/samples/");
    EXPECT_EQ(box.getCaret(), 15);
    const auto& asked = dialogs.requests().back();
    EXPECT_EQ(asked.kind, platform::HeadlessDialogs::Kind::Folder);
    EXPECT_EQ(asked.title, "Select a directory...");
    EXPECT_EQ(asked.startPath, "/music/");
    EXPECT_EQ(asked.owner, frame->getWindow()->handle());

    // While another popup is up nothing is asked.
    services.popup = true;
    dialogs.answerPaths({"/elsewhere"});
    EXPECT_EQ(box.chooseFolder(), "/music/samples/");
    EXPECT_EQ(dialogs.requests().size(), 1u);
    services.popup = false;
    EXPECT_EQ(box.chooseFolder(), "/elsewhere/");
    EXPECT_EQ(services.popupsBegun, 2);

    // Cancelled, or a folder longer than the box holds: the text stays.
    EXPECT_EQ(box.chooseFolder(), "/elsewhere/");
    TesselPathBox small(CRect(0, 0, 100, 11), 8, "/a/", &services);
    dialogs.answerPaths({"/music/samples"});
    EXPECT_EQ(small.chooseFolder(), "/a/");
}

TEST_F(Boxes, APathBoxsKeysAndClicks)
{
    TesselPathBox box(CRect(0, 0, 100, 11), 260, "/m/", &services);
    box.buttonShown = true;
    // Without the editable-path flag, Enter and any click choose.
    dialogs.answerPaths({"/one"});
    EXPECT_NE(box.onKey(namedKey(kVkEnter)), nullptr);
    EXPECT_EQ(box.name, "/one/");
    dialogs.answerPaths({"/two"});
    box.onMouse(1, CPoint(5, 5));
    EXPECT_EQ(box.name, "/two/");
    EXPECT_EQ(dialogs.requests().size(), 2u);

    // With it, keys edit and only the drawn button chooses.
    box.editablePath = true;
    TesselKeyEvent x = charKey('x');
    x.printable = 'x';
    EXPECT_EQ(box.onKey(x), nullptr);
    EXPECT_EQ(box.name, "/two/x");
    EXPECT_NE(box.onKey(namedKey(kVkEnter)), nullptr);
    box.onMouse(1, CPoint(94, 5));   // inside the text, left of the button
    EXPECT_EQ(dialogs.requests().size(), 2u);
    const CRect button = box.buttonRect();
    EXPECT_EQ(button.left, 96);
    EXPECT_TRUE(box.hitTest(CPoint(button.right - 1, 5)));
    EXPECT_FALSE(box.hitTest(CPoint(button.right + 1, 5)));
    dialogs.answerPaths({"/three/"});
    box.onMouse(1, CPoint(button.left + 3, 5));
    EXPECT_EQ(box.name, "/three/");
}

TEST_F(Boxes, AFontBoxReadsFaceSizeAndStyle)
{
    const std::pair<TesselFontRecord, const char*> cases[] = {
        {font("Face", 12, 700, true), "Face, 12, Bold Italic"},
        {font("Face", 9, 400, false), "Face, 9, Regular"},
        {font("Mono Sans", 10, 401, false), "Mono Sans, 10, Bold"},
        {font("F", 8, 300, true), "F, 8, Italic"},
    };
    for (const auto& [record, text] : cases)
        EXPECT_EQ(TesselFontBox::describe(record), text);
    TesselFontBox box(CRect(0, 0, 200, 11), &services);
    EXPECT_EQ(box.name, "not initialised");
    box.setFont(cases[0].first);
    EXPECT_EQ(box.name, "Face, 12, Bold Italic");
}

TEST_F(Boxes, OkOnAnUnchangedFontKeepsItsSize)
{
    TesselFontBox box(CRect(0, 0, 200, 11), &services);
    box.setFont(font("Quorbel", 10, 400, false));
    // The chooser hands back what it was given.
    platform::HeadlessDialogs::Answer same;
    same.font = {"Quorbel", platform::pointsToHeight(10), 400, false};
    dialogs.answer(same);
    EXPECT_EQ(box.chooseFont().height, 10);
    EXPECT_EQ(dialogs.requests().back().font.height, -13);
    ASSERT_EQ(services.fonts.size(), 1u);

    dialogs.answerFont({"DejaVu Sans", platform::pointsToHeight(12), 700, true});
    box.onKey(namedKey(kVkEnter));
    EXPECT_EQ(box.name, "DejaVu Sans, 12, Bold Italic");
    EXPECT_EQ(services.fonts.back().weight, 700);

    // Cancelled: the record stays and the editor hears nothing.
    box.onMouse(1, CPoint(3, 3));
    EXPECT_EQ(box.getFont().height, 12);
    EXPECT_EQ(services.fonts.size(), 2u);
}

TEST_F(Boxes, ADroppedLinkReachesThePageAsItsTargetAndChangesNothing)
{
    struct DropPage : TestPage {
        using TestPage::TestPage;
        bool onDrop(void** items, int32_t count, int32_t type, CPoint& where) override
        {
            for (int32_t i = 0; i < count && type == 0; ++i)
                names.emplace_back(static_cast<const char*>(items[i]));
            return TestPage::onDrop(items, count, type, where);
        }
        std::vector<std::string> names;
    };
    auto* page = new DropPage(CRect(0, 0, 400, 300), &services);
    frame->addView(page);
    const std::string folder = ::testing::TempDir() + "qb-page-drop-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/song.zip") << "x";
    std::filesystem::remove(folder + "/link.zip");
    std::filesystem::create_symlink("song.zip", folder + "/link.zip");
    platform::DragMessage drag;
    drag.offersFiles = true;
    drag.files = {folder + "/link.zip"};
    EXPECT_EQ(system.drop(*frame->getWindow(), {20, 20}, drag), platform::DropEffect::Move);
    EXPECT_EQ(page->names, std::vector<std::string>{std::filesystem::canonical(folder + "/song.zip").string()});
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.zip"));
    EXPECT_EQ(page->draws, 0);
    std::filesystem::remove_all(folder);
}

} // namespace
