// Fills, lines and polygons by GDI's rules, always inside the clip.

#include "raster_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace raster_test;

TEST(CanvasFill, LeavesOutRightAndBottomAndKeepsToTheClip)
{
    struct Case {
        Rect fill;
        Rect clip;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {0, 0, 40, 40}, {0, 0, 10, 10}},
        {{5, 5, 30, 30}, {10, 12, 20, 22}, {10, 12, 20, 22}},
        {{-5, -5, 3, 3}, {0, 0, 40, 40}, {0, 0, 3, 3}},
        {{30, 30, 90, 90}, {0, 0, 40, 40}, {30, 30, 40, 40}},
        {{10, 10, 5, 20}, {0, 0, 40, 40}, {}},   // reversed: nothing
        {{5, 5, 30, 30}, {50, 50, 60, 60}, {}},  // clip outside the image
    };
    for (const auto& c : cases) {
        Image image(40, 40, kPaper);
        Canvas canvas(image);
        canvas.setClip(c.clip);
        canvas.fillRect(c.fill, kInk);
        EXPECT_EQ(inkBounds(image, kPaper), c.expected) << c.fill.left << "," << c.fill.top;
        EXPECT_EQ(changedPixels(image, kPaper).size(), size_t(c.expected.width() * c.expected.height()));
    }
}

TEST(CanvasFill, SetPixelHonoursTheClip)
{
    Image image(8, 8, kPaper);
    Canvas canvas(image);
    canvas.setClip({2, 2, 6, 6});
    for (Point p : {Point{1, 1}, Point{2, 2}, Point{5, 5}, Point{6, 6}, Point{-1, 3}, Point{3, 9}})
        canvas.setPixel(p, kInk);
    EXPECT_EQ(changedPixels(image, kPaper), (PixelSet{{2, 2}, {5, 5}}));
}

namespace {

PixelSet drawPolyline(const std::vector<Point>& points, LineStyle style, Rect clip = {0, 0, 32, 32})
{
    Image image(32, 32, kPaper);
    Canvas canvas(image);
    canvas.setClip(clip);
    canvas.setPen({kInk, 1, style});
    canvas.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        canvas.lineTo(points[i]);
    return changedPixels(image, kPaper);
}

} // namespace

TEST(CanvasLine, LeavesOutTheEndPixel)
{
    struct Case {
        Point from;
        Point to;
        PixelSet expected;
    };
    const Case cases[] = {
        {{2, 3}, {6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
        {{6, 3}, {2, 3}, {{6, 3}, {5, 3}, {4, 3}, {3, 3}}},
        {{4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
        {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
        {{0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},   // halfway rounds away from the start
        {{5, 5}, {5, 5}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drawPolyline({c.from, c.to}, LineStyle::solid), c.expected) << c.from.x << "," << c.from.y;
}

TEST(CanvasLine, DotsRunThreeOnThreeOffAcrossJoinedLines)
{
    // 5 pixels along x, then down: the count goes on round the corner.
    EXPECT_EQ(drawPolyline({{0, 0}, {5, 0}, {5, 6}}, LineStyle::dotted),
              (PixelSet{{0, 0}, {1, 0}, {2, 0}, {5, 1}, {5, 2}, {5, 3}}));

    // A move starts the count again.
    Image image(16, 4, kPaper);
    Canvas canvas(image);
    canvas.setPen({kInk, 1, LineStyle::dotted});
    canvas.moveTo({0, 0});
    canvas.lineTo({4, 0});
    canvas.moveTo({0, 2});
    canvas.lineTo({4, 2});
    EXPECT_EQ(changedPixels(image, kPaper), (PixelSet{{0, 0}, {1, 0}, {2, 0}, {0, 2}, {1, 2}, {2, 2}}));
}

TEST(CanvasLine, ThinAndWideLinesStayInsideTheClip)
{
    const Rect clip{8, 8, 20, 20};
    EXPECT_EQ(drawPolyline({{0, 14}, {31, 14}}, LineStyle::solid, clip).size(), 12u);

    Image image(32, 32, kPaper);
    Canvas canvas(image);
    canvas.setClip(clip);
    canvas.setPen({kInk, 4, LineStyle::solid});
    canvas.moveTo({0, 0});
    canvas.lineTo({31, 31});
    EXPECT_GT(changedPixels(image, kPaper).size(), 12u * 3);
    EXPECT_EQ(changedOutside(image, clip, kPaper), 0);
    EXPECT_EQ(canvas.penPosition(), (Point{31, 31}));
}

TEST(CanvasPolygon, FillsEvenOddWithoutAntialiasingInsideTheClip)
{
    Image image(40, 40, kPaper);
    Canvas canvas(image);
    const Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    canvas.fillPolygon(square, 4, kInk);
    EXPECT_EQ(inkBounds(image, kPaper), (Rect{0, 0, 10, 10}));
    EXPECT_EQ(changedPixels(image, kPaper).size(), 100u);

    // A five-pointed star drawn in one stroke: its centre is crossed twice
    // and stays empty; every changed pixel is exactly the ink.
    Image starImage(40, 40, kPaper);
    Canvas star(starImage);
    const Point points[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    star.fillPolygon(points, 5, kInk);
    EXPECT_EQ(starImage.pixelAt(20, 21), kPaper);
    EXPECT_EQ(starImage.pixelAt(20, 8), kInk);
    EXPECT_EQ(starImage.pixelAt(6, 15), kInk);
    for (auto [x, y] : changedPixels(starImage, kPaper))
        ASSERT_EQ(starImage.pixelAt(x, y), kInk) << x << "," << y;

    Image clipped(40, 40, kPaper);
    Canvas inside(clipped);
    inside.setClip({15, 0, 25, 40});
    inside.fillPolygon(points, 5, kInk);
    EXPECT_EQ(changedOutside(clipped, {15, 0, 25, 40}, kPaper), 0);
    EXPECT_FALSE(changedPixels(clipped, kPaper).empty());
}
