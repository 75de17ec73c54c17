// The screenshot's road through the image object: the headless screen
// becomes a 24-bit image, is previewed (resampled and drawn into a 32-bit
// view) and reduced to the fixed palette and saved as GIF.
#include "image_test_support.h"

#include "gui/draw_context.h"
#include "image/cx_image.h"
#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <memory>

#include <cstring>
#include <random>

using namespace imagetest;

namespace {

CxPixelView viewOf(std::vector<uint32_t>& pixels, int width, int height)
{
    return {reinterpret_cast<uint8_t*>(pixels.data()), width, height, width * 4};
}

CxColor colourOf(uint32_t p)
{
    return CxColor::rgb(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p));
}

} // namespace

TEST(ScreenshotRoad, CaptureReduceAndSaveAsGif)
{
    // A window that looks like a desktop, with a child whose text Cairo may
    // still hold when the screen is read.
    platform::HeadlessWindowSystem system;
    const int left = 40, top = 30, width = 320, height = 200;
    std::vector<uint32_t> content = desktopPixels(width, height);
    content[0] = 0xFF0000; // pure red: entry 249, not 40 (FE0000)
    content[1] = 0x010000; // nearer 000000 than anything else
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.rect = platform::rectOfSize(left, top, width, height);
    const std::unique_ptr<platform::Window> window = system.createWindow(options);
    window->image() = platform::Image::fromPixels(width, height, content.data());
    options.kind = platform::WindowOptions::Kind::Child;
    options.parent = window.get();
    options.rect = platform::rectOfSize(100, 120, 150, 40);
    const std::unique_ptr<platform::Window> label = system.createWindow(options);
    {
        CDrawContext context(nullptr, &label->image(), label.get());
        context.setFillColor(CColor{255, 255, 224, 0});
        context.fillRect(CRect(-1, -1, 150, 40));
        context.setFontColor(CColor{0, 0, 128, 0});
        context.drawString("Quorbel 1.1", CRect(0, 0, 150, 40), true);
    }

    const platform::Image screen = system.captureScreen();
    const std::string folder = scratchFolder();
    EXPECT_TRUE(screen.writePng(folder + "/screen.png")) << "for a person to look at";
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(&screen));
    EXPECT_EQ(image.GetBpp(), 24);
    ASSERT_EQ(image.GetWidth(), screen.width());
    ASSERT_EQ(image.GetHeight(), screen.height());
    EXPECT_EQ(image.PixelColorAt(left, screen.height() - 1 - top, false), CxColor::rgb(255, 0, 0))
        << "rows are bottom-up";
    int text = 0;
    for (int x = 0; x < 150; x++)
        text += image.PixelColorAt(left + 100 + x, screen.height() - 1 - (top + 140), false).blue == 128;
    EXPECT_GT(text, 5) << "the label's text is in the capture";

    ASSERT_TRUE(image.DecreaseBpp(8, false, nullptr, 0));
    const std::string path = folder + "/Quorbel.gif";
    ASSERT_TRUE(image.Save(path.c_str(), kCxFormatGif));

    const GifReading gif = readScreenGif(path, screen);
    ASSERT_TRUE(gif.ok);
    const std::vector<uint8_t>& indices = gif.images[0].indices;
    const size_t corner = size_t(top) * size_t(screen.width()) + left;
    EXPECT_EQ(indices[corner], 249);
    EXPECT_EQ(indices[corner + 1], 0);
}

TEST(ScreenshotRoad, FailedCaptureLeavesAnEmptyImage)
{
    CxImage image;
    std::vector<uint32_t> pixels(16);
    ASSERT_TRUE(image.CreateFromPixels(viewOf(pixels, 4, 4)));
    EXPECT_FALSE(image.CreateFromPixels(CxPixelView{}));
    EXPECT_STREQ(image.GetLastError(), "GetDIBits failed");
    EXPECT_FALSE(image.HasPixels());
    EXPECT_FALSE(image.DecreaseBpp(8, false));
    CxDrawTarget target{viewOf(pixels, 4, 4), {0, 0, 4, 4}};
    EXPECT_EQ(image.Draw(target, 0, 0), 0);

    // A screen that could not be read arrives as an empty platform image.
    const platform::Image unread;
    const platform::Image small(4, 4);
    CxImage captured;
    ASSERT_TRUE(captured.CreateFromHBITMAP(&small));
    EXPECT_FALSE(captured.CreateFromHBITMAP(&unread));
    EXPECT_STREQ(captured.GetLastError(), "GetDIBits failed");
    EXPECT_FALSE(captured.HasPixels());

    // No bitmap at all: false without a text, and the old pixels are gone.
    CxImage none;
    ASSERT_TRUE(none.CreateFromHBITMAP(&small));
    EXPECT_FALSE(none.CreateFromHBITMAP(nullptr));
    EXPECT_STREQ(none.GetLastError(), "");
    EXPECT_FALSE(none.HasPixels());
    const std::string path = scratchFolder() + "/Quorbel.gif";
    EXPECT_FALSE(none.Save(path.c_str(), kCxFormatGif));
    EXPECT_STREQ(none.GetLastError(), "null image!!!");
}

TEST(ScreenshotRoad, ResampleModes)
{
    // A uniform 1920 x 1080 shrunk by the box filter (scale factor 16000)
    // stays exactly that colour, in every mode.
    for (const int mode : {0, 1, 2}) {
        CxImage image;
        fill24(image, 1920, 1080, [](int, int) { return CxColor::rgb(250, 7, 128); });
        CxImage preview;
        ASSERT_TRUE(image.Resample(480, 270, mode, &preview));
        ASSERT_EQ(preview.GetWidth(), 480);
        ASSERT_EQ(preview.GetHeight(), 270);
        int wrong = 0;
        for (int y = 0; y < 270; y++)
            for (int x = 0; x < 480; x++)
                wrong += preview.PixelColorAt(x, y, false) != CxColor::rgb(250, 7, 128);
        EXPECT_EQ(wrong, 0) << "mode " << mode;
    }
    // Box shrink of 2 x 2 blocks averages each block; bilinear growth keeps
    // the corners; nearest copies.
    CxImage checker;
    fill24(checker, 8, 6, [](int x, int y) { return (x + y) % 2 ? CxColor::rgb(200, 100, 0) : CxColor::rgb(0, 100, 200); });
    CxImage half;
    ASSERT_TRUE(checker.Resample(4, 3, 0, &half));
    EXPECT_EQ(half.PixelColorAt(2, 1, false), CxColor::rgb(100, 100, 100));
    CxImage grown;
    ASSERT_TRUE(checker.Resample(16, 12, 0, &grown));
    EXPECT_EQ(grown.PixelColorAt(0, 0, false), checker.PixelColorAt(0, 0, false));
    ASSERT_TRUE(checker.Resample(16, 12, 1, &grown));
    EXPECT_EQ(grown.PixelColorAt(15, 11, false), checker.PixelColorAt(7, 5, false));

    CxImage same;
    ASSERT_TRUE(checker.Resample(8, 6, 0, &same));
    EXPECT_EQ(std::memcmp(same.DibBlock(), checker.DibBlock(), size_t(checker.DibSize())), 0);
    for (const auto& [w, h] : {std::pair{0, 5}, std::pair{5, -1}, std::pair{-3, -3}})
        EXPECT_FALSE(checker.Resample(w, h, 0)) << w << "x" << h;

    // Odd scales shrink without writing outside the destination.
    std::mt19937 random(3);
    CxImage noise;
    fill24(noise, 1001, 333, [&](int, int) { return CxColor::rgb(uint8_t(random()), 255, uint8_t(random())); });
    ASSERT_TRUE(noise.Resample(997, 101, 0));
    EXPECT_EQ(noise.GetWidth(), 997);
    int lowest = 255;
    for (int y = 0; y < 101; y++)
        for (int x = 0; x < 997; x++)
            lowest = std::min<int>(lowest, noise.PixelColorAt(x, y, false).green);
    EXPECT_GE(lowest, 250) << "weights in thousandths lose a little at the edges, never wrap";
}

TEST(ScreenshotRoad, DrawAtOwnSizeIsABlitWithinTheClip)
{
    std::vector<uint32_t> screen = desktopPixels(64, 48);
    CxImage image;
    ASSERT_TRUE(image.CreateFromPixels(viewOf(screen, 64, 48)));

    std::vector<uint32_t> window(100 * 80, 0xFF123456);
    CxDrawTarget target{viewOf(window, 100, 80), {0, 0, 100, 80}};
    ASSERT_EQ(image.Draw(target, 10, 5), 1);
    for (int y = 0; y < 80; y++)
        for (int x = 0; x < 100; x++) {
            const bool inside = x >= 10 && x < 74 && y >= 5 && y < 53;
            const uint32_t expected = inside ? screen[size_t(y - 5) * 64 + x - 10] : 0x123456;
            ASSERT_EQ(window[size_t(y) * 100 + x] & 0xFFFFFF, expected) << x << "," << y;
        }

    // The clip of the call narrows the target's own; nothing outside changes.
    std::vector<uint32_t> clipped(100 * 80, 0);
    CxDrawTarget narrow{viewOf(clipped, 100, 80), {0, 0, 30, 80}};
    const CxPixelRect clip{20, 10, 90, 20};
    ASSERT_EQ(image.Draw(narrow, 10, 5, -1, -1, &clip), 1);
    for (int y = 0; y < 80; y++)
        for (int x = 0; x < 100; x++) {
            const bool inside = x >= 20 && x < 30 && y >= 10 && y < 20;
            ASSERT_EQ(clipped[size_t(y) * 100 + x] != 0, inside) << x << "," << y;
        }

    image.SetEnabled(false);
    EXPECT_EQ(image.Draw(target, 0, 0), 0);
    image.SetEnabled(true);
    EXPECT_EQ(image.Draw(target, 0, 0, 0, 10), 0);
}

TEST(ScreenshotRoad, DrawBlendsScalesAndSmooths)
{
    // Transparent index 1 leaves the background; alpha 128 mixes it.
    CxImage icon;
    fillIndexed(icon, 4, 2, 8, [](int x, int) { return uint8_t(x == 0 ? 1 : 249); });
    icon.SetTransparentIndex(1);
    icon.AlphaCreate();
    icon.AlphaSet(3, 1, 128);
    std::vector<uint32_t> back(4 * 2, 0x0000FF);
    CxDrawTarget target{viewOf(back, 4, 2), {0, 0, 4, 2}};
    ASSERT_EQ(icon.Draw(target, 0, 0), 1);
    EXPECT_EQ(back[0] & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(back[1] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(back[3] & 0xFFFFFF, 0x7F007Eu) << "(255 x 128 + 0 x 127) >> 8, (0 x 128 + 255 x 127) >> 8";

    // Doubling by nearest gives 2 x 2 blocks; smoothing a uniform picture
    // keeps it uniform.
    CxImage small;
    fill24(small, 3, 2, [](int x, int y) { return CxColor::rgb(uint8_t(x * 100), uint8_t(y * 100), 5); });
    std::vector<uint32_t> big(6 * 4, 0);
    CxDrawTarget bigTarget{viewOf(big, 6, 4), {0, 0, 6, 4}};
    ASSERT_EQ(small.Draw(bigTarget, 0, 0, 6, 4), 1);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 6; x++)
            ASSERT_EQ(colourOf(big[size_t(y) * 6 + x]), CxColor::rgb(uint8_t(x / 2 * 100), uint8_t(y / 2 * 100), 5));

    CxImage flat;
    fill24(flat, 40, 30, [](int, int) { return CxColor::rgb(90, 80, 70); });
    for (const auto& [w, h] : {std::pair{13, 9}, std::pair{97, 71}}) {
        std::vector<uint32_t> out(size_t(w) * h, 0);
        CxDrawTarget t{viewOf(out, w, h), {0, 0, w, h}};
        ASSERT_EQ(flat.Draw(t, 0, 0, w, h, nullptr, true), 1);
        for (uint32_t p : out)
            ASSERT_EQ(colourOf(p), CxColor::rgb(90, 80, 70)) << w << "x" << h;
    }
}
