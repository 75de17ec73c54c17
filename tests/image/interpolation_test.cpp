// Overflow rules, kernels, point and area interpolation, geometry records.
#include "image_test_support.h"

#include "image/interpolation_kernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

using namespace imagetest;

namespace {

// 4 x 4, pixel (x, y) has red 10x + 1, green 10y + 1.
void numbered(CxImage& image)
{
    ASSERT_TRUE(image.Create(4, 4, 24, 0));
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            image.PutPixelColor(x, y, CxColor::rgb(uint8_t(10 * x + 1), uint8_t(10 * y + 1), 0));
}

} // namespace

TEST(Interpolation, OverflowRulesForPixelReads)
{
    CxImage image;
    numbered(image);
    const CxColor given = CxColor::rgb(7, 8, 9, 200);
    // x, y, overflow, pixel read (or -1, -1 for the given colour)
    const std::tuple<int, int, int, int, int> cases[] = {
        {-3, 10, kCxOverflowRepeat, 0, 3}, {4, 0, kCxOverflowMirror, 3, 0}, {-1, 0, kCxOverflowWrap, 3, 0},
        {9, -6, kCxOverflowWrap, 1, 2},    {-2, 1, kCxOverflowMirror, 2, 1}, {2, 2, kCxOverflowColor, 2, 2},
        {5, 5, kCxOverflowColor, -1, -1},  {5, 5, 0, -1, -1},                {5, 5, 99, -1, -1},
        {5, 5, kCxOverflowBackground, -1, -1},
    };
    for (const auto& [x, y, overflow, px, py] : cases) {
        const CxColor expected = px < 0 ? given : image.PixelColorAt(px, py);
        EXPECT_EQ(image.OverflowColor(x, y, overflow, &given), expected) << x << "," << y << " rule " << overflow;
    }
    EXPECT_EQ(image.OverflowColor(5, 5, kCxOverflowColor, nullptr), CxColor::rgb(255, 255, 255));
    image.SetTransparentIndex(0);
    image.SetTransparentColor(CxColor::rgb(1, 2, 3));
    EXPECT_EQ(image.OverflowColor(5, 5, kCxOverflowBackground, &given), CxColor::rgb(1, 2, 3));
    image.AlphaCreate();
    EXPECT_EQ(image.OverflowColor(5, 5, kCxOverflowTransparent, &given), CxColor::rgb(7, 8, 9, 0));
}

TEST(Interpolation, KernelValues)
{
    constexpr float pi = 3.14159265f;
    // method, x, weight
    const std::tuple<int, float, float> cases[] = {
        {kCxInterpolationBox, -0.5f, 1.0f},        {kCxInterpolationBox, 0.5f, 0.0f},
        {kCxInterpolationBSpline, 0.0f, 2.0f / 3}, {kCxInterpolationBSpline, 1.0f, 1.0f / 6},
        {kCxInterpolationBSpline, -1.0f, 1.0f / 6}, {kCxInterpolationBSpline, 2.5f, 0.0f},
        {kCxInterpolationBicubic, 0.0f, 1.0f},     {kCxInterpolationBicubic, 1.5f, -0.125f},
        {kCxInterpolationBicubic2, 1.0f, 0.0f},    {kCxInterpolationLanczos, 0.0f, 1.0f},
        {kCxInterpolationLanczos, 3.0f, 0.0f},     {kCxInterpolationHermite, 0.5f, 0.5f},
        {kCxInterpolationSinc, 0.5f, 2 / pi},      {kCxInterpolationBessel, 0.0f, pi / 4},
        {kCxInterpolationGaussian, 0.0f, 0.7978846f}, {kCxInterpolationQuadratic, 0.0f, 0.75f},
        {kCxInterpolationQuadratic, 1.0f, 0.125f}, {kCxInterpolationMitchell, 0.0f, 0.8888889f},
        {kCxInterpolationCatrom, 0.0f, 1.0f},      {kCxInterpolationCatrom, 1.0f, 0.0f},
        {kCxInterpolationHanning, 0.0f, 1.0f},     {kCxInterpolationPower, 0.5f, 0.75f},
        {kCxInterpolationBlackman, 0.0f, 1.0f},    {kCxInterpolationHamming, 1.0f, -0.92f + 1},
    };
    for (const auto& [method, x, weight] : cases)
        EXPECT_NEAR(cxKernel(method, x), weight, 1e-5f) << "method " << method << " at " << x;
}

TEST(Interpolation, PointAndAreaReads)
{
    CxImage image;
    numbered(image);
    // Bilinear between pixels averages them; every kernel method keeps a
    // pixel of the inside of a uniform region.
    EXPECT_EQ(image.InterpolatedColor(1.5f, 2.0f, kCxInterpolationBilinear, kCxOverflowRepeat, nullptr),
              CxColor::rgb(16, 21, 0));
    EXPECT_EQ(image.InterpolatedColor(2.7f, 1.2f, kCxInterpolationNearest, kCxOverflowRepeat, nullptr),
              image.PixelColorAt(2, 1));

    CxImage flat;
    fill24(flat, 20, 20, [](int, int) { return CxColor::rgb(60, 120, 240); });
    for (int method = 1; method <= 18; method++) {
        if (method == kCxInterpolationSinc || method == kCxInterpolationBlackman || method == kCxInterpolationBessel ||
            method == kCxInterpolationGaussian || method == kCxInterpolationLanczos || method == kCxInterpolationBicubic ||
            method == kCxInterpolationHanning || method == kCxInterpolationHamming || method == kCxInterpolationPower ||
            method == kCxInterpolationMitchell || method == kCxInterpolationBox || method == kCxInterpolationHermite)
            continue; // weights of these do not sum to one over the neighbourhood
        EXPECT_EQ(flat.InterpolatedColor(9.3f, 10.6f, method, kCxOverflowRepeat, nullptr), CxColor::rgb(60, 120, 240))
            << "method " << method;
    }
    EXPECT_EQ(flat.AreaInterpolatedColor(5.2f, 7.9f, 3.5f, 2.25f, 2, kCxOverflowRepeat, nullptr),
              CxColor::rgb(60, 120, 240));
    // Half the box over pixel column 0, half over column 1.
    EXPECT_EQ(image.AreaInterpolatedColor(0.5f, 0.0f, 2.0f, 1.0f, 2, kCxOverflowRepeat, nullptr),
              CxColor::rgb(6, 1, 0));
}

TEST(Interpolation, HostileCoordinates)
{
    CxImage image;
    numbered(image);
    const CxColor given = CxColor::rgb(1, 2, 3);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 1e30f;
    const float infinity = std::numeric_limits<float>::infinity();
    for (const float bad : {nan, huge, -huge, infinity, -infinity}) {
        for (int method = 1; method <= 18; method++) {
            EXPECT_EQ(image.InterpolatedColor(bad, 1.0f, method, kCxOverflowColor, &given), given) << bad;
            EXPECT_EQ(image.InterpolatedColor(1.0f, bad, method, kCxOverflowBackground, &given), given) << bad;
            for (const int overflow : {kCxOverflowWrap, kCxOverflowRepeat, kCxOverflowMirror})
                image.InterpolatedColor(bad, bad, method, overflow, &given); // no undefined conversion
        }
        image.AreaInterpolatedColor(bad, 1.0f, 2.0f, 2.0f, 2, kCxOverflowRepeat, &given);
        image.AreaInterpolatedColor(1.0f, 1.0f, bad, bad, 2, kCxOverflowRepeat, &given);
    }
    EXPECT_EQ(image.InterpolatedColor(huge, -huge, 2, kCxOverflowRepeat, nullptr), image.PixelColorAt(3, 0));
    // A box without area reads the point.
    EXPECT_EQ(image.AreaInterpolatedColor(2.0f, 1.0f, 0.0f, 3.0f, 1, kCxOverflowRepeat, nullptr), image.PixelColorAt(2, 1));
}
