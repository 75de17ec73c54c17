#include "gui/bitmap.h"
#include "gui/file_selector.h"
#include "gui/frame.h"
#include "gui/tessel_ui.h"

#include <gtest/gtest.h>

#include <memory>

// Until the toolkit exists its objects take nothing, so the host keeps every
// key and the engine sees no current instrument or pattern.
TEST(ToolkitStandIns, TakeNothingAndOwnNothing)
{
    CFrame frame;
    VstKeyCode key{'a', 0, 0};
    EXPECT_EQ(frame.onKeyDown(key), -1);
    EXPECT_EQ(frame.onKeyUp(key), -1);
    EXPECT_FALSE(frame.onWheel(nullptr, CPoint{}, 1.0f));
    frame.idle();
    frame.draw();

    std::unique_ptr<CBitmap> font = std::make_unique<TesselFont>();
    std::unique_ptr<COffscreenContext> offscreen = std::make_unique<COffscreenContext>();
    EXPECT_EQ(CFileSelector().run(), 0);

    TesselUI ui;
    EXPECT_EQ(ui.getCurrentInstrument(), 0);
    EXPECT_EQ(ui.getCurrentPattern(), -1);
}
