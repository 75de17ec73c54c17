#pragma once
// Page 8 and its sub-pages through the plug-in's editor on headless windows:
// a settings folder of the test's own, the page reached with F12, clicks at
// frame points, the fake clock moved in the 50 ms steps of the capture timer.

#include "editor/preferences/preferences_page.h"
#include "editor_fixture.h"
#include "shell/command_scheme.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

class PreferencesTest : public EditorTest {
protected:
    // Page 8 at the side pages' origin, its sub-pages 45, 32 further in.
    static constexpr platform::Point kPage{9, 43};
    static constexpr platform::Point kSubPage{54, 75};

    void SetUp() override
    {
        const char* home = std::getenv("XDG_CONFIG_HOME");
        savedHome = home ? home : "";
        scratch = std::filesystem::temp_directory_path()
                / ("qb-preferences-" + std::to_string(::getpid()) + "-"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(scratch);
        std::filesystem::create_directories(scratch / "config");
        setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        EditorTest::SetUp();
    }
    void TearDown() override
    {
        EditorTest::TearDown();
        defaultScheme().resetToDefaults();
        defaultScheme().rebuildKeyList();
        setenv("XDG_CONFIG_HOME", savedHome.c_str(), 1);
        std::filesystem::remove_all(scratch);
    }

    TesselSongVariablesUI& page() { return *dynamic_cast<TesselSongVariablesUI*>(editor->pages().preferences); }
    TesselKeyboardUI& keyboard() { return page().keyboardPage(); }

    // The editor open, the splash gone, F12.
    void openPreferences()
    {
        open();
        dismissSplash();
        press(platform::kWinF12);
        ASSERT_EQ(pageNumber(), kPreferencesPage);
    }
    // A left click at a point of page 8, or of a sub-page.
    void clickPage(int32_t x, int32_t y) { clickFrame(kPage.x + x, kPage.y + y); }
    void clickSubPage(int32_t x, int32_t y) { clickFrame(kSubPage.x + x, kSubPage.y + y); }
    void clickFrame(int32_t x, int32_t y)
    {
        windows.click(*editor->frame2()->getWindow(), {x, y});
        idle();
    }
    // Page 8 by F12, then its keyboard button.
    void openKeyboard()
    {
        openPreferences();
        clickPage(120, 30);
        ASSERT_TRUE(keyboard().isShown());
    }
    // The fake clock `ms` further on, an idle every 50 ms.
    void runClock(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += TesselKeyboardUI::kTickMs) {
            windows.advance(TesselKeyboardUI::kTickMs);
            idle();
        }
    }
    // What the editor window shows at a frame point once the last change is
    // drawn: an idle draws before it pumps the input.
    platform::Colour pixel(int32_t x, int32_t y)
    {
        idle();
        return editor->frame2()->getWindow()->image().pixelAt(x, y);
    }

    static std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The default scheme as a scheme file writes it.
    std::string schemeText()
    {
        const std::filesystem::path path = scratch / "scheme-now.xml";
        EXPECT_TRUE(defaultScheme().writeFile(path.string()));
        return readFile(path);
    }

    std::filesystem::path scratch;
    std::string savedHome;
};
