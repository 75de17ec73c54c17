// The canvas against bare pixman on the same images, in the same run:
//  - 1:1 copies of the editor window (723 x 499) and of 1920 x 1080;
//  - 2x stretches to 1446 x 998 and, from 960 x 540, to 1920 x 1080;
//  - a 1920 x 1080 page of 8 x 8 bitmap-font glyphs, each cell filled and
//    its glyph copied keyed (the reference fills and copies unkeyed: pixman
//    has no colour key).
// Compare each Canvas* figure with its Pixman* twin. Arguments: sizes.

#include "platform/graphics/canvas.h"
#include "platform/graphics/image_surface.h"
#include "resources/resource_ids.h"
#include "resources/resources.h"

#include <benchmark/benchmark.h>

namespace {

using namespace platform;

Image pattern(int width, int height)
{
    Image image(width, height);
    uint32_t* pixels = image.mutablePixels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * image.stride() + x] = toPixel(rgb(uint8_t(x * 7), uint8_t(y * 3), uint8_t(x ^ y)));
    return image;
}

pixman_image_t* bare(const Image& image) { return image.surface()->pixman; }

void CanvasCopy(benchmark::State& state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const Image source = pattern(w, h);
    Image target(w, h);
    Canvas canvas(target);
    for (auto _ : state)
        canvas.copy(source, target.bounds(), {0, 0});
    benchmark::DoNotOptimize(target.pixels());
}

void PixmanCopy(benchmark::State& state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const Image source = pattern(w, h);
    Image target(w, h);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, bare(source), nullptr, bare(target), 0, 0, 0, 0, 0, 0, w, h);
    benchmark::DoNotOptimize(target.pixels());
}

void CanvasStretch2x(benchmark::State& state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const Image source = pattern(w, h);
    Image target(2 * w, 2 * h);
    Canvas canvas(target);
    for (auto _ : state)
        canvas.stretch(source, source.bounds(), target.bounds());
    benchmark::DoNotOptimize(target.pixels());
}

void PixmanStretch2x(benchmark::State& state)
{
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    const Image source = pattern(w, h);
    Image target(2 * w, 2 * h);
    pixman_transform half;
    pixman_transform_init_scale(&half, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    pixman_image_set_transform(bare(source), &half);
    pixman_image_set_filter(bare(source), PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state)
        pixman_image_composite32(PIXMAN_OP_SRC, bare(source), nullptr, bare(target), 0, 0, 0, 0, 0, 0, 2 * w, 2 * h);
    benchmark::DoNotOptimize(target.pixels());
}

constexpr int kPageWidth = 1920;
constexpr int kPageHeight = 1080;

void CanvasGlyphPage(benchmark::State& state)
{
    const Image font = resources::loadBitmap(resources::kFontNormal);
    Image page(kPageWidth, kPageHeight);
    Canvas canvas(page);
    for (auto _ : state) {
        unsigned char c = 0;
        for (int y = 0; y < kPageHeight; y += 8)
            for (int x = 0; x < kPageWidth; x += 8, ++c) {
                canvas.fillRect({x, y, x + 8, y + 8}, rgb(0, 0, 0));
                canvas.copyKeyed(font, {x, y, x + 8, y + 8}, {(c % 16) * 8, (c / 16) * 8}, kKeyGreen);
            }
    }
    benchmark::DoNotOptimize(page.pixels());
    state.counters["glyphs"] = (kPageWidth / 8) * (kPageHeight / 8);
}

void PixmanGlyphPage(benchmark::State& state)
{
    const Image font = resources::loadBitmap(resources::kFontNormal);
    Image page(kPageWidth, kPageHeight);
    uint32_t* bits = page.mutablePixels();
    for (auto _ : state) {
        unsigned char c = 0;
        for (int y = 0; y < kPageHeight; y += 8)
            for (int x = 0; x < kPageWidth; x += 8, ++c) {
                pixman_fill(bits, page.stride(), 32, x, y, 8, 8, 0xFF000000u);
                pixman_image_composite32(PIXMAN_OP_SRC, bare(font), nullptr, bare(page), (c % 16) * 8,
                                         (c / 16) * 8, 0, 0, x, y, 8, 8);
            }
    }
    benchmark::DoNotOptimize(page.pixels());
    state.counters["glyphs"] = (kPageWidth / 8) * (kPageHeight / 8);
}

} // namespace

BENCHMARK(CanvasCopy)->Args({723, 499})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanCopy)->Args({723, 499})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(CanvasStretch2x)->Args({723, 499})->Args({960, 540})->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanStretch2x)->Args({723, 499})->Args({960, 540})->Unit(benchmark::kMillisecond);
BENCHMARK(CanvasGlyphPage)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanGlyphPage)->Unit(benchmark::kMillisecond);
