// Our own dialogs on the headless backend, driven by keys queued before they
// open (they take the focus): typed paths are checked as the system's
// dialogs would, the font chooser lists the catalog's families, and the
// window shows what it asks.

#include "dialog_test_support.h"
#include "platform/dialogs/desktop_dialogs.h"
#include "platform/dialogs/dialog_window.h"
#include "platform/dialogs/own_dialogs.h"
#include "platform/graphics/font_catalog.h"
#include "platform/system/folders.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class OwnDialogs : public ::testing::Test {
protected:
    OwnDialogs()
    {
        WindowOptions options;
        options.kind = WindowOptions::Kind::TopLevel;
        options.rect = {100, 100, 700, 500};
        owner = system.createWindow(options);
        writeFile(folder / "song.zip", "x");
    }

    void clearEntry() { system.pressKey(kWinEnd), backspaces(300); }
    void backspaces(int n)
    {
        for (int i = 0; i < n; ++i)
            system.pressKey(kWinBack);
    }

    ScratchFolder folder;
    HeadlessWindowSystem system;
    std::unique_ptr<Window> owner;
};

TEST_F(OwnDialogs, ARelativeNameOpensFromTheStartFolder)
{
    FileDialogRequest request;
    request.startPath = folder.path();
    request.filters = {{"Module (.zip)", {"zip"}}};
    clearEntry();
    typeText(system, "song.zip");
    system.pressKey(kWinReturn);
    std::vector<std::string> paths;
    ASSERT_TRUE(ownFileDialog(system, owner.get(), request, paths));
    EXPECT_EQ(paths, std::vector<std::string>{folder / "song.zip"});
}

TEST_F(OwnDialogs, AMissingFileKeepsTheDialogOpenUntilCancelled)
{
    FileDialogRequest request;
    request.startPath = folder.path();
    typeText(system, "nothing.zip");
    system.pressKey(kWinReturn);
    system.pressKey(kWinEscape);
    std::vector<std::string> paths;
    EXPECT_FALSE(ownFileDialog(system, owner.get(), request, paths));
}

TEST_F(OwnDialogs, FoldersAndSaveNamesAreChecked)
{
    std::filesystem::create_directory(folder / "sub");
    FileDialogRequest pick;
    pick.kind = FileDialogKind::Folder;
    pick.startPath = folder.path();
    typeText(system, "sub/");
    system.pressKey(kWinReturn);
    std::vector<std::string> paths;
    ASSERT_TRUE(ownFileDialog(system, owner.get(), pick, paths));
    EXPECT_EQ(paths.front(), folder / "sub");

    FileDialogRequest save;
    save.kind = FileDialogKind::Save;
    save.startPath = folder.path();
    typeText(system, "none/x");   // no such folder: refused
    system.pressKey(kWinReturn);
    backspaces(6);
    typeText(system, "new");
    system.pressKey(kWinReturn);
    ASSERT_TRUE(ownFileDialog(system, owner.get(), save, paths));
    EXPECT_EQ(paths.front(), folder / "new");
}

TEST_F(OwnDialogs, TheDesktopFallsBackToThemWithoutDialogPrograms)
{
    PathOverride path(folder.path());
    DesktopDialogs desktop(system);
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.startPath = folder.path();
    request.defaultExtension = "zip";
    typeText(system, "tune");
    system.pressKey(kWinReturn);
    std::vector<std::string> paths;
    ASSERT_TRUE(desktop.chooseFiles(owner.get(), request, paths));
    EXPECT_EQ(paths.front(), folder / "tune.zip");

    system.pressKey(kWinTab);   // to No
    system.pressKey(kWinReturn);
    EXPECT_EQ(desktop.messageBox(owner.get(), "Sure?", "Quorbel", kBoxYesNo), kAnswerNo);
    system.pressKey(kWinEscape);
    EXPECT_EQ(desktop.messageBox(owner.get(), "Sure?", "Quorbel", kBoxYesNoCancel), kAnswerCancel);

    clearEntry();
    typeText(system, "#10203f");
    system.pressKey(kWinReturn);
    Colour colour = rgb(0, 0, 0);
    ASSERT_TRUE(desktop.chooseColour(owner.get(), colour));
    EXPECT_EQ(colour, rgb(0x10, 0x20, 0x3f));
}

TEST_F(OwnDialogs, TheFontChooserListsTheCatalogsFamilies)
{
    const std::vector<std::string> families = FontCatalog::process().families();
    ASSERT_GE(families.size(), 2u);
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end(), [](std::string a, std::string b) {
        for (auto* s : {&a, &b})
            for (char& c : *s)
                c = char(std::tolower(static_cast<unsigned char>(c)));
        return a < b;
    }));

    FontChoice font{families[0], pointsToHeight(10), 700, false};
    system.pressKey(kWinDown);   // the next family
    system.pressKey(kWinTab);    // the size
    backspaces(2);
    typeText(system, "12");
    system.pressKey(kWinTab);    // Bold: stays on
    system.pressKey(kWinTab);    // Italic
    system.pressKey(kWinSpace);
    system.pressKey(kWinReturn);
    ASSERT_TRUE(ownFontDialog(system, owner.get(), font));
    EXPECT_EQ(font.face, families[1]);
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(font.weight, 700);
    EXPECT_TRUE(font.italic);

    system.pressKey(kWinTab);
    backspaces(2);
    system.pressKey(kWinReturn);   // no size: refused
    system.pressKey(kWinEscape);
    EXPECT_FALSE(ownFontDialog(system, owner.get(), font));
    EXPECT_EQ(font.height, -16);
}

TEST_F(OwnDialogs, TheWindowShowsItsWidgets)
{
    DialogWindow dialog(system, owner.get(), "Font", 300, 140);
    dialog.addLabel(rectOfSize(10, 8, 200, 18), "Font:");
    const size_t list = dialog.addList(rectOfSize(10, 28, 150, 70), {"Alpha", "Beta", "Gamma"}, 1);
    dialog.addEntry(rectOfSize(170, 28, 60, 22), "12");
    dialog.addToggle(rectOfSize(170, 56, 100, 18), "Bold", true);
    dialog.addButton(rectOfSize(210, 106, 75, 24), "OK", 1);
    dialog.focus(list);
    ASSERT_TRUE(dialog.open());
    system.pumpModal(dialog.window());
    Image& image = dialog.window()->image();
    // For a person to look at.
    ASSERT_TRUE(makeFolders("screenshots"));
    EXPECT_TRUE(image.writePng("screenshots/own_dialog.png"));
    // The selected row is highlighted, other rows white; the toggle's box is filled.
    const int32_t rowY = 28 + 2 + 16 + 8;
    EXPECT_EQ(image.pixelAt(100, rowY), rgb(10, 36, 106));
    EXPECT_EQ(image.pixelAt(100, 28 + 2 + 8), rgb(255, 255, 255));
    EXPECT_EQ(image.pixelAt(176, 65), rgb(0, 0, 0));
    // A click on a row selects it.
    system.click(*dialog.window(), {50, 28 + 2 + 2 * 16 + 4});
    system.pumpModal(dialog.window());
    EXPECT_EQ(dialog.selected(list), 2);
    EXPECT_EQ(dialog.result(), DialogWindow::kRunning);
    system.click(*dialog.window(), {240, 115});
    system.pumpModal(dialog.window());
    EXPECT_EQ(dialog.result(), 1);
}

} // namespace
