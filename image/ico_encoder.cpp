// Icons: a directory of one entry per image (the frames, or the image
// itself), then per image its header with the height doubled, palette,
// colour rows and the 1-bit transparency mask.
#include "image/encoders.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

struct IconLayout {
    const CxImage* image;
    uint32_t bits;      // 32 for a 24-bit image with alpha
    int64_t colorStride;
    int64_t maskStride;
    uint32_t dataSize;
};

IconLayout layoutOf(const CxImage& image)
{
    IconLayout l{&image, image.GetBpp(), 0, 0, 0};
    if (!image.HasPalette() && image.HasAlpha())
        l.bits = 32;
    l.colorStride = ((int64_t(image.GetWidth()) * l.bits + 31) / 32) * 4;
    l.maskStride = ((int64_t(image.GetWidth()) + 31) / 32) * 4;
    l.dataSize = uint32_t(kBitmapHeaderBytes + image.PaletteBytes() +
                          (l.colorStride + l.maskStride) * image.GetHeight());
    return l;
}

bool masked(const CxImage& image, int64_t x, int64_t y)
{
    if (image.HasAlpha() && image.AlphaGet(x, y) == 0)
        return true;
    if (image.HasPalette() && image.IsAlphaPaletteEnabled() &&
        image.PaletteColor(image.PixelIndexAtUnchecked(x, y)).reserved == 0)
        return true;
    // Only a set transparent index makes a colour transparent: black pixels of
    // an image without one stay.
    if (!image.IsTransparent())
        return false;
    const CxColor c = image.PixelColorAtUnchecked(x, y, false);
    const CxColor t = image.TransparentColor();
    return c.red == t.red && c.green == t.green && c.blue == t.blue;
}

bool writeIconImage(CxFile* file, const IconLayout& l)
{
    const CxImage& image = *l.image;
    CxBitmapHeader header = image.Header();
    header.size = kBitmapHeaderBytes;
    header.height = image.GetHeight() * 2;
    header.planes = 1;
    header.bitCount = uint16_t(l.bits);
    header.compression = 0;
    header.imageSize = uint32_t((l.colorStride + l.maskStride) * image.GetHeight());
    uint8_t headerBytes[kBitmapHeaderBytes];
    storeBitmapHeader(headerBytes, header);
    if (!cxWriteAll(file, headerBytes, sizeof headerBytes))
        return false;

    if (image.HasPalette()) {
        // The transparent entry goes out blank from a copy; the image's own
        // palette (shared with the caller) is never touched.
        CxColor palette[256];
        std::memcpy(palette, image.PaletteEntries(), image.PaletteBytes());
        if (image.IsTransparent() && uint32_t(image.GetTransparentIndex()) < image.GetColorsUsed())
            palette[image.GetTransparentIndex()] = CxColor{};
        if (!cxWriteAll(file, palette, image.PaletteBytes()))
            return false;
    }

    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[size_t(l.colorStride > l.maskStride ? l.colorStride
                                                                                                  : l.maskStride)]);
    if (!row)
        return false;
    for (int64_t y = 0; y < image.GetHeight(); y++) {
        if (l.bits == 32) {
            const uint8_t* in = image.RowPointer(y);
            for (int64_t x = 0; x < image.GetWidth(); x++) {
                std::memcpy(&row[x * 4], in + x * 3, 3);
                row[x * 4 + 3] = image.AlphaGet(x, y);
            }
            if (!cxWriteAll(file, row.get(), size_t(l.colorStride)))
                return false;
        } else if (!cxWriteAll(file, image.RowPointer(y), size_t(l.colorStride))) {
            return false;
        }
    }
    for (int64_t y = 0; y < image.GetHeight(); y++) {
        std::memset(row.get(), 0, size_t(l.maskStride));
        for (int64_t x = 0; x < image.GetWidth(); x++)
            if (masked(image, x, y))
                row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | (0x80 >> (x & 7)));
        if (!cxWriteAll(file, row.get(), size_t(l.maskStride)))
            return false;
    }
    return true;
}

} // namespace

bool CxImageICO::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    std::vector<IconLayout> images;
    const int32_t count = GetFrameCount() > 1 ? GetFrameCount() : 1;
    for (int32_t i = 0; i < count; i++) {
        const CxImage* image = count > 1 ? GetFrame(i) : this;
        if (!image || !image->HasPixels() || image->GetWidth() > 255 || image->GetHeight() > 255) {
            SetLastError("Can't save this image as icon");
            return false;
        }
        images.push_back(layoutOf(*image));
    }

    uint8_t directory[6] = {0, 0, 1, 0};
    storeLe16(directory + 4, uint32_t(count));
    bool written = cxWriteAll(file, directory, sizeof directory);
    uint32_t offset = uint32_t(6 + 16 * count);
    for (const IconLayout& l : images) {
        uint8_t entry[16] = {static_cast<uint8_t>(l.image->GetWidth()), static_cast<uint8_t>(l.image->GetHeight()),
                             static_cast<uint8_t>(l.image->GetColorsUsed() < 256 ? l.image->GetColorsUsed() : 0), 0};
        storeLe16(entry + 4, 1);
        storeLe16(entry + 6, l.bits);
        storeLe32(entry + 8, l.dataSize);
        storeLe32(entry + 12, offset);
        offset += l.dataSize;
        written = written && cxWriteAll(file, entry, sizeof entry);
    }
    for (const IconLayout& l : images)
        written = written && writeIconImage(file, l);
    if (!written) {
        SetLastError("Write Error in icon file");
        return false;
    }
    return true;
}
