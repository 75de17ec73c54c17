// WBMP: type 0, multi-byte width and height, 1-bit rows from the top.
#include "image/encoders.h"

namespace {

bool putMultiByte(CxFile* file, uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value);
    bool written = true;
    while (n-- > 0)
        written = file->PutC(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0))) && written;
    return written;
}

} // namespace

bool CxImageWBMP::Encode(CxFile* file)
{
    if (!CheckEncodeArguments(file))
        return false;
    if (GetBpp() != 1) {
        SetLastError("Can't save this image as WBMP");
        return false;
    }
    bool written = file->PutC(0) && file->PutC(0);
    written = putMultiByte(file, uint32_t(GetWidth())) && written;
    written = putMultiByte(file, uint32_t(GetHeight())) && written;
    const size_t rowBytes = (size_t(GetWidth()) + 7) / 8;
    for (int64_t y = GetHeight() - 1; written && y >= 0; y--)
        written = cxWriteAll(file, RowPointer(y), rowBytes);
    if (!written) {
        SetLastError("Write Error in WBMP file");
        return false;
    }
    return true;
}
