// Help on a real X server: the help panel, the key reference popup paged by
// XTest keys and closed by a click outside it, and the viewer opened from the
// panel; a screenshot of each.

#include "x11_editor_fixture.h"

#include "common/help_popup.h"
#include "common/help_viewer.h"
#include "editor/help/help_page.h"
#include "resources/resource_ids.h"

namespace {

TEST_F(EditorOnX, HelpPanelKeyReferencePopupAndViewer)
{
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);

    // Ctrl+F1: the panel slides up over the bottom of the window.
    auto* panel = dynamic_cast<TesselHelpUI*>(editor->pages().help);
    ASSERT_NE(panel, nullptr);
    key(XK_Control_L, true);
    tap(XK_F1);
    key(XK_Control_L, false);
    ASSERT_TRUE(idleUntil([&] { return panel->isShown() && !panel->isAnimating(); }));
    idlePasses(3);
    ASSERT_TRUE(writeShot(editorXid, "help_panel_x11.png"));
    CRect at;
    panel->getViewSize(at);
    EXPECT_EQ(at.bottom, 499 - 15);
    int amber = 0;   // the panel's "HELP"
    for (int32_t py = at.top + 8; py < at.top + 26; ++py)
        for (int32_t px = at.left + 10; px < at.left + 70; ++px) {
            const platform::Colour c = lastShot.pixelAt(px, py);
            amber += c.red > 180 && c.red > c.blue + 60;
        }
    EXPECT_GT(amber, 60);

    // Shift+F1: the key reference beside the window's top-left; Right pages it.
    key(XK_Shift_L, true);
    tap(XK_F1);
    key(XK_Shift_L, false);
    ASSERT_TRUE(idleUntil([&] {
        const help::CHelpPopup* popup = editor->helpPopup();
        return popup && popup->isOpen() && popup->window()->isVisible();
    }));
    idlePasses(3);
    const auto popupXid = static_cast<::Window>(editor->helpPopup()->window()->handle());
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, popupXid, DefaultRootWindow(host), 0, 0, &x, &y, &child);
    const platform::Point origin = editor->editorWindow()->screenOrigin();
    EXPECT_EQ(x, origin.x + 10);
    EXPECT_EQ(y, origin.y + 37);
    ASSERT_TRUE(writeShot(popupXid, "help_popup_x11.png"));
    EXPECT_GT(lastShot.width(), 400);
    tap(XK_Right);
    ASSERT_TRUE(idleUntil([&] { return editor->helpPopup() && editor->helpPopup()->page() == "Keys_PE_2.htm"; }));
    EXPECT_TRUE(editor->popupActive());
    // A click on the editor window outside it closes it.
    ASSERT_LT(x + lastShot.width(), origin.x + 650);
    XTestFakeMotionEvent(host, -1, origin.x + 650, origin.y + 200, CurrentTime);
    XTestFakeButtonEvent(host, 1, True, CurrentTime);
    XTestFakeButtonEvent(host, 1, False, CurrentTime);
    XFlush(host);
    ASSERT_TRUE(idleUntil([&] { return editor->helpPopup() == nullptr; }));
    EXPECT_FALSE(editor->popupActive());

    // The panel's "Getting started" button: the viewer at that page.
    const resources::SkinPlace& button = resources::kHelpPanelButtons[2];
    XTestFakeMotionEvent(host, -1, origin.x + at.left + (button.left + button.right) / 2,
                         origin.y + at.top + (button.top + button.bottom) / 2, CurrentTime);
    XTestFakeButtonEvent(host, 1, True, CurrentTime);
    XTestFakeButtonEvent(host, 1, False, CurrentTime);
    XFlush(host);
    ASSERT_TRUE(idleUntil([&] { return editor->helpViewer() && editor->helpViewer()->isOpen(); }));
    EXPECT_EQ(editor->helpViewer()->page(), "GettingStarted.htm");
    idlePasses(5);
    ASSERT_TRUE(writeShot(static_cast<::Window>(editor->helpViewer()->window()->handle()), "help_viewer_x11.png"));
    dispatch(effEditClose);
    XSync(host, False);
    EXPECT_TRUE(topLevelsNamed("Quorbel Help").empty());
}

} // namespace
