// BMP: the DIB block as it stands, or 32 bits per pixel for a 24-bit image
// with an alpha plane.
#include "image/encoders.h"

#include <memory>
#include <new>

bool CxImageBMP::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    const int64_t width = GetWidth(), height = GetHeight();
    uint8_t fileHeader[14] = {'B', 'M'};
    storeLe32(fileHeader + 10, uint32_t(14 + kBitmapHeaderBytes + PaletteBytes()));

    bool written;
    if (HasPalette() || !HasAlpha()) {
        storeLe32(fileHeader + 2, uint32_t(DibSize() + 14));
        StoreHeaderInBlock();
        written = cxWriteAll(file, fileHeader, 14) && cxWriteAll(file, DibBlock(), size_t(DibSize()));
    } else {
        CxBitmapHeader header = header_;
        header.bitCount = 32;
        header.compression = 0;
        header.imageSize = uint32_t(((width * 32 + 31) / 32) * height * 4);
        storeLe32(fileHeader + 2, header.imageSize + uint32_t(kBitmapHeaderBytes) + 14);
        uint8_t infoHeader[kBitmapHeaderBytes];
        storeBitmapHeader(infoHeader, header);
        std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[size_t(width) * 4]);
        if (!row) {
            SetLastError("CxImage::Create can't allocate memory");
            return false;
        }
        written = cxWriteAll(file, fileHeader, 14) && cxWriteAll(file, infoHeader, kBitmapHeaderBytes);
        for (int64_t y = 0; written && y < height; y++) {
            const uint8_t* in = RowPointer(y);
            for (int64_t x = 0; x < width; x++) {
                row[x * 4] = in[x * 3];
                row[x * 4 + 1] = in[x * 3 + 1];
                row[x * 4 + 2] = in[x * 3 + 2];
                row[x * 4 + 3] = AlphaGet(x, y);
            }
            written = cxWriteAll(file, row.get(), size_t(width) * 4);
        }
    }
    if (!written) {
        SetLastError("Write Error in BMP file");
        return false;
    }
    return true;
}
