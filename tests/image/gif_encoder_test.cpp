// GIF files as bytes, and as giflib reads them back.
#include "image_test_support.h"

#include "image/cx_mem_file.h"
#include "image/encoders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <tuple>
#include <random>

using namespace imagetest;

namespace {

// Refuses every write.
class FullFile : public CxMemFile {
public:
    FullFile() { Open(); }
    size_t Write(const void*, size_t, size_t) override { return 0; }
    bool PutC(uint8_t) override { return false; }
};

} // namespace

TEST(GifBytes, OnePixelOfIndexFiveIsClearFiveEnd)
{
    CxImage image;
    fillIndexed(image, 1, 1, 8, [](int, int) { return uint8_t(5); });
    const Bytes gif = encode(image, kCxFormatGif);
    ASSERT_EQ(gif.size(), 807u);
    EXPECT_EQ(std::memcmp(gif.data(), "GIF89a\x01\x00\x01\x00\xE7\x00\x00", 13), 0);
    const Bytes tail(gif.begin() + 13 + 768, gif.end());
    const Bytes expected = {0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x00,
                            0x08, 0x04, 0x00, 0x0B, 0x04, 0x04, 0x00, 0x3B};
    EXPECT_EQ(tail, expected);
}

TEST(GifBytes, HeadersByDepth)
{
    // bits, packed byte, colour table bytes, minimum code size
    const std::tuple<int, uint8_t, size_t, uint8_t> cases[] = {
        {8, 0xE7, 768, 8}, {4, 0xE3, 48, 4}, {1, 0x80, 6, 2}};
    for (const auto& [bits, packed, table, codeSize] : cases) {
        CxImage image;
        fillIndexed(image, 1024, 768, bits, [](int x, int y) { return uint8_t((x / 7 + y / 5) % 2); });
        const Bytes gif = encode(image, kCxFormatGif);
        ASSERT_GT(gif.size(), 13 + table + 20);
        EXPECT_EQ(gif[6] | gif[7] << 8, 1024);
        EXPECT_EQ(gif[8] | gif[9] << 8, 768);
        EXPECT_EQ(gif[10], packed) << bits;
        for (size_t i = 0; i < table / 3; i++) {
            const CxColor c = image.PaletteColor(uint8_t(i));
            EXPECT_EQ(Bytes(gif.begin() + 13 + i * 3, gif.begin() + 16 + i * 3), (Bytes{c.red, c.green, c.blue}));
        }
        const Bytes control(gif.begin() + 13 + table, gif.begin() + 21 + table);
        EXPECT_EQ(control, (Bytes{0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0xFF, 0x00}));
        EXPECT_EQ(gif[21 + table], 0x2C);
        EXPECT_EQ(gif[31 + table], codeSize) << bits;
        EXPECT_EQ(gif.back(), 0x3B);
    }
}

TEST(GifBytes, WriteErrorIsAFailureWithItsText)
{
    CxImage image;
    fillIndexed(image, 64, 64, 8, [](int x, int y) { return uint8_t(x ^ y); });
    FullFile full;
    EXPECT_FALSE(image.Encode(&full, kCxFormatGif));
    EXPECT_STREQ(image.GetLastError(), "Write Error in GIF file");

    const std::string folder = scratchFolder();
    EXPECT_FALSE(image.Save((folder + "/missing/x.gif").c_str(), kCxFormatGif));
    CxImage empty;
    EXPECT_FALSE(empty.Save((folder + "/empty.gif").c_str(), kCxFormatGif));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");
    EXPECT_FALSE(std::ifstream(folder + "/empty.gif").good()) << "a failed encoding leaves no file";
    EXPECT_TRUE(image.Save((folder + "/ok.gif").c_str(), kCxFormatGif));
    EXPECT_EQ(readFile(folder + "/ok.gif"), encode(image, kCxFormatGif));
}

TEST(GifDecode, GiflibReadsOurIndicesTopRowFirst)
{
    std::mt19937 random(7);
    struct Case {
        const char* name;
        int width, height, bits;
        std::function<uint8_t(int, int)> index;
        int transparent;
        uint32_t option;
    };
    std::vector<uint8_t> noise(640 * 480);
    for (uint8_t& v : noise)
        v = uint8_t(random());
    const Case cases[] = {
        {"8-bit noise (many clears)", 640, 480, 8, [&](int x, int y) { return noise[size_t(y) * 640 + x]; }, -1, 0},
        {"odd-width gradient", 333, 77, 8, [](int x, int y) { return uint8_t((x * 255 / 332 + y) & 0xFF); }, -1, 0},
        {"4-bit", 101, 37, 4, [](int x, int y) { return uint8_t((x / 3 + y) % 16); }, -1, 0},
        {"1-bit", 99, 41, 1, [](int x, int y) { return uint8_t((x * x + y) % 3 == 0); }, -1, 0},
        {"transparent index 3", 50, 20, 8, [](int x, int y) { return uint8_t((x + y) % 6); }, 3, 0},
        {"codes without matching", 300, 200, 8, [&](int x, int y) { return noise[size_t(y) * 640 + x]; }, -1, 1},
        {"run coding falls to LZW", 64, 64, 8, [](int x, int) { return uint8_t(x / 16); }, -1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxImage image;
        fillIndexed(image, c.width, c.height, c.bits, c.index);
        if (c.transparent >= 0)
            image.SetTransparentIndex(c.transparent);
        image.SetCodecOption(c.option, kCxFormatGif);
        const GifReading gif = readGif(encode(image, kCxFormatGif));
        ASSERT_TRUE(gif.ok) << gif.error;
        ASSERT_EQ(gif.images.size(), 1u);
        EXPECT_EQ(gif.width, c.width);
        EXPECT_EQ(gif.height, c.height);
        EXPECT_EQ(gif.globalMap.size(), size_t(1) << c.bits);
        EXPECT_LE(gif.longestSubBlock, 254u);
        size_t wrong = 0;
        for (int y = 0; y < c.height; y++)
            for (int x = 0; x < c.width; x++)
                wrong += gif.images[0].indices[size_t(y) * c.width + x] != c.index(x, y);
        EXPECT_EQ(wrong, 0u);
        ASSERT_FALSE(gif.extensions.empty());
        const std::vector<uint8_t>& control = gif.extensions[0];
        ASSERT_EQ(control.size(), 5u);
        EXPECT_EQ(control[0], 0xF9);
        EXPECT_EQ(control[1] & 1, c.transparent >= 0 ? 1 : 0);
        EXPECT_EQ(control[4], c.transparent >= 0 ? c.transparent : 0xFF);
    }
}

TEST(GifDecode, TrueColourMosaicKeepsEveryColour)
{
    std::mt19937 random(11);
    CxImage image;
    fill24(image, 40, 33, [&](int, int) { return CxColor::rgb(uint8_t(random()), uint8_t(random()), uint8_t(random())); });
    const GifReading gif = readGif(encode(image, kCxFormatGif));
    ASSERT_TRUE(gif.ok) << gif.error;
    EXPECT_EQ(gif.images.size(), 3u * 3u); // 17 + 17 + 6 columns, 15 + 15 + 3 rows
    EXPECT_TRUE(gif.globalMap.empty());
    const std::vector<CxColor> picture = gifColours(gif);
    for (int y = 0; y < 33; y++)
        for (int x = 0; x < 40; x++) {
            CxColor expected = image.PixelColorAt(x, 32 - y, false);
            expected.reserved = 0;
            ASSERT_EQ(picture[size_t(y) * 40 + x], expected) << x << "," << y;
        }
}

TEST(GifDecode, FramesWithTheLoopExtension)
{
    CxImage image;
    fillIndexed(image, 30, 20, 8, [](int, int) { return uint8_t(0); });
    for (int f = 0; f < 3; f++) {
        auto* frame = new CxImage;
        fillIndexed(*frame, 30, 20, 8, [f](int x, int y) { return uint8_t(x * 3 + y + f * 50); });
        frame->SetFrameDelay(uint32_t(10 + f));
        image.AppendFrame(frame);
    }
    const GifReading gif = readGif(encode(image, kCxFormatGif));
    ASSERT_TRUE(gif.ok) << gif.error;
    ASSERT_EQ(gif.images.size(), 3u);
    for (int f = 0; f < 3; f++)
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 30; x++)
                ASSERT_EQ(gif.images[size_t(f)].indices[size_t(y) * 30 + x], uint8_t(x * 3 + y + f * 50));
    const std::vector<uint8_t> application = {0xFF, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const std::vector<uint8_t> loopForever = {0x00, 0x01, 0x00, 0x00};
    std::vector<int> delays;
    bool sawApplication = false, sawLoop = false;
    for (const auto& e : gif.extensions) {
        sawApplication |= e == application;
        sawLoop |= e == loopForever;
        if (e[0] == 0xF9)
            delays.push_back(e[2] | e[3] << 8);
    }
    EXPECT_TRUE(sawApplication);
    EXPECT_TRUE(sawLoop);
    EXPECT_EQ(delays, (std::vector<int>{10, 11, 12}));

    CxImage trueColour;
    trueColour.Create(4, 4, 8, 0);
    trueColour.AppendFrame(new CxImage);
    trueColour.AppendFrame(new CxImage);
    EXPECT_FALSE(trueColour.Encode(nullptr, kCxFormatGif));
    EXPECT_STREQ(trueColour.GetLastError(), "null file handler");
    CxMemFile file;
    file.Open();
    EXPECT_FALSE(trueColour.Encode(&file, kCxFormatGif));
    EXPECT_STREQ(trueColour.GetLastError(), "Empty image");
}
