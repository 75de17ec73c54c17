// The order list and info pages on a real X server with the demo song, the
// song playing for the info page: screenshots for a person to look at, and
// a few pixels that say the pages are there.

#include "editor/info/info_page.h"
#include "editor/order_list/order_list_page.h"
#include "engine/engine.h"
#include "support/demo_song.h"
#include "x11_editor_fixture.h"

#include <vector>

namespace {

using PagesOnX = EditorOnX;

TEST_F(PagesOnX, TheOrderListAndInfoPagesWithTheDemoSong)
{
    startSong();   // before the pages are made, as a song loaded with the host's project
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);

    tap(XK_F11);
    ASSERT_TRUE(idleUntil([&] { return currentPageNumber() == kOrderListPage; }));
    tap(XK_Down);
    tap(XK_Tab);
    idlePasses(5);
    ASSERT_TRUE(writeShot(editorXid, "order_list_page.png"));
    // Pattern 2's cell at order 3 ("002") and channel 1's swatch in its colour.
    const int32_t left = TesselEditor::kSidePageLeft;
    const int32_t top = TesselEditor::kSidePageTop;
    const platform::Colour swatch = lastShot.pixelAt(left + TesselOrderListUI::kSwatchX + 6,
                                                     top + TesselOrderListUI::kFirstRowY + 3);
    EXPECT_GT(swatch.red, swatch.blue);   // "Lead" is COLORREF 0x3050E0: red
    int ink = 0;
    for (int x = 0; x < 18; ++x)
        for (int y = 0; y < 8; ++y)
            ink += lastShot.pixelAt(left + TesselOrderListUI::kCellX + x, top + TesselOrderListUI::kFirstRowY + 24 + y)
                       .red > 150;
    EXPECT_GT(ink, 10);

    editor->playSong(0, 0);
    tap(XK_F5);
    ASSERT_TRUE(idleUntil([&] { return currentPageNumber() == kInfoPage; }));
    for (int i = 0; i < 12; ++i) {
        render(4);
        idlePasses(1);
    }
    ASSERT_TRUE(writeShot(editorXid, "info_page.png"));
    auto* info = dynamic_cast<TesselInfoPageUI*>(editor->pages().info);
    ASSERT_NE(info, nullptr);
    EXPECT_GT(info->display().meterWidth(0), 1);
    const platform::Colour meter = lastShot.pixelAt(left + TesselInfoDisplay::kMeterX + 1,
                                                    top + TesselInfoDisplay::kFirstRowY + 3);
    EXPECT_GT(meter.green, 100);
    dispatch(effEditClose);
}

} // namespace
