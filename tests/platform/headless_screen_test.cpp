// The headless screen: windows' images composed where a display would show them.

#include "platform/headless/headless_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace platform;

namespace {

constexpr Colour kDesktop = HeadlessWindowSystem::kDesktopColour;

class HeadlessScreenTest : public ::testing::Test {
protected:
    // A window filled with one colour.
    Window& make(Window* parent, Rect rect, Colour colour, bool visible = true)
    {
        WindowOptions options;
        options.kind = parent ? WindowOptions::Kind::Child : WindowOptions::Kind::TopLevel;
        options.parent = parent;
        options.rect = rect;
        options.visible = visible;
        windows.push_back(system.createWindow(options));
        Image& image = windows.back()->image();
        const uint32_t pixel = toPixel(colour);
        uint32_t* pixels = image.mutablePixels();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pixels[y * image.stride() + x] = pixel;
        return *windows.back();
    }

    HeadlessWindowSystem system;
    std::vector<std::unique_ptr<Window>> windows;
};

TEST_F(HeadlessScreenTest, WindowsStackAndChildrenStayInsideTheirParents)
{
    const Colour red = rgb(255, 0, 0), green = rgb(0, 255, 0), blue = rgb(0, 0, 255), grey = rgb(90, 90, 90),
                 white = rgb(255, 255, 255), black = rgb(1, 1, 1);
    Window& host = make(nullptr, {100, 100, 300, 200}, red);
    make(&host, {150, 50, 250, 150}, green);              // sticks out right and below: cut
    Window& later = make(nullptr, {200, 180, 350, 250}, blue);   // above the host and its child
    Window& keptAbove = make(nullptr, {90, 90, 120, 120}, grey);
    keptAbove.setKeepAbove(true);
    make(nullptr, {0, 0, 50, 50}, white, false);          // hidden
    Window& hiddenParent = make(nullptr, {500, 500, 600, 600}, white);
    make(&hiddenParent, {0, 0, 10, 10}, black);
    hiddenParent.show(false);                             // takes its child with it
    make(nullptr, {1000, 740, 1100, 800}, black);         // partly off the screen

    const Image screen = system.captureScreen();
    ASSERT_EQ(screen.width(), HeadlessWindowSystem::kScreenSize.x);
    ASSERT_EQ(screen.height(), HeadlessWindowSystem::kScreenSize.y);
    const struct {
        Point at;
        Colour expected;
    } probes[] = {
        {{99, 150}, kDesktop}, {{100, 150}, red},       {{249, 150}, red},      {{250, 150}, green},
        {{299, 179}, green},   {{300, 179}, kDesktop},  {{250, 180}, blue},     {{199, 199}, red},
        {{200, 199}, blue},    {{349, 249}, blue},      {{350, 249}, kDesktop}, {{95, 95}, grey},
        {{119, 119}, grey},    {{120, 120}, red},       {{10, 10}, kDesktop},   {{505, 505}, kDesktop},
        {{1023, 767}, black},  {{999, 767}, kDesktop},  {{0, 0}, kDesktop},
    };
    for (const auto& probe : probes)
        EXPECT_EQ(screen.pixelAt(probe.at.x, probe.at.y), probe.expected) << probe.at.x << "," << probe.at.y;

    // Moving a window moves its pixels; closing one shows what lay under it.
    later.setRect({0, 300, 150, 370});
    Image moved = system.captureScreen();
    EXPECT_EQ(moved.pixelAt(50, 350), blue);
    EXPECT_EQ(moved.pixelAt(250, 180), green);
    EXPECT_EQ(moved.pixelAt(200, 199), red);
    windows[2].reset();
    EXPECT_EQ(system.captureScreen().pixelAt(50, 350), kDesktop);
}

} // namespace
