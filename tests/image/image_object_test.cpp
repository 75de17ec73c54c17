// Creating images, their settings, palettes, pixels, copies and depth.
#include "image_test_support.h"

#include "image/cx_image.h"
#include "image/nearest_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

using namespace imagetest;

TEST(ImageObject, CreateSizesAndLimits)
{
    // width, height, asked bits, bits, stride, colours, error text
    const std::tuple<uint32_t, uint32_t, uint32_t, int, int64_t, uint32_t, const char*> cases[] = {
        {5, 3, 24, 24, 16, 0, nullptr},
        {5, 3, 1, 1, 4, 2, nullptr},
        {5, 3, 0, 1, 4, 2, nullptr},
        {5, 3, 2, 4, 4, 16, nullptr},
        {33, 3, 5, 8, 36, 256, nullptr},
        {5, 3, 16, 24, 16, 0, nullptr},
        {5, 3, 32, 24, 16, 0, nullptr},
        {0, 3, 8, 0, 0, 0, "CxImage::Create : width and height must be greater than zero"},
        {5, 0, 8, 0, 0, 0, "CxImage::Create : width and height must be greater than zero"},
        {16385, 16384, 8, 0, 0, 0, "CXIMAGE_MAX_MEMORY exceeded"},
        {65536, 65536, 24, 0, 0, 0, "CXIMAGE_MAX_MEMORY exceeded"},
        {4294967295u, 4294967295u, 24, 0, 0, 0, "CXIMAGE_MAX_MEMORY exceeded"},
        {1, 1u << 30, 1, 0, 0, 0, "CXIMAGE_MAX_MEMORY exceeded"}, // 4 GiB of padded rows
    };
    for (const auto& [width, height, asked, bits, stride, colours, error] : cases) {
        CxImage image;
        const uint8_t* block = image.Create(width, height, asked, 0);
        if (error) {
            EXPECT_EQ(block, nullptr) << width << "x" << height;
            EXPECT_STREQ(image.GetLastError(), error);
            EXPECT_FALSE(image.HasPixels());
            continue;
        }
        ASSERT_NE(block, nullptr) << width << "x" << height << "x" << asked;
        EXPECT_EQ(image.GetBpp(), bits);
        EXPECT_EQ(image.GetStride(), stride);
        EXPECT_EQ(image.GetColorsUsed(), colours);
        EXPECT_EQ(image.Header().imageSize, stride * height);
        EXPECT_EQ(image.DibSize(), 40 + colours * 4 + stride * height);
        EXPECT_EQ(std::memcmp(block, "\x28\0\0\0", 4), 0) << "the header leads the block";
        EXPECT_EQ(image.RowPointer(0), block + 40 + colours * 4);
        EXPECT_EQ(image.RowPointer(height), nullptr);
    }
}

TEST(ImageObject, LargestAcceptedSizes)
{
    // 8192 x 8192 at 24 bits (201326592 bytes) and 16384 x 16384 at 8 bits
    // (268435456 bytes) fit the limit.
    for (const auto& [w, h, bits] : {std::tuple{8192u, 8192u, 24u}, std::tuple{16384u, 16384u, 8u}}) {
        CxImage image;
        EXPECT_NE(image.Create(w, h, bits, 0), nullptr) << image.GetLastError();
    }
}

TEST(ImageObject, SettingsAtConstructionAndTheirSetters)
{
    CxImage image(kCxFormatGif);
    EXPECT_EQ(image.GetType(), kCxFormatGif);
    EXPECT_EQ(image.GetJpegQuality(), 90);
    EXPECT_EQ(image.GetAlphaMax(), 255);
    EXPECT_EQ(image.GetTransparentIndex(), -1);
    EXPECT_TRUE(image.IsEnabled());
    EXPECT_EQ(image.Header().xPelsPerMeter, 3780);
    image.Create(4, 4, 8, kCxFormatGif);
    image.SetXDpi(0);
    image.SetYDpi(300);
    EXPECT_EQ(image.GetXDpi(), 96);
    EXPECT_EQ(image.Header().yPelsPerMeter, 11811);
    EXPECT_EQ(image.DibBlock()[28] | image.DibBlock()[29] << 8, 11811 & 0xFFFF) << "the block's copy follows";

    // The codec option of a format without a slot (or slot 0) is the image type's.
    image.SetCodecOption(7, kCxFormatGif);
    image.SetCodecOption(3, kCxFormatJpg);
    EXPECT_EQ(image.CodecOption(kCxFormatGif), 7u);
    EXPECT_EQ(image.CodecOption(kCxFormatUnknown), 7u);
    EXPECT_EQ(image.CodecOption(42), 7u);
    EXPECT_EQ(image.CodecOption(kCxFormatJpg), 3u);

    // index asked, index kept
    for (const auto& [asked, kept] : {std::pair{5, 5}, std::pair{255, 255}, std::pair{256, 0}, std::pair{-1, -1}}) {
        image.SetTransparentIndex(asked);
        EXPECT_EQ(image.GetTransparentIndex(), kept);
    }
    image.ApplyDefaultPalette();
    image.SetTransparentIndex(249);
    EXPECT_EQ(image.TransparentColor(), CxColor::rgb(255, 0, 0));
}

TEST(ImageObject, NearestEntryOfTheFixedPalette)
{
    CxImage image;
    image.Create(1, 1, 8, 0);
    image.ApplyDefaultPalette();
    // colour, index: exact entries take their first index, ties the lower.
    const std::pair<CxColor, int> cases[] = {
        {CxColor::rgb(0, 0, 0), 0},         {CxColor::rgb(255, 255, 255), 255}, {CxColor::rgb(255, 0, 0), 249},
        {CxColor::rgb(0xFE, 0, 0), 40},      {CxColor::rgb(0x80, 0x80, 0x80), 248},
        {CxColor::rgb(0xC0, 0xC0, 0xC0), 7}, {CxColor::rgb(1, 0, 0), 0},           {CxColor::rgb(0xFE, 0xFB, 0xF0), 246},
        {CxColor::rgb(7, 7, 7), 0},          {CxColor::rgb(8, 8, 8), 245},
    };
    for (const auto& [colour, index] : cases) {
        EXPECT_EQ(image.NearestPaletteIndex(colour), index) << int(colour.red) << "," << int(colour.green);
        EXPECT_EQ(image.NearestPaletteIndex(colour), index) << "from the cache";
    }
    // The cache forgets when the palette changes.
    image.NearestPaletteIndex(CxColor::rgb(1, 2, 3));
    image.SetPaletteEntry(200, 1, 2, 3);
    EXPECT_EQ(image.NearestPaletteIndex(CxColor::rgb(1, 2, 3)), 200);
    // The important count limits the search, never past the palette.
    image.SetImportantColors(10);
    EXPECT_EQ(image.NearestPaletteIndex(CxColor::rgb(255, 255, 255)), 8); // C0DCC0
}

TEST(ImageObject, PackedPixelLayout)
{
    // 4-bit: the left pixel is the high nibble; 1-bit: the leftmost the top bit.
    CxImage nibbles;
    nibbles.Create(3, 1, 4, 0);
    nibbles.RowPointer()[0] = 0xAB;
    EXPECT_EQ(nibbles.PixelIndexAt(0, 0), 0xA);
    EXPECT_EQ(nibbles.PixelIndexAt(1, 0), 0xB);
    CxImage bits;
    bits.Create(9, 1, 1, 0);
    bits.RowPointer()[0] = 0x80;
    EXPECT_EQ(bits.PixelIndexAt(0, 0), 1);
    EXPECT_EQ(bits.PixelIndexAt(1, 0), 0);
}

TEST(ImageObject, GhostsCopiesAndTakenBuffers)
{
    CxImage source;
    fillIndexed(source, 6, 4, 8, [](int x, int y) { return uint8_t(x * 10 + y); });
    source.AlphaCreate();
    source.AlphaSet(1, 1, 7);
    {
        CxImage ghost;
        ghost.MakeGhostOf(&source);
        EXPECT_TRUE(ghost.IsGhost());
        EXPECT_EQ(ghost.DibBlock(), source.DibBlock());
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_FALSE(ghost.DestroyFrames());
    } // frees nothing
    EXPECT_EQ(source.PixelIndexAt(5, 3), 50);

    CxImage copy;
    copy.CopyImage(source);
    EXPECT_NE(copy.DibBlock(), source.DibBlock());
    EXPECT_EQ(std::memcmp(copy.DibBlock(), source.DibBlock(), size_t(source.DibSize())), 0);
    EXPECT_EQ(copy.AlphaGet(1, 1), 7);

    CxImage paletteOnly;
    paletteOnly.CopyImage(source, false, false, false);
    EXPECT_EQ(paletteOnly.PaletteColor(249), source.PaletteColor(249));
    EXPECT_FALSE(paletteOnly.HasAlpha());

    CxImage taker;
    ASSERT_TRUE(taker.TakeBuffersFrom(&copy, true));
    EXPECT_FALSE(copy.HasPixels());
    EXPECT_EQ(taker.PixelIndexAt(5, 3), 50);
    EXPECT_EQ(taker.AlphaGet(1, 1), 7);
}

TEST(ImageObject, DecreaseBppRules)
{
    CxImage eight;
    fillIndexed(eight, 4, 4, 8, [](int x, int) { return uint8_t(x); });
    const uint8_t* before = eight.DibBlock();
    EXPECT_TRUE(eight.DecreaseBpp(8, false));
    EXPECT_EQ(eight.DibBlock(), before) << "same depth without important colours changes nothing";
    EXPECT_FALSE(eight.DecreaseBpp(24, false));
    EXPECT_STREQ(eight.GetLastError(), "DecreaseBpp: target BPP greater than source BPP");
    CxImage empty;
    EXPECT_FALSE(empty.DecreaseBpp(8, false));

    // Black and white pictures map to 0 and 255; pure red to 249.
    for (const auto& [colour, index] : {std::pair{CxColor{}, 0}, std::pair{CxColor::rgb(255, 255, 255), 255},
                                        std::pair{CxColor::rgb(255, 0, 0), 249}}) {
        CxImage image;
        fill24(image, 9, 7, [c = colour](int, int) { return c; });
        ASSERT_TRUE(image.DecreaseBpp(8, false));
        EXPECT_EQ(image.GetBpp(), 8);
        for (int y = 0; y < 7; y++)
            for (int x = 0; x < 9; x++)
                ASSERT_EQ(image.PixelIndexAt(x, y), index);
    }

    // A given palette of two colours; diffusion spreads a mid grey into both.
    const CxColor two[2] = {CxColor::rgb(0, 0, 0), CxColor::rgb(255, 255, 255)};
    CxImage grey;
    fill24(grey, 16, 16, [](int, int) { return CxColor::rgb(128, 128, 128); });
    ASSERT_TRUE(grey.DecreaseBpp(1, true, two));
    int white = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            white += grey.PixelIndexAt(x, y);
    EXPECT_GT(white, 96);
    EXPECT_LT(white, 160);
}

TEST(ImageObject, CellLookupAnswersAsTheFullSearch)
{
    std::mt19937 random(5);
    for (int round = 0; round < 3; round++) {
        CxImage image;
        image.Create(1, 1, 8, 0);
        if (round == 0) {
            image.ApplyDefaultPalette();
        } else {
            // Random entries, some repeated, so that ties need the lower index.
            for (int i = 0; i < 256; i++)
                image.SetPaletteEntry(uint8_t(i), uint8_t(random() % (round * 40)), uint8_t(random()), uint8_t(random() & 0xF0));
            for (int i = 0; i < 40; i++)
                image.SetPaletteEntry(uint8_t(random()), image.PaletteColor(uint8_t(random())));
        }
        const CxNearestIndex lookup(image.PaletteEntries(), 256);
        for (int i = 0; i < 200000; i++) {
            const CxColor c = CxColor::rgb(uint8_t(random()), uint8_t(random()), uint8_t(random()));
            ASSERT_EQ(lookup.find(c), image.NearestPaletteIndex(c)) << round << ": " << int(c.red) << " " << int(c.green)
                                                                     << " " << int(c.blue);
        }
    }
}
