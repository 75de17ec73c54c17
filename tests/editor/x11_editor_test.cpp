// The editor on a real X server: its window over the host's, XTest keys,
// the hot keys the host cannot take, keys sent on to the host's window.

#include "x11_editor_fixture.h"

#include <algorithm>

namespace {

TEST_F(EditorOnX, TheEditorOpensOverTheHostsWindowAndTakesXTestKeys)
{
    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));

    // The toolbar frame is a child of the host's window.
    const auto toolbarXid = static_cast<::Window>(editor->toolbarFrame()->getWindow()->handle());
    const std::vector<::Window> hostChildren = childrenOf(hostWindow);
    EXPECT_NE(std::find(hostChildren.begin(), hostChildren.end(), toolbarXid), hostChildren.end());
    // "Quorbel Window" stands 10 pixels below it, transient for it.
    const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
    XWindowAttributes attributes{};
    XGetWindowAttributes(host, editorXid, &attributes);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(host, editorXid, DefaultRootWindow(host), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, kHostX);
    EXPECT_EQ(y, kHostY + 36 + 10);
    EXPECT_EQ(attributes.width, 723);
    EXPECT_EQ(attributes.height, 499);
    ::Window owner = 0;
    ASSERT_TRUE(XGetTransientForHint(host, editorXid, &owner));
    EXPECT_EQ(owner, hostWindow);
    EXPECT_FALSE(hostCanGrab(XK_t, ControlMask | Mod1Mask));   // our hot key holds it

    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    idlePasses(5);   // every page drawn
    ASSERT_TRUE(writeShot(editorXid, "editor_open.png"));
    // The splash's logo stands over the pattern editor: amber letters near the middle.
    int amber = 0;
    for (int32_t py = 200; py < 300; ++py)
        for (int32_t px = 200; px < 520; ++px) {
            const platform::Colour c = lastShot.pixelAt(px, py);
            amber += c.red > 200 && c.green > 150 && c.blue < 160;
        }
    EXPECT_GT(amber, 500);

    // Keys: the focus comes with a click, the first key fades the splash out.
    editor->frame2()->getWindow()->takeFocus();
    tap(XK_Shift_L);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));
    tap(XK_F3);
    ASSERT_TRUE(idleUntil([&] { return currentPageNumber() == kSampleListPage; }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "editor_sample_list.png"));
    // The sample list's panel at (9, 43): its title strip where the pattern editor was.
    EXPECT_NE(lastShot.pixelAt(20, 50), lastShot.pixelAt(5, 50));
    // The toolbar fills the host's window.
    ASSERT_TRUE(writeShot(hostWindow, "editor_toolbar.png"));
    EXPECT_NE(lastShot.pixelAt(300, 10), platform::rgb(0x30, 0x30, 0x30));

    // Shift+F5 goes on to the host's window, as a key of its own.
    key(XK_Shift_L, true);
    tap(XK_F5);
    key(XK_Shift_L, false);
    bool hostGotF5 = false;
    idleUntil([&] {
        while (XPending(host)) {
            XEvent event;
            XNextEvent(host, &event);
            if (event.type == KeyPress && event.xkey.send_event && (event.xkey.state & ShiftMask)
                && XLookupKeysym(&event.xkey, 0) == XK_F5)
                hostGotF5 = true;
        }
        return hostGotF5;
    });
    EXPECT_TRUE(hostGotF5);
    EXPECT_EQ(currentPageNumber(), kSampleListPage);

    // effEditClose: both windows and the grabs go.
    dispatch(effEditClose);
    XSync(host, False);
    EXPECT_TRUE(childrenOf(hostWindow).empty());
    EXPECT_TRUE(topLevelsNamed("Quorbel Window").empty());
    EXPECT_TRUE(hostCanGrab(XK_t, ControlMask | Mod1Mask));
    EXPECT_TRUE(hostCanGrab(XK_F2, ControlMask | Mod1Mask));
}

} // namespace
