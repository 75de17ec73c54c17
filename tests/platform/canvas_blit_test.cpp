// Copies, colour-key copies, stretches and blends: exact pixels, the clip
// honoured, nothing read outside the source.

#include "raster_support.h"

#include <gtest/gtest.h>

using namespace raster_test;

namespace {

// A source whose every pixel is distinct: red = x, green = y.
Image gradient(int width, int height)
{
    Image image(width, height);
    Canvas canvas(image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.setPixel({x, y}, rgb(uint8_t(x), uint8_t(y), 77));
    return image;
}

Colour sourceAt(int x, int y) { return rgb(uint8_t(x), uint8_t(y), 77); }

} // namespace

TEST(CanvasCopy, CopiesExactlyAndReadsOnlyInsideTheSource)
{
    const Image source = gradient(20, 10);
    struct Case {
        Rect destination;
        Point sourceAt;
        Rect clip;
        Rect written;
    };
    const Case cases[] = {
        {{5, 5, 15, 10}, {2, 3}, {0, 0, 40, 40}, {5, 5, 15, 10}},
        {{5, 5, 35, 25}, {0, 0}, {0, 0, 40, 40}, {5, 5, 25, 15}},     // source ends at 20 x 10
        {{5, 5, 15, 15}, {-3, -2}, {0, 0, 40, 40}, {8, 7, 15, 15}},   // source starts before 0, 0
        {{0, 0, 20, 10}, {0, 0}, {4, 4, 9, 8}, {4, 4, 9, 8}},
    };
    for (const auto& c : cases) {
        Image target(40, 40, kPaper);
        Canvas canvas(target);
        canvas.setClip(c.clip);
        canvas.copy(source, c.destination, c.sourceAt);
        EXPECT_EQ(inkBounds(target, kPaper), c.written) << c.destination.left << "," << c.destination.top;
        for (int y = c.written.top; y < c.written.bottom; ++y)
            for (int x = c.written.left; x < c.written.right; ++x)
                ASSERT_EQ(target.pixelAt(x, y),
                          sourceAt(x - c.destination.left + c.sourceAt.x, y - c.destination.top + c.sourceAt.y));
    }
}

TEST(CanvasCopy, OverlappingCopyWithinOneImageScrollsBothWays)
{
    for (Point shift : {Point{3, 2}, Point{-3, -2}, Point{4, 0}, Point{0, -1}}) {
        Image image = gradient(30, 20);
        Canvas canvas(image);
        const Rect area{8, 6, 22, 14};
        canvas.copy(image, area.movedBy(shift.x, shift.y), {area.left, area.top});
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                ASSERT_EQ(image.pixelAt(x + shift.x, y + shift.y), sourceAt(x, y)) << shift.x << "," << shift.y;
    }
}

TEST(CanvasCopyKeyed, KeyColourKeepsTheDestinationAndEverythingElseIsCopied)
{
    Image source(4, 1);
    Canvas paint(source);
    paint.setPixel({0, 0}, kKeyGreen);
    paint.setPixel({1, 0}, rgb(0, 254, 0));
    paint.setPixel({2, 0}, rgb(1, 255, 0));
    paint.setPixel({3, 0}, rgb(0, 0, 0));
    // The top byte is no part of the colour: a key pixel with another top byte is still the key.
    source.mutablePixels()[0] = 0x0000FF00u;

    Image target(6, 1, rgb(255, 0, 0));
    Canvas canvas(target);
    canvas.copyKeyed(source, {1, 0, 5, 1}, {0, 0}, kKeyGreen);
    EXPECT_EQ(target.pixelAt(1, 0), rgb(255, 0, 0));
    EXPECT_EQ(target.pixelAt(2, 0), rgb(0, 254, 0));
    EXPECT_EQ(target.pixelAt(3, 0), rgb(1, 255, 0));
    EXPECT_EQ(target.pixelAt(4, 0), rgb(0, 0, 0));
    EXPECT_EQ(target.pixelAt(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(target.pixelAt(5, 0), rgb(255, 0, 0));

    // Clipped, and past the source's edge, nothing is written.
    Image clipped(10, 10, kPaper);
    Canvas inside(clipped);
    inside.setClip({2, 0, 10, 10});
    inside.copyKeyed(source, {0, 0, 10, 10}, {0, 0}, kKeyGreen);
    EXPECT_EQ(inkBounds(clipped, kPaper), (Rect{2, 0, 4, 1}));
}

TEST(CanvasStretch, DoublingGivesExactBlocksAndKeepsToTheClip)
{
    const Image source = gradient(12, 8);
    Image target(24, 16, kPaper);
    Canvas canvas(target);
    canvas.stretch(source, source.bounds(), target.bounds());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(target.pixelAt(x, y), sourceAt(x / 2, y / 2)) << x << "," << y;

    // Halving takes every other pixel; a part of the source goes to a part of the target.
    Image half(6, 4, kPaper);
    Canvas(half).stretch(source, source.bounds(), half.bounds());
    EXPECT_EQ(half.pixelAt(5, 3), sourceAt(10, 6));
    Image part(40, 40, kPaper);
    Canvas partCanvas(part);
    partCanvas.setClip({0, 0, 30, 13});
    partCanvas.stretch(source, {4, 2, 8, 6}, {10, 5, 22, 17});
    EXPECT_EQ(inkBounds(part, kPaper), (Rect{10, 5, 22, 13}));
    EXPECT_EQ(part.pixelAt(10, 5), sourceAt(4, 2));
    EXPECT_EQ(part.pixelAt(21, 12), sourceAt(7, 4));
}

TEST(CanvasStretch, ASourceRectangleBeyondTheImageWritesOnlyWhatItCanRead)
{
    const Image source = gradient(10, 10);
    Image target(40, 40, kPaper);
    Canvas canvas(target);
    // The left half of the source rectangle lies before the image.
    canvas.stretch(source, {-10, 0, 10, 10}, {0, 0, 40, 20});
    EXPECT_EQ(inkBounds(target, kPaper), (Rect{20, 0, 40, 20}));
    EXPECT_EQ(target.pixelAt(20, 0), sourceAt(0, 0));
    EXPECT_EQ(target.pixelAt(39, 19), sourceAt(9, 9));
}

TEST(CanvasBlend, ConstantAlphaMixesByItsWeight)
{
    struct Case {
        uint8_t alpha;
        Colour over;   // white over black, black over white
        Colour under;
    };
    const Case cases[] = {
        {0, rgb(0, 0, 0), rgb(255, 255, 255)},
        {128, rgb(128, 128, 128), rgb(127, 127, 127)},
        {255, rgb(255, 255, 255), rgb(0, 0, 0)},
    };
    const Image white(4, 4, rgb(255, 255, 255));
    const Image black(4, 4, rgb(0, 0, 0));
    for (const auto& c : cases) {
        Image onBlack(8, 8, rgb(0, 0, 0));
        Canvas(onBlack).blend(white, white.bounds(), {2, 2, 6, 6}, c.alpha);
        EXPECT_EQ(onBlack.pixelAt(3, 3), c.over) << int(c.alpha);
        EXPECT_EQ(changedOutside(onBlack, {2, 2, 6, 6}, rgb(0, 0, 0)), 0);

        Image onWhite(8, 8, rgb(255, 255, 255));
        Canvas canvas(onWhite);
        canvas.setClip({0, 0, 4, 8});
        canvas.blend(black, black.bounds(), {2, 2, 6, 6}, c.alpha);
        EXPECT_EQ(onWhite.pixelAt(3, 3), c.under) << int(c.alpha);
        EXPECT_EQ(onWhite.pixelAt(4, 3), rgb(255, 255, 255));
    }
}

TEST(Image, SidesOutOfRangeGiveAnEmptyImageThatDrawsNothing)
{
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{Image::kMaxSide + 1, 1}}) {
        Image image(w, h);
        EXPECT_TRUE(image.empty());
        EXPECT_EQ(image.pixels(), nullptr);
        EXPECT_FALSE(image.writePng("/tmp/never-written.png"));
    }
    Image empty;
    Image target(4, 4, kPaper);
    Canvas canvas(target);
    canvas.copy(empty, target.bounds(), {0, 0});
    canvas.copyKeyed(empty, target.bounds(), {0, 0}, kKeyGreen);
    canvas.stretch(empty, {0, 0, 1, 1}, target.bounds());
    EXPECT_TRUE(changedPixels(target, kPaper).empty());
}
