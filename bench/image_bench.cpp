// The screenshot's road at 1920 x 1080: reduction to the fixed 8-bit palette
// and GIF encoding, for a desktop-like picture (large flat areas) and for
// noise (every pixel different). giflib's encoder of the same indices is the
// reference for the GIF step.
#include "image/cx_image.h"
#include "image/cx_mem_file.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::vector<uint32_t> desktop()
{
    std::vector<uint32_t> p(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; y++)
        for (int x = 0; x < kWidth; x++)
            p[size_t(y) * kWidth + x] = uint32_t(0x30 + y * 0x50 / kHeight) << 8 | uint32_t(0x50 + x * 0x60 / kWidth);
    std::mt19937 random(1);
    const uint32_t faces[] = {0xF0F0F0, 0xFFFFFF, 0xD4D0C8, 0x1E1E1E, 0x3A6EA5, 0xECE9D8, 0x202830, 0xFAFAFA};
    for (int w = 0; w < 8; w++) {
        const int left = 60 + w * 170, top = 40 + w * 95, right = left + 900, bottom = top + 560;
        for (int y = top; y < bottom && y < kHeight; y++)
            for (int x = left; x < right && x < kWidth; x++) {
                uint32_t c = y < top + 30 ? 0x0A246A + uint32_t((x - left) * 0x60 / 900) * 0x010101 : faces[w];
                if (y > top + 40 && (y - top) % 16 < 9 && (random() & 3) == 0)
                    c = (random() & 1) ? 0x000000 : 0x404040; // text
                p[size_t(y) * kWidth + x] = c;
            }
    }
    return p;
}

std::vector<uint32_t> noise()
{
    std::vector<uint32_t> p(size_t(kWidth) * kHeight);
    std::mt19937 random(2);
    for (uint32_t& v : p)
        v = random() & 0xFFFFFF;
    return p;
}

void capture(CxImage& image, std::vector<uint32_t>& pixels)
{
    image.CreateFromPixels({reinterpret_cast<uint8_t*>(pixels.data()), kWidth, kHeight, kWidth * 4});
}

void reduce(benchmark::State& state, std::vector<uint32_t> (*picture)())
{
    std::vector<uint32_t> pixels = picture();
    CxImage image;
    for (auto _ : state) {
        state.PauseTiming();
        capture(image, pixels);
        state.ResumeTiming();
        image.DecreaseBpp(8, false, nullptr, 0);
        benchmark::DoNotOptimize(image.RowPointer(0));
    }
}

void encodeGif(benchmark::State& state, std::vector<uint32_t> (*picture)())
{
    std::vector<uint32_t> pixels = picture();
    CxImage image;
    capture(image, pixels);
    image.DecreaseBpp(8, false, nullptr, 0);
    int64_t bytes = 0;
    for (auto _ : state) {
        CxMemFile file;
        file.Open();
        image.Encode(&file, kCxFormatGif);
        bytes = file.Size();
    }
    state.counters["bytes"] = double(bytes);
}

int toMemory(GifFileType* gif, const GifByteType* bytes, int n)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + n);
    return n;
}

void giflibReference(benchmark::State& state, std::vector<uint32_t> (*picture)())
{
    std::vector<uint32_t> pixels = picture();
    CxImage image;
    capture(image, pixels);
    image.DecreaseBpp(8, false, nullptr, 0);
    std::vector<GifByteType> rows(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; y++)
        std::memcpy(&rows[size_t(y) * kWidth], image.RowPointer(kHeight - 1 - y), kWidth);
    GifColorType colours[256];
    for (int i = 0; i < 256; i++) {
        const CxColor c = image.PaletteColor(uint8_t(i));
        colours[i] = {c.red, c.green, c.blue};
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        std::vector<uint8_t> out;
        int error = 0;
        GifFileType* gif = EGifOpen(&out, toMemory, &error);
        ColorMapObject* map = GifMakeMapObject(256, colours);
        EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
        EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
        for (int y = 0; y < kHeight; y++)
            EGifPutLine(gif, &rows[size_t(y) * kWidth], kWidth);
        EGifCloseFile(gif, &error);
        GifFreeMapObject(map);
        bytes = int64_t(out.size());
    }
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK_CAPTURE(reduce, desktop, desktop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(reduce, noise, noise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeGif, desktop, desktop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeGif, noise, noise)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(giflibReference, desktop, desktop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(giflibReference, noise, noise)->Unit(benchmark::kMillisecond);
