// Page 8 and its sub-pages on a real X server, for a person to look at: keys
// come through the host's key calls and the editor window's pixels are read
// back from the server into PNGs.

#include "editor/preferences/preferences_page.h"
#include "x11_editor_fixture.h"

namespace {

// VST 2 virtual keys.
constexpr int kTab = 2;
constexpr int kRight = 13;
constexpr int kDown = 14;
constexpr int kEnter = 19;
constexpr int kF12 = 51;

class PreferencesOnX : public EditorOnX {
protected:
    void SetUp() override
    {
        EditorOnX::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(makeHostWindow())), 1);
        ASSERT_TRUE(idleUntil([&] { return editor->editorWindow() && !editor->splash()->isAnimating(); }));
        key(0, kRight);   // the first key fades the splash out
        ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));
    }

    // A key through the host's key calls: character, VST virtual key, modifiers.
    void key(int character, int virtualKey, int modifiers = 0)
    {
        AEffect* effect = plugin->getAeffect();
        effect->dispatcher(effect, effEditKeyDown, character, virtualKey, nullptr, static_cast<float>(modifiers));
        effect->dispatcher(effect, effEditKeyUp, character, virtualKey, nullptr, static_cast<float>(modifiers));
        idlePasses(4);
    }
    TesselSongVariablesUI& page() { return *dynamic_cast<TesselSongVariablesUI*>(editor->pages().preferences); }
    // The editor window as the server shows it, kept as a PNG.
    const platform::Image& shot(const std::string& name)
    {
        EXPECT_TRUE(writeShot(static_cast<::Window>(editor->editorWindow()->handle()), name));
        return lastShot;
    }
};

TEST_F(PreferencesOnX, TheKeyboardPageWithAnOpenTreeCapturesAKey)
{
    key(0, kF12);
    ASSERT_EQ(currentPageNumber(), kPreferencesPage);
    key(0, kDown);
    key(0, kDown);
    key(0, kEnter);   // the keyboard button
    TesselKeyboardUI& keyboard = page().keyboardPage();
    ASSERT_TRUE(keyboard.isShown());
    // The root, "PatternEditor" and its "Pattern" open; a command of it chosen.
    key(0, kRight);
    key(0, kRight);
    for (int i = 0; i < 5; ++i)
        key(0, kDown);
    key(0, kRight);
    key(0, kRight);
    key(0, kRight);
    for (int i = 0; i < 3; ++i)
        key(0, kDown);
    ASSERT_EQ(keyboard.selectedPath().rfind("PatternEditor.Pattern.", 0), 0u) << keyboard.selectedPath();
    key(0, kEnter);
    key('j', 0, kModCtrl);
    ASSERT_TRUE(keyboard.capturing());
    const platform::Image& image = shot("preferences_keyboard_capture.png");
    ASSERT_FALSE(image.empty());
    // The capture panel's amber frame and its countdown bar.
    EXPECT_GT(image.pixelAt(54 + 270, 75 + 233).red, 200);
    EXPECT_EQ(image.pixelAt(54 + 280, 75 + 257), platform::rgb(60, 96, 140));
}

TEST_F(PreferencesOnX, PageEightAndTheSettingsPageWithItsFontBoxFocused)
{
    key(0, kF12);
    ASSERT_EQ(currentPageNumber(), kPreferencesPage);
    const platform::Image& eight = shot("preferences_page.png");
    ASSERT_FALSE(eight.empty());
    // The slider's fill bar in its colour, from the track's start to the song's 6 of 100.
    EXPECT_EQ(eight.pixelAt(9 + 92 + 30, 43 + 84), eight.pixelAt(9 + 92 + 32, 43 + 84));
    EXPECT_NE(eight.pixelAt(9 + 92 + 30, 43 + 84), eight.pixelAt(9 + 92 + 150, 43 + 84));

    key(0, kTab);
    key(0, kEnter);   // the settings button
    TesselSettingsUI& settings = page().settingsPage();
    ASSERT_TRUE(settings.isShown());
    key(0, kTab);
    ASSERT_EQ(settings.focusIndex(), TesselSettingsUI::kFace);
    const platform::Image& image = shot("preferences_settings_font.png");
    ASSERT_FALSE(image.empty());
    // The font box's block caret on its first character, in the box's colour.
    const CColor block = settings.fontBox().getColour();
    EXPECT_EQ(image.pixelAt(54 + 93 + 2, 75 + 69 + 2), platform::rgb(block.red, block.green, block.blue));
    EXPECT_NE(image.pixelAt(54 + 93 + 2, 75 + 80 + 2), platform::rgb(block.red, block.green, block.blue));
}

} // namespace
