// Settings, palette, pixel and plane access of an image.
#include "image/cx_image.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

void CxImage::SetTransparentIndex(int32_t index)
{
    info_.transparentIndex = index < int64_t(header_.colorsUsed) ? index : 0;
}

CxColor CxImage::TransparentColor() const
{
    if (header_.bitCount < 24 && info_.transparentIndex >= 0)
        return PaletteColor(static_cast<uint8_t>(info_.transparentIndex));
    return info_.transparentColor;
}

namespace {
int32_t pelsPerMeter(int32_t dpi)
{
    return static_cast<int32_t>(std::floor(dpi * 10000.0 / 254.0 + 0.5));
}
} // namespace

void CxImage::SetXDpi(int32_t dpi)
{
    info_.xDpi = dpi <= 0 ? 96 : dpi;
    header_.xPelsPerMeter = pelsPerMeter(info_.xDpi);
    StoreHeaderInBlock();
}

void CxImage::SetYDpi(int32_t dpi)
{
    info_.yDpi = dpi <= 0 ? 96 : dpi;
    header_.yPelsPerMeter = pelsPerMeter(info_.yDpi);
    StoreHeaderInBlock();
}

void CxImage::SetOffset(int32_t x, int32_t y)
{
    info_.xOffset = x;
    info_.yOffset = y;
}

uint32_t CxImage::CodecOption(int format) const
{
    int slot = codecSlotOf(format);
    if (slot <= 0)
        slot = codecSlotOf(info_.type);
    return info_.codecOptions[slot < 0 ? 0 : slot];
}

void CxImage::SetCodecOption(uint32_t option, int format)
{
    int slot = codecSlotOf(format);
    if (slot <= 0)
        slot = codecSlotOf(info_.type);
    info_.codecOptions[slot < 0 ? 0 : slot] = option;
}

uint8_t CxImage::GetJpegQuality() const
{
    const float q = info_.quality + 0.5f;
    return q <= 0.0f ? 0 : q >= 255.0f ? 255 : static_cast<uint8_t>(q);
}

uint8_t* CxImage::RowPointer(int64_t row) const
{
    if (row == 0)
        return info_.firstRow;
    if (!info_.firstRow || row < 0 || row >= header_.height)
        return nullptr;
    return info_.firstRow + row * info_.stride;
}

CxColor* CxImage::PaletteEntries() const
{
    if (!dib_ || header_.colorsUsed == 0)
        return nullptr;
    return reinterpret_cast<CxColor*>(dib_ + kBitmapHeaderBytes);
}

CxColor CxImage::PaletteColor(uint8_t index) const
{
    const CxColor* palette = PaletteEntries();
    return palette && index < header_.colorsUsed ? palette[index] : CxColor{};
}

void CxImage::SetPaletteEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    SetPaletteEntry(index, CxColor::rgb(red, green, blue, alpha));
}

void CxImage::SetPaletteEntry(uint8_t index, CxColor color)
{
    CxColor* palette = PaletteEntries();
    if (palette && index < header_.colorsUsed) {
        palette[index] = color;
        InvalidateNearestCache();
    }
}

void CxImage::LoadPalette(const CxColor* entries, uint32_t count)
{
    CxColor* palette = PaletteEntries();
    if (!palette || !entries)
        return;
    std::memcpy(palette, entries, (count < header_.colorsUsed ? count : header_.colorsUsed) * 4);
    InvalidateNearestCache();
}

void CxImage::SetImportantColors(uint32_t count)
{
    if (count == 0 || count > 256)
        header_.colorsImportant = 0;
    else if (header_.bitCount == 1)
        header_.colorsImportant = count < 2 ? count : 2;
    else if (header_.bitCount == 4)
        header_.colorsImportant = count < 16 ? count : 16;
    else if (header_.bitCount == 8)
        header_.colorsImportant = count;
    StoreHeaderInBlock();
}

uint8_t CxImage::NearestPaletteIndex(CxColor color)
{
    const CxColor* palette = PaletteEntries();
    if (!palette)
        return 0;
    if (info_.nearestValid && info_.nearestAsked == color)
        return info_.nearestAnswer;
    // The important count never reaches past the palette.
    uint32_t n = header_.colorsImportant ? header_.colorsImportant : header_.colorsUsed;
    if (n > header_.colorsUsed)
        n = header_.colorsUsed;
    int32_t best = 200000;
    uint32_t answer = 0;
    for (uint32_t i = 0; i < n; i++) {
        const int32_t db = int32_t(palette[i].blue) - color.blue;
        const int32_t dg = int32_t(palette[i].green) - color.green;
        const int32_t dr = int32_t(palette[i].red) - color.red;
        const int32_t distance = db * db + dg * dg + dr * dr;
        if (distance == 0) {
            answer = i;
            break;
        }
        if (distance < best) {
            best = distance;
            answer = i;
        }
    }
    info_.nearestAsked = color;
    info_.nearestAnswer = static_cast<uint8_t>(answer);
    info_.nearestValid = true;
    return info_.nearestAnswer;
}

uint8_t CxImage::PixelIndexAtUnchecked(int64_t x, int64_t y) const
{
    const uint8_t* row = info_.firstRow + y * info_.stride;
    switch (header_.bitCount) {
    case 8: return row[x];
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default: return 0;
    }
}

uint8_t CxImage::PixelIndexAt(int64_t x, int64_t y) const
{
    if (!dib_ || header_.colorsUsed == 0)
        return 0;
    if (!Contains(x, y))
        return info_.transparentIndex >= 0 ? static_cast<uint8_t>(info_.transparentIndex) : info_.firstRow[0];
    return PixelIndexAtUnchecked(x, y);
}

CxColor CxImage::PixelColorAtUnchecked(int64_t x, int64_t y, bool withAlpha) const
{
    CxColor c;
    if (header_.colorsUsed) {
        c = PaletteColor(PixelIndexAtUnchecked(x, y));
    } else {
        const uint8_t* p = info_.firstRow + y * info_.stride + x * 3;
        c = {p[0], p[1], p[2], info_.transparentColor.reserved};
    }
    if (withAlpha && alpha_)
        c.reserved = alpha_[y * header_.width + x];
    return c;
}

CxColor CxImage::PixelColorAt(int64_t x, int64_t y, bool withAlpha) const
{
    if (!dib_)
        return {};
    if (!Contains(x, y))
        return info_.transparentIndex >= 0 ? TransparentColor() : PixelColorAtUnchecked(0, 0, withAlpha);
    return PixelColorAtUnchecked(x, y, withAlpha);
}

void CxImage::PutPixelIndexUnchecked(int64_t x, int64_t y, uint8_t index)
{
    uint8_t* row = info_.firstRow + y * info_.stride;
    switch (header_.bitCount) {
    case 8: row[x] = index; break;
    case 4:
        if (x & 1)
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
        else
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (index << 4));
        break;
    case 1: {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((index & 1) ? row[x >> 3] | mask : row[x >> 3] & ~mask);
        break;
    }
    default: break;
    }
}

void CxImage::PutPixelIndex(int64_t x, int64_t y, uint8_t index)
{
    if (dib_ && header_.colorsUsed && Contains(x, y))
        PutPixelIndexUnchecked(x, y, index);
}

void CxImage::PutPixelColorUnchecked(int64_t x, int64_t y, CxColor color, bool withAlpha)
{
    if (header_.colorsUsed) {
        PutPixelIndexUnchecked(x, y, NearestPaletteIndex(color));
    } else {
        uint8_t* p = info_.firstRow + y * info_.stride + x * 3;
        p[0] = color.blue;
        p[1] = color.green;
        p[2] = color.red;
    }
    if (withAlpha && alpha_)
        alpha_[y * header_.width + x] = color.reserved;
}

void CxImage::PutPixelColor(int64_t x, int64_t y, CxColor color, bool withAlpha)
{
    if (dib_ && Contains(x, y))
        PutPixelColorUnchecked(x, y, color, withAlpha);
}

bool CxImage::AlphaCreate()
{
    if (alpha_)
        return true;
    if (!dib_)
        return false;
    const size_t plane = size_t(header_.width) * size_t(header_.height);
    alpha_ = static_cast<uint8_t*>(std::malloc(plane));
    if (alpha_)
        std::memset(alpha_, 255, plane);
    return alpha_ != nullptr;
}

void CxImage::AlphaDelete()
{
    if (IsGhost())
        return;
    std::free(alpha_);
    alpha_ = nullptr;
}

void CxImage::AlphaSet(int64_t x, int64_t y, uint8_t value)
{
    if (alpha_ && Contains(x, y))
        alpha_[y * header_.width + x] = value;
}

uint8_t CxImage::AlphaGet(int64_t x, int64_t y) const
{
    return alpha_ && Contains(x, y) ? alpha_[y * header_.width + x] : 0;
}

void CxImage::CopyAlphaFrom(const CxImage& source)
{
    if (!source.alpha_ || source.GetWidth() != GetWidth() || source.GetHeight() != GetHeight() || !AlphaCreate())
        return;
    std::memcpy(alpha_, source.alpha_, size_t(header_.width) * size_t(header_.height));
    info_.alphaMax = source.info_.alphaMax;
}

void CxImage::CopySelectionFrom(const CxImage& source)
{
    if (!source.selection_ || source.GetWidth() != GetWidth() || source.GetHeight() != GetHeight() || !dib_)
        return;
    const size_t plane = size_t(header_.width) * size_t(header_.height);
    if (!selection_)
        selection_ = static_cast<uint8_t*>(std::malloc(plane));
    if (!selection_)
        return;
    std::memcpy(selection_, source.selection_, plane);
    info_.selectionLeft = source.info_.selectionLeft;
    info_.selectionTop = source.info_.selectionTop;
    info_.selectionRight = source.info_.selectionRight;
    info_.selectionBottom = source.info_.selectionBottom;
}

bool CxImage::HasAlphaInPalette() const
{
    const CxColor* palette = PaletteEntries();
    for (uint32_t i = 0; palette && i < header_.colorsUsed; i++)
        if (palette[i].reserved)
            return true;
    return false;
}

void CxImage::SwapRedBlue(uint8_t* buffer, int64_t length) const
{
    if (!buffer || header_.colorsUsed)
        return;
    if (length > info_.stride)
        length = info_.stride;
    if (length > int64_t(header_.width) * 3)
        length = int64_t(header_.width) * 3;
    for (int64_t i = 0; i + 2 < length; i += 3) {
        const uint8_t t = buffer[i];
        buffer[i] = buffer[i + 2];
        buffer[i + 2] = t;
    }
}

int cxBrightnessDifference(const void* a, const void* b)
{
    const auto* p = static_cast<const uint8_t*>(a);
    const auto* q = static_cast<const uint8_t*>(b);
    const int first = (p[2] * 306 + p[1] * 601 + p[0] * 117) >> 10;
    const int second = (q[2] * 306 + q[1] * 601 + q[0] * 117) >> 10;
    return first - second;
}
