// The image object drawn through the toolkit's draw contexts: what a blit
// would paint, where the context lets it, over what the context held.
#include "image_test_support.h"

#include "gui/offscreen_context.h"
#include "image/cx_image.h"
#include "platform/graphics/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

using namespace imagetest;

namespace {

constexpr CColor kBackground{0, 0, 255, 0};

platform::Image desktopImage(int width, int height)
{
    const std::vector<uint32_t> pixels = desktopPixels(width, height);
    return platform::Image::fromPixels(width, height, pixels.data());
}

std::string differences(const platform::Image& got, const platform::Image& expected)
{
    int count = 0;
    std::string first;
    for (int y = 0; y < expected.height(); y++)
        for (int x = 0; x < expected.width(); x++)
            if (!(got.pixelAt(x, y) == expected.pixelAt(x, y)) && count++ == 0)
                first = " first at " + std::to_string(x) + "," + std::to_string(y);
    return std::to_string(count) + " pixels differ" + first;
}

} // namespace

TEST(DrawContextAdapter, DrawAtOwnSizeEqualsABlit)
{
    const platform::Image picture = desktopImage(64, 48);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(&picture));

    struct Case {
        const char* name;
        CPoint offset;
        std::optional<CRect> contextClip; // in the context's coordinates
        std::optional<CRect> damage;      // a paint's area, in the image's
        std::optional<CxPixelRect> callClip;
        CPoint at;
    };
    const Case cases[] = {
        {"plain", {}, {}, {}, {}, {10, 5}},
        {"offset", {7, 3}, {}, {}, {}, {10, 5}},
        {"context clip", {7, 3}, CRect(15, 10, 40, 30), {}, {}, {10, 5}},
        {"paint damage", {}, {}, CRect(0, 20, 100, 35), {}, {10, 5}},
        {"call clip", {7, 3}, CRect(0, 0, 60, 60), {}, CxPixelRect{20, 0, 90, 25}, {10, 5}},
        {"partly outside", {}, {}, {}, {}, {-20, 50}},
        {"wholly outside", {}, {}, {}, {}, {200, 5}},
    };
    for (const Case& c : cases) {
        COffscreenContext drawn(nullptr, 100, 80, kBackground), blitted(nullptr, 100, 80, kBackground);
        for (COffscreenContext* context : {&drawn, &blitted}) {
            context->setOffset(c.offset);
            if (c.contextClip)
                context->setClipRect(*c.contextClip);
            if (c.damage)
                context->limitTo(*c.damage);
        }
        if (c.callClip) {
            CRect narrowed;
            blitted.getClipRect(narrowed);
            const CxPixelRect both = c.callClip->intersect({narrowed.left, narrowed.top, narrowed.right, narrowed.bottom});
            blitted.setClipRect(CRect(both.left, both.top, both.right, both.bottom));
        }
        EXPECT_EQ(image.Draw(&drawn, c.at.h, c.at.v, -1, -1, c.callClip ? &*c.callClip : nullptr), 1) << c.name;
        blitted.copyImage(picture, CRect(c.at.h, c.at.v, c.at.h + 64, c.at.v + 48), CPoint(0, 0));
        const std::string diff = differences(*drawn.getImage(), *blitted.getImage());
        EXPECT_EQ(diff, "0 pixels differ") << c.name;
    }
}

TEST(DrawContextAdapter, BlendsReadWhatTheContextHolds)
{
    // Index 1 transparent, index 249 red; the right column half opaque.
    CxImage icon;
    fillIndexed(icon, 4, 2, 8, [](int x, int) { return uint8_t(x == 0 ? 1 : 249); });
    icon.SetTransparentIndex(1);
    icon.AlphaCreate();
    icon.AlphaSet(3, 0, 128);
    icon.AlphaSet(3, 1, 128);

    COffscreenContext context(nullptr, 10, 10, kBackground);
    context.setOffset(CPoint(2, 3));
    ASSERT_EQ(icon.Draw(&context, CxPixelRect{1, 1, 5, 3}), 1);
    // Rows 4 and 5 of the image: the transparent pixel keeps the background, the
    // half-opaque one mixes (255 x 128) >> 8 red with (255 x 127) >> 8 blue.
    const platform::Colour blue = kBackground.toPlatform(), red = platform::rgb(255, 0, 0);
    const platform::Colour row[] = {blue, blue, blue, blue, red, red, platform::rgb(0x7F, 0, 0x7E), blue};
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 8; x++)
            ASSERT_EQ(context.getImage()->pixelAt(x, y), y == 4 || y == 5 ? row[x] : blue) << x << "," << y;
}

TEST(DrawContextAdapter, NothingToDrawOn)
{
    const platform::Image picture = desktopImage(8, 8);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(&picture));
    CDrawContext noPixels(nullptr, nullptr, nullptr);
    EXPECT_EQ(image.Draw(&noPixels, 0, 0), 0);
    EXPECT_EQ(image.Draw(nullptr, 0, 0), 0);

    COffscreenContext context(nullptr, 20, 20, kBackground);
    image.SetEnabled(false);
    EXPECT_EQ(image.Draw(&context, 0, 0), 0);
    image.SetEnabled(true);
    EXPECT_EQ(image.Draw(&context, 0, 0, 8, 0), 0);
    // Far-off coordinates and an empty clip draw nothing and overflow nothing.
    EXPECT_EQ(image.Draw(&context, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX, INT32_MAX), 1);
    context.setOffset(CPoint(10, 10));
    EXPECT_EQ(image.Draw(&context, INT32_MAX, INT32_MIN), 1);
    const CxPixelRect none{5, 5, 5, 9};
    EXPECT_EQ(image.Draw(&context, 0, 0, -1, -1, &none), 1);
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++)
            ASSERT_EQ(context.getImage()->pixelAt(x, y), kBackground.toPlatform()) << x << "," << y;
}
