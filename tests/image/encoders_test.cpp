// BMP, PCX, icon and WBMP files as ImageMagick reads them, JPEG as libjpeg
// decodes it, and the refusals of every encoder.
#include "image_test_support.h"

#include "image/cx_mem_file.h"
#include "image/encoders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <jpeglib.h>

using namespace imagetest;

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

// What a reader should see at (x, y from the top) of `image`.
Rgba expectedAt(const CxImage& image, int x, int y)
{
    const CxColor c = image.PixelColorAt(x, image.GetHeight() - 1 - y, false);
    return {c.red, c.green, c.blue, 255};
}

void expectMagickReads(const std::string& path, const CxImage& image, const std::function<Rgba(int, int)>& expected)
{
    int width, height;
    const Bytes rgba = magickRgba(path, width, height);
    ASSERT_EQ(width, image.GetWidth()) << path;
    ASSERT_EQ(height, image.GetHeight()) << path;
    ASSERT_EQ(rgba.size(), size_t(width) * height * 4) << path;
    int wrong = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
            const Rgba e = expected(x, y);
            // A fully transparent pixel has no colour to compare.
            const bool same = e.a == 0 ? p[3] == 0 : p[0] == e.r && p[1] == e.g && p[2] == e.b && p[3] == e.a;
            if (!same && wrong++ < 3)
                ADD_FAILURE() << path << " at " << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " "
                              << int(p[2]) << " " << int(p[3]) << " instead of " << int(e.r) << " " << int(e.g)
                              << " " << int(e.b) << " " << int(e.a);
        }
    EXPECT_EQ(wrong, 0) << path;
}

uint8_t pattern(int x, int y, int colours)
{
    return uint8_t((x * 7 + y * 3 + x * y) % colours);
}

CxColor smooth(int x, int y)
{
    return CxColor::rgb(uint8_t(128 + 100 * std::sin(x / 17.0)), uint8_t(128 + 90 * std::cos(y / 13.0)),
                        uint8_t((x + y) / 3));
}

void save(CxImage& image, const std::string& path, int format)
{
    ASSERT_TRUE(image.Save(path.c_str(), format)) << path << ": " << image.GetLastError();
}

} // namespace

TEST(Encoders, MagickReadsOurBmpAndPcxPixels)
{
    const std::string folder = scratchFolder();
    for (const int bits : {1, 4, 8, 24}) {
        CxImage image;
        if (bits == 24)
            fill24(image, 37, 23, smooth);
        else
            fillIndexed(image, 37, 23, bits, [bits](int x, int y) { return pattern(x, y, 1 << bits); });
        for (const auto& [format, name] : {std::pair{kCxFormatBmp, "bmp"}, std::pair{kCxFormatPcx, "pcx"}}) {
            const std::string path = folder + "/" + std::to_string(bits) + "." + name;
            save(image, path, format);
            // Our 1-bit PCX keeps 0 for the dark colour; ImageMagick ignores
            // the header's map there and reads a set bit as black.
            const bool negative = bits == 1 && format == kCxFormatPcx;
            expectMagickReads(path, image, [&](int x, int y) {
                Rgba e = expectedAt(image, x, y);
                if (negative)
                    e.r = e.g = e.b = uint8_t(255 - e.r);
                return e;
            });
        }
    }
}

TEST(Encoders, MagickReadsA32BitBmpWithItsAlpha)
{
    const std::string folder = scratchFolder();
    CxImage image;
    fill24(image, 20, 10, smooth);
    image.AlphaCreate();
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 20; x++)
            image.AlphaSet(x, y, uint8_t(x < 5 ? 255 : x * 12));
    save(image, folder + "/alpha.bmp", kCxFormatBmp);
    const Bytes bmp = readFile(folder + "/alpha.bmp");
    ASSERT_EQ(bmp.size(), 14u + 40 + 20 * 10 * 4);
    EXPECT_EQ(bmp[28], 32);
    expectMagickReads(folder + "/alpha.bmp", image, [&](int x, int y) {
        Rgba e = expectedAt(image, x, y);
        e.a = image.AlphaGet(x, 9 - y);
        return e;
    });
}

TEST(Encoders, MagickReadsOurIcons)
{
    const std::string folder = scratchFolder();
    CxImage indexed;
    fillIndexed(indexed, 32, 24, 8, [](int x, int y) { return uint8_t((x / 4 + y / 4) % 5); });
    indexed.SetTransparentIndex(3);
    save(indexed, folder + "/indexed.ico", kCxFormatIco);
    expectMagickReads(folder + "/indexed.ico", indexed, [&](int x, int y) {
        Rgba e = expectedAt(indexed, x, y);
        e.a = indexed.PixelIndexAt(x, 23 - y) == 3 ? 0 : 255;
        return e;
    });
    EXPECT_EQ(indexed.PaletteColor(3), CxColor::rgb(0x80, 0x80, 0)) << "the blanked entry is written from a copy";

    // Black stays black without a transparent index.
    CxImage black;
    fill24(black, 16, 16, [](int x, int) { return x < 8 ? CxColor{} : CxColor::rgb(200, 10, 10); });
    save(black, folder + "/black.ico", kCxFormatIco);
    expectMagickReads(folder + "/black.ico", black, [&](int x, int y) { return expectedAt(black, x, y); });

    CxImage alpha;
    fill24(alpha, 24, 16, smooth);
    alpha.AlphaCreate();
    for (int x = 0; x < 24; x++)
        alpha.AlphaSet(x, 3, x < 12 ? 0 : 255);
    save(alpha, folder + "/alpha.ico", kCxFormatIco);
    expectMagickReads(folder + "/alpha.ico", alpha, [&](int x, int y) {
        Rgba e = expectedAt(alpha, x, y);
        e.a = alpha.AlphaGet(x, 15 - y);
        return e;
    });
}

TEST(Encoders, MagickReadsOurWbmp)
{
    const std::string folder = scratchFolder();
    CxImage image;
    fillIndexed(image, 131, 9, 1, [](int x, int y) { return uint8_t((x + y) % 3 == 0); });
    save(image, folder + "/picture.wbmp", kCxFormatWbmp);
    const Bytes wbmp = readFile(folder + "/picture.wbmp");
    EXPECT_EQ(Bytes(wbmp.begin(), wbmp.begin() + 5), (Bytes{0, 0, 0x81, 0x03, 9}));
    expectMagickReads(folder + "/picture.wbmp", image, [&](int x, int y) { return expectedAt(image, x, y); });
}

namespace {

struct Decoded {
    int width = 0, height = 0, components = 0;
    bool progressive = false;
    std::vector<uint8_t> samples;
};

Decoded decodeJpeg(const Bytes& bytes)
{
    Decoded d;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    d.progressive = cinfo.progressive_mode;
    jpeg_start_decompress(&cinfo);
    d.width = int(cinfo.output_width);
    d.height = int(cinfo.output_height);
    d.components = cinfo.output_components;
    d.samples.resize(size_t(d.width) * d.height * size_t(d.components));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &d.samples[size_t(cinfo.output_scanline) * d.width * size_t(d.components)];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

double psnr(const Decoded& d, const std::vector<uint8_t>& reference)
{
    double error = 0;
    for (size_t i = 0; i < reference.size(); i++)
        error += (double(d.samples[i]) - reference[i]) * (double(d.samples[i]) - reference[i]);
    error /= double(reference.size());
    return error == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / error);
}

} // namespace

TEST(Encoders, LibjpegDecodesOurJpegAboveThirtyFiveDecibels)
{
    // name, bits, option, components, progressive
    const std::tuple<const char*, int, uint32_t, int, bool> cases[] = {
        {"colour", 24, 0, 3, false},
        {"colour progressive", 24, 4, 3, true},
        {"colour 4:4:4 optimised", 24, 0x2002, 3, false},
        {"grey ramp", 8, 0, 1, false},
        {"4-bit grey ramp", 4, 0, 1, false},
    };
    for (const auto& [name, bits, option, components, progressive] : cases) {
        SCOPED_TRACE(name);
        CxImage image;
        std::vector<uint8_t> reference;
        const int width = 161, height = 97;
        if (bits == 24) {
            fill24(image, width, height, smooth);
        } else {
            ASSERT_TRUE(image.Create(width, height, uint32_t(bits), 0));
            const uint32_t n = image.GetColorsUsed();
            for (uint32_t i = 0; i < n; i++)
                image.SetPaletteEntry(uint8_t(i), uint8_t(i), uint8_t(i), uint8_t(i));
            for (int y = 0; y < height; y++)
                for (int x = 0; x < width; x++)
                    image.PutPixelIndex(x, height - 1 - y, uint8_t((x + y) * (n - 1) / (width + height)));
        }
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                const CxColor c = image.PixelColorAt(x, height - 1 - y, false);
                if (bits == 24)
                    reference.insert(reference.end(), {c.red, c.green, c.blue});
                else
                    reference.push_back(c.red);
            }
        image.SetCodecOption(option, kCxFormatJpg);
        const Decoded d = decodeJpeg(encode(image, kCxFormatJpg));
        ASSERT_EQ(d.width, width);
        ASSERT_EQ(d.height, height);
        ASSERT_EQ(d.components, components);
        EXPECT_EQ(d.progressive, progressive);
        EXPECT_GT(psnr(d, reference), 35.0);
    }
}

TEST(Encoders, RefusalsGiveTheirTexts)
{
    CxImage colour8;
    fillIndexed(colour8, 8, 8, 8, [](int x, int) { return uint8_t(x); });
    CxImage big;
    fill24(big, 256, 4, smooth);
    CxImage empty;
    // image, format, text
    const std::tuple<CxImage*, int, const char*> cases[] = {
        {&colour8, kCxFormatJpg, "JPEG can save only RGB or GreyScale images"},
        {&big, kCxFormatIco, "Can't save this image as icon"},
        {&colour8, kCxFormatWbmp, "Can't save this image as WBMP"},
        {&colour8, kCxFormatWmf, "Save WMF not supported"},
        {&colour8, 4, "Encode: Unknown format"},
        {&colour8, 6, "Encode: Unknown format"},
        {&colour8, 7, "Encode: Unknown format"},
        {&empty, kCxFormatBmp, "null image!!!"},
        {&empty, kCxFormatJpg, "null image!!!"},
    };
    for (const auto& [image, format, text] : cases) {
        CxMemFile file;
        file.Open();
        EXPECT_FALSE(image->Encode(&file, format)) << text;
        EXPECT_STREQ(image->GetLastError(), text) << format;
    }
    for (const int format : {kCxFormatBmp, kCxFormatGif, kCxFormatJpg, kCxFormatIco, kCxFormatPcx, kCxFormatWbmp}) {
        EXPECT_FALSE(colour8.Encode(nullptr, format));
        EXPECT_STREQ(colour8.GetLastError(), "null file handler");
    }
}

TEST(Encoders, ShortWritesAreFailures)
{
    class FullFile : public CxMemFile {
    public:
        FullFile() { Open(); }
        size_t Write(const void*, size_t, size_t) override { return 0; }
        bool PutC(uint8_t) override { return false; }
    };
    CxImage colour;
    fill24(colour, 40, 40, smooth);
    CxImage mono;
    fillIndexed(mono, 40, 40, 1, [](int x, int) { return uint8_t(x & 1); });
    const std::tuple<CxImage*, int> cases[] = {{&colour, kCxFormatBmp}, {&colour, kCxFormatJpg}, {&colour, kCxFormatIco},
                                               {&colour, kCxFormatPcx}, {&mono, kCxFormatWbmp}, {&mono, kCxFormatGif}};
    for (const auto& [image, format] : cases) {
        FullFile full;
        EXPECT_FALSE(image->Encode(&full, format)) << format;
        EXPECT_STRNE(image->GetLastError(), "") << format;
    }
}
