// The screenshot's road on a real X display, at the depths a desktop or a
// remote session gives: the captured screen becomes a 24-bit image, is
// reduced to the fixed palette and saved as GIF.
#include "image_test_support.h"

#include "image/cx_image.h"
#include "support/x11_painted_screen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace imagetest;

namespace {

class X11ScreenshotRoad : public ::testing::TestWithParam<int> {};

TEST_P(X11ScreenshotRoad, CaptureReduceAndSaveAsGif)
{
    using Screen = X11PaintedScreen;
    Screen display(GetParam());
    ASSERT_EQ(display.problem(), "");
    const platform::Image screen = display.windows->captureScreen();
    const std::string folder = scratchFolder();
    EXPECT_TRUE(screen.writePng(folder + "/screen.png")) << "for a person to look at";

    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(&screen)) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 24);
    ASSERT_EQ(image.GetWidth(), Screen::kWidth);
    ASSERT_EQ(image.GetHeight(), Screen::kHeight);
    int wrong = 0;
    for (int y = 0; y < Screen::kSide; y++)
        for (int x = 0; x < Screen::kSide; x++) {
            const uint32_t c = Screen::colourAt(x, y);
            wrong += image.PixelColorAt(Screen::kLeft + x, Screen::kHeight - 1 - (Screen::kTop + y), false)
                  != CxColor::rgb(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
        }
    EXPECT_EQ(wrong, 0) << "the host's window, rows bottom-up";

    ASSERT_TRUE(image.DecreaseBpp(8, false, nullptr, 0));
    const std::string path = folder + "/Quorbel.gif";
    ASSERT_TRUE(image.Save(path.c_str(), kCxFormatGif));
    const GifReading gif = readScreenGif(path, screen);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.images[0].indices[size_t(Screen::kTop) * Screen::kWidth + Screen::kLeft], 249)
        << "the window's red corner";
}

INSTANTIATE_TEST_SUITE_P(Depths, X11ScreenshotRoad, ::testing::Values(24, 16),
                         [](const auto& info) { return "Depth" + std::to_string(info.param); });

TEST(X11ScreenshotRoadFailure, UnreadableScreenLeavesAnEmptyImage)
{
    // A palette screen cannot be read as colours: the capture is empty, and
    // the road stops at the bitmap with nothing left behind.
    X11PaintedScreen display(8);
    ASSERT_EQ(display.problem(), "");
    const platform::Image screen = display.windows->captureScreen();
    EXPECT_TRUE(screen.empty());

    CxImage image;
    fill24(image, 4, 4, [](int, int) { return CxColor::rgb(1, 2, 3); });
    EXPECT_FALSE(image.CreateFromHBITMAP(&screen));
    EXPECT_STREQ(image.GetLastError(), "GetDIBits failed");
    EXPECT_FALSE(image.HasPixels()) << "no pixels of before, none undefined";
    EXPECT_FALSE(image.DecreaseBpp(8, false, nullptr, 0));
    const std::string path = scratchFolder() + "/Quorbel.gif";
    EXPECT_FALSE(image.Save(path.c_str(), kCxFormatGif));
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
