// The editor on a real X server (see x11_editor_fixture.h): its windows,
// keys through XTest, hot keys and the screenshots of the first pages.

#include "x11_editor_fixture.h"
#include "patterneditor/grid/grid_colours.h"
#include "patterneditor/overview/overview_map.h"
#include "patterneditor/pattern_editor_ui.h"
#include "editor/instrument_list/instrument_list_page.h"
#include "model/song/module.h"

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

TEST_F(EditorOnX, ThePatternEditorWithADemoSongASelectionAndTheInfoBar)
{
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);

    TesselPatternEditorUI* page = showDemoPattern();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(selectBlockAt(page, 1 * 9, 8));   // four rows in the bass channel
    EXPECT_EQ(page->grid().selection.start.channel, 1);
    page->grid().moveCursorTo(3 * 9 + 6, 14);
    key(XK_Shift_L, true);
    tap(XK_slash);   // '?': the info bar
    key(XK_Shift_L, false);
    ASSERT_TRUE(idleUntil([&] { return page->infoPanel().mostlyShown(); }));
    idlePasses(12);   // the bar slides all the way in
    ASSERT_TRUE(writeShot(editorXid, "pattern_editor_demo.png"));

    const auto count = [this](platform::Colour colour) {
        int n = 0;
        for (int y = 0; y < lastShot.height(); ++y)
            for (int x = 0; x < lastShot.width(); ++x)
                n += lastShot.pixelAt(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(gridColour(kColourSelection)), 500);   // four rows of one channel
    EXPECT_GT(count(gridColour(kColourMajorRow)), 1000);    // the highlighted rows
    EXPECT_GT(count(platform::rgb(255, 200, 96)), 400);     // the info bar's edge
    dispatch(effEditClose);
}

// The instrument page's three faces for a person to look at: the General
// tab with the key map's region area, an envelope tab and the MIDI panel.
TEST_F(EditorOnX, TheInstrumentPageShowsItsRegionsEnvelopesAndMidiPanel)
{
    TesselModule& song = plugin->getEngine().song;
    TesselInstrument& piano = song.instruments[0];
    piano.setName("Layered Piano");
    for (int key = 0; key < 24; ++key) {
        piano.keymap.getRow(key).instrument = 0;
        piano.keymap.regionsOf(key).insert({0, 31, 1});
        piano.keymap.regionsOf(key).insert({32, 64, static_cast<int16_t>(2 + key / 12)});
    }
    piano.keymap.regionsOf(5).insert({20, 40, 7});
    TesselEnvelope& volume = piano.volumeEnvelope();
    volume.enabled = 1;
    const int nodes[][2] = {{0, 0}, {8, 64}, {30, 40}, {60, 40}, {90, 0}};
    for (const auto& node : nodes)
        volume.insertNode(node[0], static_cast<uint16_t>(node[1]), 0);
    volume.loop.type = 1;
    volume.loop.setBegin(2);
    volume.loop.setEnd(3);
    song.instruments[1].setName("Bass");

    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));
    const ::Window editorXid = topLevelsNamed("Quorbel Window").front();
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    editor->frame2()->getWindow()->takeFocus();
    tap(XK_Shift_L);
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isShown(); }));
    tap(XK_F4);
    ASSERT_TRUE(idleUntil([&] { return currentPageNumber() == kInstrumentListPage; }));
    auto* page = dynamic_cast<TesselInstrumentListUI*>(editor->pages().instrumentList);
    ASSERT_NE(page, nullptr);

    // Tab to the key map, Right to its last column and once more: the region area.
    tap(XK_Tab);
    for (int i = 0; i < 9; ++i)
        tap(XK_Right);
    tap(XK_Down);
    ASSERT_TRUE(idleUntil([&] { return page->keyMap().inRegionMode(); }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "instrument_general_regions.png"));
    // Region bars fill the area right of x 9 + 397.
    int bars = 0;
    for (int y = 100; y < 300; ++y)
        bars += lastShot.pixelAt(9 + 420, y) != lastShot.pixelAt(9 + 690, y);
    EXPECT_GT(bars, 100);

    tap(XK_F4);
    ASSERT_TRUE(idleUntil([&] { return page->tab() == TesselInstrumentListUI::kVolume; }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "instrument_volume_envelope.png"));
    // The graph's nodes in their colour inside the graph.
    int nodeDots = 0;
    for (int y = 43 + 60; y < 43 + 232; ++y)
        for (int x = 9 + 270; x < 9 + 696; ++x) {
            const platform::Colour c = lastShot.pixelAt(x, y);
            nodeDots += c.red == 158 && c.green == 98 && c.blue == 98;
        }
    EXPECT_GT(nodeDots, 10);

    tap(XK_F4);
    tap(XK_F4);
    // From the graph: Tab to field 2, over the envelope's fields to 10, then 11.
    for (int i = 0; i < 3; ++i)
        tap(XK_Tab);
    tap(XK_Return);
    ASSERT_TRUE(idleUntil([&] { return page->midiPanel().isOpen(); }));
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "instrument_midi_panel.png"));
    // The panel covers the graph's place at (370, 52).
    EXPECT_NE(lastShot.pixelAt(9 + 380, 43 + 100), lastShot.pixelAt(9 + 300, 43 + 100));
    dispatch(effEditClose);
}

TEST_F(EditorOnX, ThePatternOverviewOverADemoPattern)
{
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);

    TesselPatternEditorUI* page = showDemoPattern();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(selectBlockAt(page, 1 * 9, 8));   // four rows in the bass channel
    key(XK_Shift_L, true);
    tap(XK_3);   // '#'
    key(XK_Shift_L, false);
    ASSERT_TRUE(idleUntil([&] { return page->overviewPanel()->isShown(); }));
    idlePasses(3);
    ASSERT_TRUE(writeShot(editorXid, "pattern_overview_demo.png"));

    const auto count = [this](platform::Colour colour) {
        int n = 0;
        for (int y = 0; y < lastShot.height(); ++y)
            for (int x = 0; x < lastShot.width(); ++x)
                n += lastShot.pixelAt(x, y) == colour;
        return n;
    };
    const auto& palette = overviewPalette();
    EXPECT_GT(count(palette[kOverviewNote]), 20);
    EXPECT_GT(count(palette[kOverviewInstrument]), 20);
    EXPECT_GE(count(palette[kOverviewSelectedPlain]) + count(palette[kOverviewSelectedMinor]), 15);
    EXPECT_GT(count(palette[kOverviewFrame]), 100);
    dispatch(effEditClose);
}

} // namespace
