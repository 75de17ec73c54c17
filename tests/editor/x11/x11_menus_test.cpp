// The pattern editor's context menu over its options panel on a real X
// server (see x11_editor_fixture.h): the screen is taken while the menu runs.

#include "x11_editor_fixture.h"
#include "patterneditor/pattern_editor_ui.h"

#include <functional>

namespace {

// A host whose idle requests (made while a popup menu holds the thread) run
// a test's step.
struct IdleHost {
    static inline std::function<void()> onIdle;
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt)
    {
        if (opcode == audioMasterIdle && onIdle)
            onIdle();
        return FakeHost::callback(effect, opcode, index, value, ptr, opt);
    }
};

TEST_F(EditorOnX, TheContextMenuOverTheOptionsPanel)
{
    plugin.reset();
    plugin = std::make_unique<TesselPlugin>(IdleHost::callback);
    editor = dynamic_cast<TesselEditor*>(plugin->pluginEditor());
    ASSERT_NE(editor, nullptr);
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);
    TesselPatternEditorUI* page = showDemoPattern();
    ASSERT_NE(page, nullptr);

    tap(XK_F2);
    ASSERT_TRUE(idleUntil([&] { return page->optionsPanel().isShown(); }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "pattern_options_x11.png"));
    const platform::Image panelShown = lastShot.clone();

    // The right button over the grid: the menu's loop runs the host's idle,
    // where the screen is taken and Escape closes the menu.
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, editorXid, DefaultRootWindow(host), 500, 300, &x, &y, &child);
    int idles = 0;
    bool shot = false;
    IdleHost::onIdle = [&] {
        if (++idles == 4) {
            XSync(host, False);
            shot = writeShot(DefaultRootWindow(host), "pattern_context_menu_x11.png");
            tap(XK_Escape);
        }
    };
    XTestFakeMotionEvent(host, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(host, 3, True, CurrentTime);
    XTestFakeButtonEvent(host, 3, False, CurrentTime);
    XFlush(host);
    idleUntil([&] { return shot; });
    IdleHost::onIdle = nullptr;
    ASSERT_TRUE(shot);
    // The menu covers the grid right of and below the click.
    int changed = 0;
    for (int py = 0; py < 120; ++py)
        for (int px = 0; px < 120; ++px) {
            const int ex = 500 + 4 + px;
            const int ey = 300 + 4 + py;
            changed += lastShot.pixelAt(x + 4 + px, y + 4 + py) != panelShown.pixelAt(ex, ey);
        }
    EXPECT_GT(changed, 3000);
    EXPECT_TRUE(page->optionsPanel().isShown());
    dispatch(effEditClose);
}

} // namespace
