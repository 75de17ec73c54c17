// PCX version 5: run-length coded planes, rows from the top; 8-bit images
// carry their 256-colour palette at the end.
#include "image/cx_mem_file.h"
#include "image/encoders.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// Runs of up to 63 equal bytes; a run, or a byte that looks like a run count,
// goes out as (0xC0 | length) and the byte.
void runCode(CxMemFile& out, const uint8_t* line, int64_t length)
{
    for (int64_t i = 0; i < length;) {
        int64_t run = 1;
        while (i + run < length && run < 63 && line[i + run] == line[i])
            run++;
        if (run > 1 || line[i] >= 0xC0)
            out.PutC(static_cast<uint8_t>(0xC0 | run));
        out.PutC(line[i]);
        i += run;
    }
}

} // namespace

bool CxImagePCX::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    const int64_t width = GetWidth(), height = GetHeight();
    const int bpp = GetBpp();
    const bool alpha = bpp == 24 && HasAlpha();
    const int bitsPerPlane = bpp >= 8 ? 8 : 1;
    const int planes = bpp == 24 ? (alpha ? 4 : 3) : bpp == 4 ? 4 : 1;
    int64_t bytesPerLine = bitsPerPlane == 8 ? width : (width + 7) / 8;
    bytesPerLine += bytesPerLine & 1;

    uint8_t header[128] = {10, 5, 1, static_cast<uint8_t>(bitsPerPlane)};
    storeLe16(header + 8, uint32_t(width - 1));
    storeLe16(header + 10, uint32_t(height - 1));
    storeLe16(header + 12, uint32_t(GetXDpi()));
    storeLe16(header + 14, uint32_t(GetYDpi()));
    if (bpp == 4) {
        for (int i = 0; i < 16; i++) {
            const CxColor c = PaletteColor(static_cast<uint8_t>(i));
            header[16 + i * 3] = c.red;
            header[17 + i * 3] = c.green;
            header[18 + i * 3] = c.blue;
        }
    } else if (bpp == 1) {
        std::memset(header + 19, 255, 3);
    }
    header[65] = static_cast<uint8_t>(planes);
    storeLe16(header + 66, uint32_t(bytesPerLine));
    storeLe16(header + 68, 1);
    if (!cxWriteAll(file, header, sizeof header)) {
        SetLastError("cannot write PCX header");
        return false;
    }

    // 0 must be the dark colour of a 1-bit picture.
    const CxColor first = PaletteColor(0), second = PaletteColor(1);
    const bool invert = bpp == 1 && cxBrightnessDifference(&first, &second) > 0;
    CxMemFile data;
    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[size_t(bytesPerLine)]);
    if (!data.Open() || !line) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    for (int64_t y = height - 1; y >= 0; y--) {
        const uint8_t* row = RowPointer(y);
        for (int plane = 0; plane < planes; plane++) {
            std::memset(line.get(), 0, size_t(bytesPerLine));
            for (int64_t x = 0; x < width; x++) {
                if (bpp == 8) {
                    line[x] = row[x];
                } else if (bpp == 24) {
                    line[x] = plane == 3 ? AlphaGet(x, y) : row[x * 3 + 2 - plane];
                } else {
                    const bool bit = ((PixelIndexAtUnchecked(x, y) >> plane) & 1) != invert;
                    if (bit)
                        line[x >> 3] = static_cast<uint8_t>(line[x >> 3] | (0x80 >> (x & 7)));
                }
            }
            runCode(data, line.get(), bytesPerLine);
        }
    }
    if (bpp == 8) {
        data.PutC(12);
        for (int i = 0; i < 256; i++) {
            const CxColor c = PaletteColor(static_cast<uint8_t>(i));
            data.PutC(c.red);
            data.PutC(c.green);
            data.PutC(c.blue);
        }
    }
    if (data.Size() < 0 || !cxWriteAll(file, data.GetBuffer(false), size_t(data.Size()))) {
        SetLastError("cannot write PCX data");
        return false;
    }
    return true;
}
