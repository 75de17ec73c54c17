// The image against a 32-bit pixel view: the capture's conversion into a
// 24-bit image, and drawing (1:1, scaled, smoothed, blended) into a view
// within its clip.
#include "image/cx_image.h"
#include "image/interpolation_kernels.h"

#include <cmath>
#include <cstring>

bool CxImage::CreateFromPixels(const CxPixelView& source)
{
    if (!Destroy())
        return false;
    if (!source.pixels || source.width <= 0 || source.height <= 0) {
        SetLastError("GetDIBits failed");
        return false;
    }
    if (!Create(uint32_t(source.width), uint32_t(source.height), 32, 0))
        return false;
    for (int64_t y = 0; y < source.height; y++) {
        const uint32_t* in = source.row(int32_t(source.height - 1 - y));
        uint8_t* out = RowPointer(y);
        for (int64_t x = 0; x < source.width; x++) {
            out[x * 3] = static_cast<uint8_t>(in[x]);
            out[x * 3 + 1] = static_cast<uint8_t>(in[x] >> 8);
            out[x * 3 + 2] = static_cast<uint8_t>(in[x] >> 16);
        }
        std::memset(out + int64_t(source.width) * 3, 0, size_t(info_.stride - int64_t(source.width) * 3));
    }
    return true;
}

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t packed(CxColor c)
{
    return kOpaque | uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
}

uint8_t blendChannel(uint32_t source, uint32_t background, uint32_t alpha)
{
    return static_cast<uint8_t>((source * alpha + background * (255 - alpha)) >> 8);
}

} // namespace

int CxImage::Draw(const CxDrawTarget& target, int32_t x, int32_t y, int32_t width, int32_t height,
                  const CxPixelRect* clip, bool smooth) const
{
    if (!dib_ || !target.view.pixels || width == 0 || height == 0 || !info_.enabled)
        return 0;
    if (width < 0)
        width = GetWidth();
    if (height < 0)
        height = GetHeight();

    CxPixelRect clipBox = target.clip.intersect(target.view.bounds());
    if (clip)
        clipBox = clipBox.intersect(*clip);
    const CxPixelRect drawn{x, y, int32_t(int64_t(x) + width), int32_t(int64_t(y) + height)};
    const CxPixelRect painted = drawn.intersect(clipBox);
    if (painted.isEmpty())
        return 1;

    const bool blend = info_.transparentIndex >= 0 || alpha_ || info_.alphaPalette;
    const bool scaled = width != GetWidth() || height != GetHeight();
    const float xScale = float(GetWidth()) / float(width);
    const float yScale = float(GetHeight()) / float(height);
    const bool palette = HasPalette();
    const CxColor transparent = TransparentColor();

    for (int32_t ty = painted.top; ty < painted.bottom; ty++) {
        uint32_t* out = target.view.row(ty);
        const int64_t t = ty - y; // 0 = top line of the drawing rectangle
        float fy = float(GetHeight() - 1 - t);
        int64_t sy = GetHeight() - 1 - t;
        if (scaled) {
            fy = float(GetHeight()) - float(t + 1) * yScale;
            sy = fy < 0 ? 0 : int64_t(fy);
        }
        for (int32_t tx = painted.left; tx < painted.right; tx++) {
            const int64_t k = tx - x;
            const float fx = scaled ? float(k) * xScale : float(k);
            const int64_t sx = fx < 0 ? 0 : int64_t(fx);
            if (sx >= GetWidth() || sy >= GetHeight())
                continue;

            uint8_t index = 0;
            CxColor color;
            if (palette) {
                index = PixelIndexAtUnchecked(sx, sy);
                color = PaletteColor(index);
            } else {
                color = PixelColorAtUnchecked(sx, sy, false);
            }
            if (scaled && smooth) {
                color = xScale > 1.0f && yScale > 1.0f
                            ? AreaInterpolatedColor(fx - 0.5f, fy - 0.5f, xScale, yScale, kCxInterpolationBilinear,
                                                    kCxOverflowRepeat, nullptr)
                            : InterpolatedColor(fx - 0.5f, fy - 0.5f, kCxInterpolationBilinear, kCxOverflowRepeat,
                                                nullptr);
            }
            if (!blend) {
                out[tx] = packed(color);
                continue;
            }
            if (info_.transparentIndex >= 0) {
                const bool skip = palette ? index == info_.transparentIndex
                                          : color.red == transparent.red && color.green == transparent.green &&
                                                color.blue == transparent.blue;
                if (skip)
                    continue;
            }
            uint32_t a = alpha_ ? alpha_[sy * GetWidth() + sx] : 255;
            a = (a * (uint32_t(info_.alphaMax) + 1)) >> 8;
            if (palette && info_.alphaPalette)
                a = (a * (uint32_t(PaletteColor(index).reserved) + 1)) >> 8;
            if (a == 0)
                continue;
            if (a == 255) {
                out[tx] = packed(color);
                continue;
            }
            const uint32_t background = out[tx];
            out[tx] = kOpaque | uint32_t(blendChannel(color.red, (background >> 16) & 0xFF, a)) << 16 |
                      uint32_t(blendChannel(color.green, (background >> 8) & 0xFF, a)) << 8 |
                      blendChannel(color.blue, background & 0xFF, a);
        }
    }
    return 1;
}
