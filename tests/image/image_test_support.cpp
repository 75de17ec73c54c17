#include "image_test_support.h"

#include "image/cx_mem_file.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace imagetest {

std::string scratchFolder()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("quorbel-image-" + std::to_string(getpid())) /
                                         (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string run(const std::string& command, const char* package, int* status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return output;
    }
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int result = pclose(pipe);
    const int code = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    if (code == 127)
        ADD_FAILURE() << "'" << command << "' needs the Debian package " << package;
    if (status)
        *status = code;
    return output;
}

Bytes magickRgba(const std::string& path, int& width, int& height)
{
    width = height = 0;
    int status = 0;
    const std::string size = run("convert -version >/dev/null 2>&1 && identify -format '%w %h' '" + path + "[0]'",
                                 "imagemagick", &status);
    if (status != 0 || std::sscanf(size.c_str(), "%d %d", &width, &height) != 2) {
        ADD_FAILURE() << "ImageMagick (Debian package imagemagick) cannot read " << path << ": " << size;
        return {};
    }
    const std::string rgba = run("convert '" + path + "[0]' -depth 8 rgba:-", "imagemagick", &status);
    EXPECT_EQ(status, 0) << path;
    return Bytes(rgba.begin(), rgba.end());
}

void fill24(CxImage& image, int width, int height, const std::function<CxColor(int, int)>& colour)
{
    ASSERT_TRUE(image.Create(uint32_t(width), uint32_t(height), 24, 0));
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            image.PutPixelColor(x, height - 1 - y, colour(x, y));
}

void fillIndexed(CxImage& image, int width, int height, int bits, const std::function<uint8_t(int, int)>& index)
{
    ASSERT_TRUE(image.Create(uint32_t(width), uint32_t(height), uint32_t(bits), 0));
    image.ApplyDefaultPalette();
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            image.PutPixelIndex(x, height - 1 - y, index(x, y));
}

Bytes encode(CxImage& image, int format)
{
    CxMemFile file;
    file.Open();
    EXPECT_TRUE(image.Encode(&file, format)) << image.GetLastError();
    const uint8_t* data = file.GetBuffer(false);
    return Bytes(data, data + file.Size());
}

std::vector<uint32_t> desktopPixels(int width, int height)
{
    std::vector<uint32_t> pixels(size_t(width) * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            pixels[size_t(y) * width + x] = uint32_t(0x20 + y * 0x60 / height) << 8 | uint32_t(0x40 + x * 0x80 / width);
    const uint32_t faces[] = {0xF0F0F0, 0xFFFFFF, 0xD4D0C8, 0x1E1E1E, 0xFF0000, 0x3A6EA5};
    uint32_t seed = 12345;
    for (int w = 0; w < 6; w++) {
        const int left = width * w / 8, top = height * w / 9;
        const int right = left + width / 3, bottom = top + height / 3;
        for (int y = top; y < bottom && y < height; y++)
            for (int x = left; x < right && x < width; x++) {
                uint32_t c = y < top + 24 ? 0x000080 + uint32_t((x - left) * 0x7F / (right - left)) : faces[w];
                seed = seed * 1103515245u + 12345u;
                if (y > top + 30 && (y / 12) % 2 == 0 && ((seed >> 16) & 7) == 0)
                    c = 0x000000; // speckle of text
                pixels[size_t(y) * width + x] = c;
            }
    }
    return pixels;
}

namespace {

struct MemoryReader {
    const Bytes* bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int n)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t left = reader->bytes->size() - reader->position;
    const size_t count = size_t(n) < left ? size_t(n) : left;
    std::memcpy(out, reader->bytes->data() + reader->position, count);
    reader->position += count;
    return int(count);
}

std::vector<CxColor> colours(const ColorMapObject* map)
{
    std::vector<CxColor> out;
    for (int i = 0; map && i < map->ColorCount; i++)
        out.push_back(CxColor::rgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue));
    return out;
}

// The longest data sub-block anywhere in the file, found by walking it.
size_t longestSubBlock(const Bytes& b)
{
    size_t longest = 0;
    size_t p = 13;
    if (b.size() < 13)
        return 0;
    if (b[10] & 0x80)
        p += 3u << ((b[10] & 7) + 1);
    auto blocks = [&] {
        while (p < b.size() && b[p] != 0) {
            longest = std::max<size_t>(longest, b[p]);
            p += b[p] + 1u;
        }
        p++;
    };
    while (p < b.size() && b[p] != 0x3B) {
        if (b[p] == 0x21) {
            p += 2;
            blocks();
        } else if (b[p] == 0x2C) {
            const uint8_t packed = b[p + 9];
            p += 10;
            if (packed & 0x80)
                p += 3u << ((packed & 7) + 1);
            p++; // minimum code size
            blocks();
        } else {
            break;
        }
    }
    return longest;
}

} // namespace

GifReading readGif(const Bytes& bytes)
{
    GifReading result;
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
    if (!gif) {
        result.error = GifErrorString(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        result.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    result.globalMap = colours(gif->SColorMap);
    auto keep = [&](int count, const ExtensionBlock* blocks) {
        for (int i = 0; i < count; i++) {
            std::vector<uint8_t> e{uint8_t(blocks[i].Function)};
            e.insert(e.end(), blocks[i].Bytes, blocks[i].Bytes + blocks[i].ByteCount);
            result.extensions.push_back(e);
        }
    };
    keep(gif->ExtensionBlockCount, gif->ExtensionBlocks);
    for (int i = 0; i < gif->ImageCount; i++) {
        const SavedImage& s = gif->SavedImages[i];
        keep(s.ExtensionBlockCount, s.ExtensionBlocks);
        GifImage image{s.ImageDesc.Left, s.ImageDesc.Top, s.ImageDesc.Width, s.ImageDesc.Height, {}, {}};
        image.indices.assign(s.RasterBits, s.RasterBits + size_t(image.width) * image.height);
        image.localMap = colours(s.ImageDesc.ColorMap);
        result.images.push_back(image);
    }
    result.longestSubBlock = longestSubBlock(bytes);
    result.ok = true;
    DGifCloseFile(gif, &error);
    return result;
}

std::vector<CxColor> gifColours(const GifReading& gif)
{
    std::vector<CxColor> picture(size_t(gif.width) * gif.height);
    for (const GifImage& image : gif.images) {
        const std::vector<CxColor>& map = image.localMap.empty() ? gif.globalMap : image.localMap;
        for (int y = 0; y < image.height; y++)
            for (int x = 0; x < image.width; x++) {
                const uint8_t index = image.indices[size_t(y) * image.width + x];
                if (index < map.size() && image.top + y < gif.height && image.left + x < gif.width)
                    picture[size_t(image.top + y) * gif.width + image.left + x] = map[index];
            }
    }
    return picture;
}

int nearestEntry(const std::vector<CxColor>& table, CxColor colour)
{
    int best = 0, bestDistance = 1 << 30;
    for (size_t i = 0; i < table.size(); i++) {
        const int dr = table[i].red - colour.red, dg = table[i].green - colour.green, db = table[i].blue - colour.blue;
        if (dr * dr + dg * dg + db * db < bestDistance) {
            bestDistance = dr * dr + dg * dg + db * db;
            best = int(i);
        }
    }
    return best;
}

GifReading readScreenGif(const std::string& path, const platform::Image& screen)
{
    GifReading gif = readGif(readFile(path));
    if (!gif.ok) {
        ADD_FAILURE() << "giflib cannot read " << path << ": " << gif.error;
        return gif;
    }
    const int width = screen.width(), height = screen.height();
    if (gif.width != width || gif.height != height || gif.images.size() != 1 || gif.images[0].width != width ||
        gif.images[0].height != height) {
        ADD_FAILURE() << path << " is " << gif.width << " x " << gif.height << " in " << gif.images.size()
                      << " images, not one of the screen's " << width << " x " << height;
        gif.ok = false;
        return gif;
    }
    CxImage fixed;
    fixed.Create(1, 1, 8, 0);
    fixed.ApplyDefaultPalette();
    std::vector<CxColor> table;
    for (int i = 0; i < 256; i++) {
        table.push_back(fixed.PaletteColor(uint8_t(i)));
        table.back().reserved = 0;
    }
    EXPECT_TRUE(gif.globalMap == table) << "the global table is not the default palette";
    int wrong = 0;
    std::string first;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const uint32_t p = screen.pixels()[size_t(y) * size_t(screen.stride()) + size_t(x)];
            const int expected = nearestEntry(table, CxColor::rgb(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)));
            if (gif.images[0].indices[size_t(y) * size_t(width) + size_t(x)] != expected && wrong++ == 0)
                first = std::to_string(x) + "," + std::to_string(y) + " wants " + std::to_string(expected);
        }
    EXPECT_EQ(wrong, 0) << "pixels off their nearest entry, first " << first;
    return gif;
}

} // namespace imagetest
