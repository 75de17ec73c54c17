// Colour reads at fractional positions, with the overflow rules for points
// outside the image.
#include "image/cx_image.h"
#include "image/image_geometry.h"
#include "image/interpolation_kernels.h"

#include <cmath>

namespace {

constexpr CxColor kWhite{255, 255, 255, 0};

bool movesInside(int overflow)
{
    return overflow == kCxOverflowWrap || overflow == kCxOverflowRepeat || overflow == kCxOverflowMirror;
}

int64_t moveInside(int64_t c, int64_t size, int overflow)
{
    switch (overflow) {
    case kCxOverflowWrap: c %= size; return c < 0 ? c + size : c;
    case kCxOverflowRepeat: return c < 0 ? 0 : c >= size ? size - 1 : c;
    default: // mirror
        if (c < 0)
            return (-c) % size;
        if (c >= size)
            return size - (c % size) - 1;
        return c;
    }
}

// The float form; NaN lands on 0 so that no later conversion sees it.
float moveInside(float c, float size, int overflow)
{
    if (std::isnan(c))
        return 0.0f;
    float r;
    switch (overflow) {
    case kCxOverflowWrap:
        if (std::isinf(c))
            return 0.0f;
        r = std::fmod(c, size);
        if (r < 0)
            r += size;
        break;
    case kCxOverflowRepeat: r = c < 0 ? 0 : c > size - 1 ? size - 1 : c; break;
    default:
        if (std::isinf(c))
            return 0.0f;
        r = c < 0 ? std::fmod(-c, size) : c >= size ? size - std::fmod(c, size) - 1 : c;
        break;
    }
    return r < 0 ? 0 : r >= size ? size - 1 : r;
}

// A coordinate far enough outside that no neighbour within `reach` is inside,
// or one that no integer holds.
bool farOutside(float c, int64_t size, int reach)
{
    return !(c > -reach - 1.0f && c < float(size + reach));
}

} // namespace

CxColor CxImage::OverflowColor(int64_t x, int64_t y, int overflow, const CxColor* given) const
{
    if (!dib_)
        return given ? *given : kWhite;
    if (Contains(x, y))
        return PixelColorAtUnchecked(x, y, true);
    const CxColor fallback = given ? *given : kWhite;
    switch (overflow) {
    case kCxOverflowWrap:
    case kCxOverflowRepeat:
    case kCxOverflowMirror:
        return PixelColorAtUnchecked(moveInside(x, header_.width, overflow), moveInside(y, header_.height, overflow),
                                     true);
    case kCxOverflowBackground:
        return info_.transparentIndex >= 0 ? TransparentColor() : fallback;
    case kCxOverflowTransparent:
        if (alpha_) {
            CxColor c = fallback;
            c.reserved = 0;
            return c;
        }
        return info_.transparentIndex >= 0 ? TransparentColor() : fallback;
    default: return fallback;
    }
}

CxColor CxImage::InterpolatedColor(float x, float y, int method, int overflow, const CxColor* given) const
{
    if (!dib_)
        return given ? *given : kWhite;
    const int reach = method == kCxInterpolationNearest ? 1 : cxKernelReach(method);
    if (movesInside(overflow)) {
        x = moveInside(x, float(header_.width), overflow);
        y = moveInside(y, float(header_.height), overflow);
    } else if (farOutside(x, header_.width, reach) || farOutside(y, header_.height, reach)) {
        return OverflowColor(-1, -1, overflow, given);
    }
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int64_t ix = static_cast<int64_t>(fx);
    const int64_t iy = static_cast<int64_t>(fy);
    if (method == kCxInterpolationNearest)
        return OverflowColor(ix, iy, overflow, given);

    float sum[4] = {0, 0, 0, 0};
    const bool bilinear = cxKernelReach(method) == 1;
    for (int64_t j = iy - reach + 1; j <= iy + reach; j++) {
        const float wy = bilinear ? 1.0f - std::fabs(float(j) - y) : cxKernel(method, float(j) - y);
        for (int64_t i = ix - reach + 1; i <= ix + reach; i++) {
            const float w = wy * (bilinear ? 1.0f - std::fabs(float(i) - x) : cxKernel(method, float(i) - x));
            if (w == 0.0f)
                continue;
            const CxColor c = OverflowColor(i, j, overflow, given);
            sum[0] += w * c.blue;
            sum[1] += w * c.green;
            sum[2] += w * c.red;
            sum[3] += w * c.reserved;
        }
    }
    uint8_t out[4];
    for (int k = 0; k < 4; k++) {
        const float v = sum[k] + 0.5f;
        out[k] = v <= 0.0f ? 0 : v >= 255.0f ? 255 : static_cast<uint8_t>(v);
    }
    return {out[0], out[1], out[2], out[3]};
}

CxColor CxImage::AreaInterpolatedColor(float x, float y, float width, float height, int method, int overflow,
                                       const CxColor* given) const
{
    if (!dib_)
        return given ? *given : kWhite;
    const CxRectF box(x - width / 2, y - height / 2, x + width / 2, y + height / 2);
    const float surface = box.Surface();
    // A box without area, or one no loop could walk, reads the point.
    if (!(surface > 0.0f) || !std::isfinite(surface) || width > 4.0f * float(header_.width) + 4 ||
        height > 4.0f * float(header_.height) + 4 || farOutside(x, header_.width, int(width) + 2) ||
        farOutside(y, header_.height, int(height) + 2))
        return InterpolatedColor(x, y, method, overflow, given);

    float sum[4] = {0, 0, 0, 0};
    // Pixel (i, j) covers i - 0.5 .. i + 0.5, so its centre is the point (i, j).
    const int64_t left = static_cast<int64_t>(std::floor(box.topLeft.x + 0.5f));
    const int64_t right = static_cast<int64_t>(std::ceil(box.bottomRight.x + 0.5f));
    const int64_t top = static_cast<int64_t>(std::floor(box.topLeft.y + 0.5f));
    const int64_t bottom = static_cast<int64_t>(std::ceil(box.bottomRight.y + 0.5f));
    for (int64_t j = top; j < bottom; j++) {
        for (int64_t i = left; i < right; i++) {
            const CxRectF pixel(float(i) - 0.5f, float(j) - 0.5f, float(i) + 0.5f, float(j) + 0.5f);
            const float w = box.CrossSection(pixel).Surface();
            if (w <= 0.0f)
                continue;
            const CxColor c = OverflowColor(i, j, overflow, given);
            sum[0] += w * c.blue;
            sum[1] += w * c.green;
            sum[2] += w * c.red;
            sum[3] += w * c.reserved;
        }
    }
    uint8_t out[4];
    for (int k = 0; k < 4; k++) {
        const float v = sum[k] / surface + 0.5f;
        out[k] = v <= 0.0f ? 0 : v >= 255.0f ? 255 : static_cast<uint8_t>(v);
    }
    return {out[0], out[1], out[2], out[3]};
}
