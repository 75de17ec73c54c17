// Scaling an image to a new size: nearest, bicubic B-spline, box shrink and
// bilinear. Float-to-integer conversions truncate toward zero.
#include "image/cx_image.h"
#include "image/interpolation_kernels.h"

#include <cmath>
#include <memory>
#include <new>
#include <utility>

namespace {

int64_t clampIndex(int64_t v, int64_t size)
{
    return v < 0 ? 0 : v >= size ? size - 1 : v;
}

uint8_t toByte(int64_t v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

} // namespace

bool CxImage::RowLoopStopped(int64_t row, int64_t rows)
{
    info_.progress = static_cast<int32_t>(100 * row / rows);
    return info_.escape != 0;
}

void CxImage::ResampleNearest(CxImage& result, float xScale, float yScale)
{
    const int64_t width = result.GetWidth(), height = result.GetHeight();
    for (int64_t y = 0; y < height; y++) {
        if (RowLoopStopped(y, height))
            break;
        const int64_t sy = clampIndex(int64_t(float(y) * yScale), GetHeight());
        for (int64_t x = 0; x < width; x++) {
            const int64_t sx = clampIndex(int64_t(float(x) * xScale), GetWidth());
            result.PutPixelColorUnchecked(x, y, PixelColorAtUnchecked(sx, sy, true));
        }
    }
}

void CxImage::ResampleBicubic(CxImage& result, float xScale, float yScale)
{
    const int64_t width = result.GetWidth(), height = result.GetHeight();
    for (int64_t y = 0; y < height; y++) {
        if (RowLoopStopped(y, height))
            break;
        const float fy = float(y) * yScale - 0.5f;
        const int64_t iy = static_cast<int64_t>(std::floor(fy));
        const float b = fy - std::floor(fy);
        uint8_t* row = result.RowPointer(y);
        for (int64_t x = 0; x < width; x++) {
            const float fx = float(x) * xScale - 0.5f;
            const int64_t ix = static_cast<int64_t>(std::floor(fx));
            const float a = fx - std::floor(fx);
            float red = 0, green = 0, blue = 0;
            for (int m = -1; m < 3; m++) {
                const float wy = cxKernel(kCxInterpolationBSpline, float(m) - b);
                const int64_t sy = clampIndex(iy + m, GetHeight());
                for (int n = -1; n < 3; n++) {
                    const float w = wy * cxKernel(kCxInterpolationBSpline, a - float(n));
                    const CxColor c = PixelColorAtUnchecked(clampIndex(ix + n, GetWidth()), sy, false);
                    red += w * c.red;
                    green += w * c.green;
                    blue += w * c.blue;
                }
            }
            const CxColor out{toByte(int64_t(blue)), toByte(int64_t(green)), toByte(int64_t(red)), 0};
            if (result.HasPalette()) {
                result.PutPixelColorUnchecked(x, y, out);
            } else {
                row[x * 3] = out.blue;
                row[x * 3 + 1] = out.green;
                row[x * 3 + 2] = out.red;
            }
        }
    }
}

// Area average with weights in thousandths: each source row adds into the
// current destination row, and a row on a boundary splits between the current
// and the next (carry). Only 24-bit images, only when both sides shrink.
bool CxImage::ResampleBoxShrink(CxImage& result, float xScale, float yScale)
{
    const int64_t newWidth = result.GetWidth(), newHeight = result.GetHeight();
    const size_t length = size_t(3 * newWidth + 3);
    std::unique_ptr<int64_t[]> first(new (std::nothrow) int64_t[length]());
    std::unique_ptr<int64_t[]> second(new (std::nothrow) int64_t[length]());
    if (!first || !second) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    int64_t* current = first.get();
    int64_t* carry = second.get();
    const int64_t scale = static_cast<int64_t>(double(xScale) * 1000.0 * double(yScale));
    if (scale <= 0)
        return false;
    auto writePixel = [&](int64_t u, int64_t destY) {
        if (u >= newWidth || destY >= newHeight)
            return;
        uint8_t* out = result.RowPointer(destY) + u * 3;
        for (int c = 0; c < 3; c++)
            out[c] = toByte(current[u * 3 + c] / scale);
    };

    int64_t destY = 0;
    float rowEnd = yScale - 1.0f;
    for (int64_t y = 0; y < GetHeight(); y++) {
        if (RowLoopStopped(y, GetHeight()))
            break;
        const uint8_t* source = RowPointer(y);
        float columnEnd = xScale - 1.0f;
        int64_t u = 0;
        if (float(y) < rowEnd) {
            for (int64_t x = 0; x < GetWidth(); x++) {
                const uint8_t* p = source + x * 3;
                if (float(x) < columnEnd || u + 1 > newWidth) {
                    for (int c = 0; c < 3; c++)
                        current[u * 3 + c] += 1000 * p[c];
                } else {
                    const int64_t w = static_cast<int64_t>((float(x) - columnEnd) * 1000.0f);
                    for (int c = 0; c < 3; c++) {
                        current[u * 3 + c] += (1000 - w) * p[c];
                        current[(u + 1) * 3 + c] += w * p[c];
                    }
                    columnEnd += xScale;
                    u++;
                }
            }
            continue;
        }
        const int64_t v = static_cast<int64_t>((float(y) - rowEnd) * 1000.0f);
        for (int64_t x = 0; x < GetWidth(); x++) {
            const uint8_t* p = source + x * 3;
            if (float(x) < columnEnd || u + 1 > newWidth) {
                for (int c = 0; c < 3; c++) {
                    current[u * 3 + c] += (1000 - v) * p[c];
                    carry[u * 3 + c] += v * p[c];
                }
            } else {
                const int64_t w = static_cast<int64_t>((float(x) - columnEnd) * 1000.0f);
                for (int c = 0; c < 3; c++)
                    current[u * 3 + c] += (1000 - v) * (1000 - w) * p[c] / 1000;
                writePixel(u, destY);
                for (int c = 0; c < 3; c++) {
                    carry[u * 3 + c] += v * (1000 - w) * p[c] / 1000;
                    current[(u + 1) * 3 + c] += (1000 - v) * w * p[c] / 1000;
                    carry[(u + 1) * 3 + c] = v * w * p[c] / 1000;
                }
                columnEnd += xScale;
                u++;
            }
        }
        if (u < newWidth)
            writePixel(u, destY);
        std::swap(current, carry);
        carry[0] = carry[1] = carry[2] = 0;
        destY++;
        rowEnd += yScale;
    }
    if (destY < newHeight)
        for (int64_t u = 0; u < newWidth; u++)
            writePixel(u, destY);
    return true;
}

void CxImage::ResampleBilinear(CxImage& result, float xScale, float yScale)
{
    const int64_t width = result.GetWidth(), height = result.GetHeight();
    for (int64_t y = 0; y < height; y++) {
        if (RowLoopStopped(y, height))
            break;
        const int64_t y0 = clampIndex(int64_t(float(y) * yScale), GetHeight());
        const int64_t y1 = y0 + 1 < GetHeight() ? y0 + 1 : GetHeight() - 1;
        const float dy = float(y) * yScale - float(y0);
        for (int64_t x = 0; x < width; x++) {
            const int64_t x0 = clampIndex(int64_t(float(x) * xScale), GetWidth());
            const int64_t x1 = x0 + 1 < GetWidth() ? x0 + 1 : GetWidth() - 1;
            const float dx = float(x) * xScale - float(x0);
            const CxColor c00 = PixelColorAtUnchecked(x0, y0, false), c01 = PixelColorAtUnchecked(x0, y1, false);
            const CxColor c10 = PixelColorAtUnchecked(x1, y0, false), c11 = PixelColorAtUnchecked(x1, y1, false);
            auto mix = [&](uint8_t a00, uint8_t a01, uint8_t a10, uint8_t a11) {
                const float left = a00 + (float(a01) - a00) * dy;
                const float right = a10 + (float(a11) - a10) * dy;
                return toByte(int64_t(left + (right - left) * dx));
            };
            const CxColor out{mix(c00.blue, c01.blue, c10.blue, c11.blue), mix(c00.green, c01.green, c10.green, c11.green),
                              mix(c00.red, c01.red, c10.red, c11.red), 0};
            result.PutPixelColorUnchecked(x, y, out);
        }
    }
}

bool CxImage::Resample(int32_t newWidth, int32_t newHeight, int mode, CxImage* destination)
{
    if (newWidth <= 0 || newHeight <= 0 || !dib_)
        return false;
    if (newWidth == GetWidth() && newHeight == GetHeight()) {
        if (destination && destination != this)
            destination->CopyImage(*this, true, true, true);
        return true;
    }
    const float xScale = float(GetWidth()) / float(newWidth);
    const float yScale = float(GetHeight()) / float(newHeight);
    CxImage result;
    result.CopyInfoFrom(*this);
    result.Create(uint32_t(newWidth), uint32_t(newHeight), GetBpp(), GetType());
    if (!result.HasPixels()) {
        SetLastError(result.GetLastError());
        return false;
    }
    result.LoadPalette(PaletteEntries(), GetColorsUsed() < 256 ? GetColorsUsed() : 256);

    switch (mode) {
    case 1: ResampleNearest(result, xScale, yScale); break;
    case 2: ResampleBicubic(result, xScale, yScale); break;
    default:
        if (newWidth < GetWidth() && newHeight < GetHeight() && GetBpp() == 24) {
            if (!ResampleBoxShrink(result, xScale, yScale))
                return false;
        } else {
            ResampleBilinear(result, xScale, yScale);
        }
        break;
    }

    if (alpha_ && result.AlphaCreate()) {
        for (int64_t y = 0; y < newHeight; y++) {
            const int64_t sy = clampIndex(int64_t(float(y) * yScale), GetHeight());
            for (int64_t x = 0; x < newWidth; x++)
                result.AlphaSet(x, y, AlphaGet(clampIndex(int64_t(float(x) * xScale), GetWidth()), sy));
        }
    }
    return destination ? destination->TakeBuffersFrom(&result, true) : TakeBuffersFrom(&result, true);
}
