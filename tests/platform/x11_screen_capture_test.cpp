// The X11 screen read back: a host's window of known colours, at the depths
// a desktop or a remote session gives, comes back exactly at its place.
#include "platform/graphics/image.h"
#include "support/x11_painted_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class X11ScreenCapture : public ::testing::TestWithParam<int> {};

TEST_P(X11ScreenCapture, HoldsTheHostWindowsPixels)
{
    X11PaintedScreen display(GetParam());
    ASSERT_EQ(display.problem(), "");
    const platform::Image screen = display.windows->captureScreen();
    ASSERT_EQ(screen.width(), X11PaintedScreen::kWidth);
    ASSERT_EQ(screen.height(), X11PaintedScreen::kHeight);
    std::vector<std::string> wrong;
    for (int y = 0; y < X11PaintedScreen::kSide; ++y)
        for (int x = 0; x < X11PaintedScreen::kSide; ++x) {
            const uint32_t seen =
                platform::toPixel(screen.pixelAt(X11PaintedScreen::kLeft + x, X11PaintedScreen::kTop + y))
                & platform::kPixelRgb;
            if (seen != X11PaintedScreen::colourAt(x, y) && wrong.size() < 8) {
                char text[40];
                std::snprintf(text, sizeof text, "%d,%d: %06X not %06X", x, y, unsigned(seen),
                              unsigned(X11PaintedScreen::colourAt(x, y)));
                wrong.push_back(text);
            }
        }
    EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
}

INSTANTIATE_TEST_SUITE_P(Depths, X11ScreenCapture, ::testing::Values(24, 16),
                         [](const auto& info) { return "Depth" + std::to_string(info.param); });

TEST(X11ScreenCaptureFailure, PaletteScreenGivesAnEmptyImage)
{
    // An 8-bit screen's pixels are palette entries, not colours: no masks.
    X11PaintedScreen display(8);
    ASSERT_EQ(display.problem(), "");
    EXPECT_TRUE(display.windows->captureScreen().empty());
}

} // namespace
